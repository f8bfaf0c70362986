// Description files as they may arrive from a broken disk or a hostile
// server, read through the platform's profile functions: every read ends,
// gives a bounded value or the caller's default, and a write still works.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "shared/win/Encoding.h"
#include "shared/win/WinProfile.h"
#include "tests/support/TestFiles.h"

namespace vt::win {
namespace {

using vt::test::ScratchDir;

// Every key either program reads from a description.
const char* const kMainKeys[] = {"IniUrl", "LocalMode", "Day", "Updated", "Total", "ServerMode", "MainExe", "MainUrl"};
const char* const kFileKeys[] = {"Title", "version", "uri", "filename", "needclose"};

class WinProfileBadInput : public ::testing::Test {
protected:
    // A new name each time: the platform caches files by name.
    std::string Fresh(const std::string& bytes) {
        const std::wstring path = m_dir / (L"u" + std::to_wstring(++m_files) + L".ini");
        ScratchDir::Put(path, bytes);
        return ToUtf8(path);
    }

    // Reads what the programs read; every string must fit the readers' buffers.
    static void ReadEverything(const WinProfile& ini) {
        for (const char* key : kMainKeys) {
            const std::string text = ini.GetString("Main", key, "");
            EXPECT_LE(text.size(), 1023u) << key;
            EXPECT_EQ(text.find('\0'), std::string::npos) << key;
            ini.GetInt("Main", key, 0);
        }
        for (int i = 0; i < 4; ++i) {
            const std::string section = "File" + std::to_string(i);
            for (const char* key : kFileKeys) {
                const std::string text = ini.GetString(section, key, "");
                EXPECT_LE(text.size(), 1023u) << section << "/" << key;
                EXPECT_EQ(text.find('\0'), std::string::npos) << section << "/" << key;
            }
        }
    }

    ScratchDir m_dir{L"bad-input"};
    int m_files = 0;
};

TEST_F(WinProfileBadInput, RandomBytesReadAsSomethingBoundedAndStayWritable) {
    std::mt19937 random(4711);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(random() % 3000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        // Some with the marks that switch the platform to another encoding.
        if (round % 4 == 1) bytes.insert(0, "\xFF\xFE");
        if (round % 4 == 2) bytes.insert(0, "\xEF\xBB\xBF");
        if (round % 4 == 3) bytes.insert(0, "\xFE\xFF");
        WinProfile ini(Fresh(bytes));
        ReadEverything(ini);
        ASSERT_TRUE(ini.WriteString("Main", "LocalMode", "1")) << round;
        EXPECT_EQ(ini.GetString("Main", "LocalMode", ""), "1") << round;
        EXPECT_EQ(ini.GetInt("Main", "LocalMode", 7), 1) << round;
    }
}

TEST_F(WinProfileBadInput, FileOfSeveralMegabytesIsReadAndWritten) {
    std::string big;
    for (int i = 0; i < 20000; ++i) big += "[File" + std::to_string(i) + "]\r\nTitle=t" + std::to_string(i) + "\r\n";
    big += "[Main]\r\nIniUrl=" + std::string(3 << 20, 'x') + "\r\nTotal=2147483647\r\n";
    WinProfile ini(Fresh(big));
    ReadEverything(ini);
    EXPECT_EQ(ini.GetString("Main", "IniUrl", ""), std::string(1023, 'x'));
    EXPECT_EQ(ini.GetInt("Main", "Total", 0), INT_MAX);
    EXPECT_EQ(ini.GetString("File19999", "Title", ""), "t19999");
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "0"));
    EXPECT_EQ(ini.GetInt("Main", "Updated", 1), 0);
    EXPECT_EQ(ini.GetInt("Main", "Total", 0), INT_MAX);
}

TEST_F(WinProfileBadInput, NumbersOutOfRangeOrNotNumbersAtAll) {
    const struct {
        const char* value;
        int expected;
    } cases[] = {
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-5", -5},
        {"  -0012 days", -12},
        {"abc", 0},
        {"-", 0},
        {"=1", 0},
        {"\xD6\xD0"
         "3",
         0},
        // No overflow check: the digits wrap around 2^32.
        {"4294967298", 2},
        {"2147483648", INT_MIN},
    };
    for (const auto& c : cases) {
        WinProfile ini(Fresh(std::string("[Main]\r\nTotal=") + c.value + "\r\n"));
        EXPECT_EQ(ini.GetInt("Main", "Total", 99), c.expected) << c.value;
    }
    // Only a missing or empty value gives the default.
    EXPECT_EQ(WinProfile(Fresh("[Main]\r\nTotal=\r\n")).GetInt("Main", "Total", 99), 99);
    EXPECT_EQ(WinProfile(Fresh("[Main]\r\nTotal\r\n")).GetInt("Main", "Total", 99), 99);
    EXPECT_EQ(WinProfile(Fresh("[Main]\r\n")).GetInt("Main", "Total", 99), 99);
}

TEST_F(WinProfileBadInput, UnreadablePlacesGiveDefaultsAndRefuseWrites) {
    const std::wstring folder = m_dir / L"update.ini";
    CreateDirectoryW(folder.c_str(), nullptr);
    WinProfile directory(ToUtf8(folder));
    EXPECT_EQ(directory.GetString("Main", "IniUrl", "def"), "def");
    EXPECT_EQ(directory.GetInt("Main", "Day", 1), 1);
    EXPECT_FALSE(directory.WriteString("Main", "LocalMode", "1"));

    WinProfile nowhere(m_dir.Utf8() + "no\\such\\dir\\update.ini");
    EXPECT_EQ(nowhere.GetInt("Main", "Updated", 1), 1);
    EXPECT_FALSE(nowhere.WriteString("Main", "Updated", "0"));
}

TEST_F(WinProfileBadInput, WritesThatWouldBreakOtherLinesAreRefused) {
    const std::string path = Fresh("[Main]\r\nDay=4\r\n");
    WinProfile ini(path);
    EXPECT_FALSE(ini.WriteString("Main", "Updated", "1\r\n[Main]\r\nDay=9"));
    EXPECT_FALSE(ini.WriteString("Main", "Day=9", "1"));
    EXPECT_FALSE(ini.WriteString("Ma\nin", "Day", "1"));
    EXPECT_FALSE(ini.WriteString("", "Day", "1"));
    EXPECT_FALSE(ini.WriteString("Main", "Title", "ends in a lead byte \xD6"));
    EXPECT_EQ(ini.GetInt("Main", "Day", 0), 4);
    EXPECT_EQ(ini.GetString("Main", "Updated", "none"), "none");
    EXPECT_EQ(ScratchDir::Contents(FromUtf8(path)), "[Main]\r\nDay=4\r\n");
}

}  // namespace
}  // namespace vt::win
