#include "shared/core/IniProfile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

namespace vt {
namespace {

namespace fs = std::filesystem;

class IniProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vt-ini-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_path = (m_dir / "update.ini").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void Put(const std::string& bytes) {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    std::string Contents() const {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Get(const std::string& section, const std::string& key,
                    const std::string& def = "<def>") const {
        return IniProfile(m_path).GetString(section, key, def);
    }
    int Int(const std::string& value) {
        Put("[Main]\r\nn=" + value + "\r\n");
        return IniProfile(m_path).GetInt("Main", "n", -99);
    }

    fs::path m_dir;
    std::string m_path;
};

TEST_F(IniProfileTest, MissingFileSectionOrKeyReadsTheDefault) {
    IniProfile ini(m_path);
    EXPECT_EQ(ini.GetString("Main", "Day", "x"), "x");
    EXPECT_EQ(ini.GetInt("Main", "Day", 7), 7);
    Put("[Main]\r\nDay=3\r\n");
    EXPECT_EQ(ini.GetString("Other", "Day", "x"), "x");
    EXPECT_EQ(ini.GetInt("Main", "Total", 0), 0);
    EXPECT_EQ(ini.GetInt("Main", "Day", 1), 3);
}

TEST_F(IniProfileTest, BlanksCaseAndQuotes) {
    Put("  [ main ]  \r\n"
        "\t Day \t=\t 12 \t\r\n"
        "Title = \"  quoted  \"\r\n"
        "Single='x'\r\n"
        "Mixed=\"x'\r\n"
        "Lone=\"\r\n"
        "Twice=\"\"x\"\"\r\n"
        "Empty=\"\"\r\n");
    EXPECT_EQ(Get("MAIN", "dAY"), "12");
    EXPECT_EQ(Get("  Main ", " Day "), "12");
    EXPECT_EQ(Get("Main", "Title"), "  quoted  ");
    EXPECT_EQ(Get("Main", "Single"), "x");
    EXPECT_EQ(Get("Main", "Mixed"), "\"x'");
    EXPECT_EQ(Get("Main", "Lone"), "\"");
    EXPECT_EQ(Get("Main", "Twice"), "\"x\"");
    EXPECT_EQ(Get("Main", "Empty"), "");
    EXPECT_EQ(IniProfile(m_path).GetInt("Main", "Empty", 5), 5);
}

TEST_F(IniProfileTest, EveryKindOfLineBreakEndsALine) {
    Put("[Main]\rA=1\rB=2\n\nC=3\r\n\r\nD=4\n\r[X]\rE=5");
    EXPECT_EQ(Get("Main", "A"), "1");
    EXPECT_EQ(Get("Main", "B"), "2");
    EXPECT_EQ(Get("Main", "C"), "3");
    EXPECT_EQ(Get("Main", "D"), "4");
    EXPECT_EQ(Get("X", "E"), "5");
    EXPECT_EQ(Get("Main", "E"), "<def>");
}

TEST_F(IniProfileTest, FirstKeyAndFirstSectionWin) {
    Put("[Main]\r\nDay=1\r\nday=2\r\nOnly=a\r\n[Other]\r\nk=o\r\n[MAIN]\r\nDay=3\r\nLater=b\r\n");
    EXPECT_EQ(Get("Main", "Day"), "1");
    EXPECT_EQ(Get("Main", "Only"), "a");
    EXPECT_EQ(Get("Main", "Later"), "<def>");  // the second [Main] is never read
}

TEST_F(IniProfileTest, CommentsHeadersAndLinesWithoutEquals) {
    Put("Top=t\r\n"
        "[Main]\r\n"
        ";Day=5\r\n"
        "Bare\r\n"
        "Bare=shadowed\r\n"
        "=nameless\r\n"
        "[Broken\r\n"
        "After=a\r\n"
        "[Next] trailing ] text\r\n"
        "k=v\r\n");
    EXPECT_EQ(Get("Main", "Day"), "<def>");
    EXPECT_EQ(Get("Main", ";Day"), "5");
    // A line without '=' is a key without value: it reads as the default and,
    // coming first, hides the later line of the same key.
    EXPECT_EQ(Get("Main", "Bare"), "<def>");
    EXPECT_EQ(Get("Main", "After"), "a");  // "[Broken" is no header
    EXPECT_EQ(Get("Next] trailing", "k"), "v");
    EXPECT_EQ(Get("", "Top"), "t");        // lines before any header
}

TEST_F(IniProfileTest, StringsStopAt1023BytesAndAtNul) {
    const std::string longValue(1500, 'v');
    Put("[Main]\r\nLong=" + longValue + "\r\n");
    EXPECT_EQ(Get("Main", "Long"), std::string(1023, 'v'));

    // Code page 936 pairs are never split: 1022 bytes of 'a' and one pair.
    Put("[Main]\r\nPair=" + std::string(1022, 'a') + "\xD6\xD0" + "\r\n");
    EXPECT_EQ(Get("Main", "Pair"), std::string(1022, 'a'));

    const char withNul[] = "[Main]\r\nNul=ab\0cd\r\nKey\0junk=1\r\n";
    Put(std::string(withNul, sizeof withNul - 1));
    EXPECT_EQ(Get("Main", "Nul"), "ab");
    EXPECT_EQ(Get("Main", "Key"), "1");
}

TEST_F(IniProfileTest, ChineseTextStaysByteForByte) {
    const std::string title = "\xB9\xD8\xBB\xFA\xB9\xDC\xC0\xED\xC6\xF7";  // 关机管理器
    // 0x5D (']') and 0x41/0x61 as second bytes belong to their characters:
    // "[Sec\x81]" is no header, and "\x81A" is not "\x81a" in another case.
    Put("[Main]\r\n[Sec\x81]\r\nTitle=" + title + "\r\n[\x81" "A]\r\nk=upper\r\n");
    EXPECT_EQ(Get("Main", "Title"), title);
    EXPECT_EQ(Get("Sec\x81", "Title"), "<def>");
    EXPECT_EQ(Get("\x81" "a", "k"), "<def>");
    EXPECT_EQ(Get("\x81" "A", "k"), "upper");
}

TEST_F(IniProfileTest, Utf8SignatureBeforeTheFirstHeaderIsSkipped) {
    Put("\xEF\xBB\xBF[Main]\r\nDay=4\r\n");
    EXPECT_EQ(IniProfile(m_path).GetInt("Main", "Day", 1), 4);
}

TEST_F(IniProfileTest, IntegersReadLikeThePlatform) {
    EXPECT_EQ(Int("5"), 5);
    EXPECT_EQ(Int("-7"), -7);
    EXPECT_EQ(Int("+3"), 3);
    EXPECT_EQ(Int("12abc"), 12);
    EXPECT_EQ(Int("1e1"), 1);
    EXPECT_EQ(Int("1.9"), 1);
    EXPECT_EQ(Int("abc"), 0);
    EXPECT_EQ(Int("-"), 0);
    EXPECT_EQ(Int("010"), 10);
    EXPECT_EQ(Int("0x1F"), 31);
    EXPECT_EQ(Int("0b101"), 5);
    EXPECT_EQ(Int("0X10"), 0);
    EXPECT_EQ(Int("\"42\""), 42);
    EXPECT_EQ(Int("\" 8\""), 8);
    EXPECT_EQ(Int(""), -99);
    EXPECT_EQ(Int("2147483647"), INT_MAX);
    EXPECT_EQ(Int("-2147483648"), INT_MIN);
    // No overflow check: the low 32 bits, as Windows returns them.
    EXPECT_EQ(Int("2147483648"), INT_MIN);
    EXPECT_EQ(Int("4294967297"), 1);
    // Only the first 29 characters are looked at.
    EXPECT_EQ(Int(std::string(29, '0') + "7"), 0);
}

TEST_F(IniProfileTest, WriteCreatesTheFileWithCrLf) {
    IniProfile ini(m_path);
    EXPECT_TRUE(ini.WriteString("Main", "LocalMode", "1"));
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "0"));
    EXPECT_TRUE(ini.WriteString("File0", "version", "1.2"));
    EXPECT_EQ(Contents(), "[Main]\r\nLocalMode=1\r\nUpdated=0\r\n[File0]\r\nversion=1.2\r\n");
}

TEST_F(IniProfileTest, WriteTouchesOnlyItsKey) {
    Put("; comment\n[ main ]\n  day = 5  \nBare\n\n\n[Other]\nUpdated=9\n[Main]\nUpdated=8");
    IniProfile ini(m_path);
    EXPECT_TRUE(ini.WriteString("Main", "Day", "12"));
    EXPECT_TRUE(ini.WriteString("Main", "bare", "x"));
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "1"));
    EXPECT_TRUE(ini.WriteString("Other", "Added", "a"));
    EXPECT_EQ(Contents(),
              "; comment\n[ main ]\n  day = 12  \nBare=x\nUpdated=1\r\n\n\n"
              "[Other]\nUpdated=9\nAdded=a\r\n[Main]\nUpdated=8");
    EXPECT_EQ(ini.GetString("Main", "Updated", ""), "1");
}

TEST_F(IniProfileTest, NewSectionGoesToTheEndOnItsOwnLine) {
    Put("[Main]\r\nDay=1");
    IniProfile ini(m_path);
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "0"));
    EXPECT_TRUE(ini.WriteString("File3", "Title", " Tool "));
    EXPECT_EQ(Contents(), "[Main]\r\nDay=1\r\nUpdated=0\r\n[File3]\r\nTitle=Tool \r\n");

    Put("[Main]\r\nDay=1 ");
    EXPECT_TRUE(ini.WriteString("File0", "uri", "/a"));
    EXPECT_EQ(Contents(), "[Main]\r\nDay=1 \r\n[File0]\r\nuri=/a\r\n");
}

TEST_F(IniProfileTest, UnchangedValueAndRefusedTextLeaveTheFileAlone) {
    const std::string original = "[Main]\nUpdated = 1 \n";
    Put(original);
    IniProfile ini(m_path);
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "1"));
    EXPECT_FALSE(ini.WriteString("Main", "Updated", "1\r\n[Evil]"));
    EXPECT_FALSE(ini.WriteString("Main", "A=B", "1"));
    EXPECT_FALSE(ini.WriteString("Main\n", "k", "1"));
    EXPECT_FALSE(ini.WriteString("", "k", "1"));
    EXPECT_FALSE(ini.WriteString("Main", " ", "1"));
    EXPECT_FALSE(ini.WriteString("Main", "k", "ends in a lead byte \x81"));
    EXPECT_EQ(Contents(), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(IniProfileTest, WriteIntoAMissingDirectoryFails) {
    IniProfile ini((m_dir / "absent" / "update.ini").string());
    EXPECT_FALSE(ini.WriteString("Main", "LocalMode", "1"));
    EXPECT_EQ(ini.GetInt("Main", "LocalMode", 3), 3);
}

TEST_F(IniProfileTest, RandomBytesNeverBreakReadsAndWritesReadBack) {
    std::mt19937 random(20240501);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 2000, '\0');
        const char alphabet[] = "[]=;\"' \t\r\nMainDay1\x81\xFE\xD6\xD0";
        for (char& c : bytes)
            c = random() % 4 ? alphabet[random() % (sizeof alphabet - 1)] : static_cast<char>(random());
        Put(bytes);
        IniProfile ini(m_path);
        ini.GetString("Main", "Day", "");
        ini.GetInt("Main", "Day", 1);
        ASSERT_TRUE(ini.WriteString("Main", "Day", "17")) << round;
        ASSERT_EQ(ini.GetInt("Main", "Day", 1), 17) << round;
        ASSERT_TRUE(ini.WriteString("Fresh", "Key", "v")) << round;
        ASSERT_EQ(ini.GetString("Fresh", "Key", ""), "v") << round;
        ASSERT_EQ(ini.GetInt("Main", "Day", 1), 17) << round;
    }
}

TEST_F(IniProfileTest, HugeFilesAndLinesAreReadAndWritten) {
    std::string big;
    for (int i = 0; i < 200000; ++i) big += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    big += "[Main]\nLong=" + std::string(8 << 20, 'x') + "\nTotal=2147483647\n";
    Put(big);
    IniProfile ini(m_path);
    EXPECT_EQ(ini.GetInt("Main", "Total", 0), INT_MAX);
    EXPECT_EQ(ini.GetString("S199999", "k", ""), "199999");
    EXPECT_EQ(ini.GetString("Main", "Long", "").size(), 1023u);
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "0"));
    EXPECT_EQ(ini.GetInt("Main", "Updated", 1), 0);
    EXPECT_EQ(Contents(), big + "Updated=0\r\n");
}

}  // namespace
}  // namespace vt
