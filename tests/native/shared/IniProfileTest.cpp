#include "shared/core/IniProfile.h"

#include <climits>
#include <random>

#include "tests/support/TempDir.h"

namespace vt {
namespace {

class IniProfileTest : public TempDirTest {
protected:
    std::string Path() const { return m_dir + "update.ini"; }
    std::string Get(const std::string& section, const std::string& key) const {
        return IniProfile(Path()).GetString(section, key, "<def>");
    }
};

TEST_F(IniProfileTest, ReadsWithThePlatformRules) {
    const char raw[] =
        "\xEF\xBB\xBFTop=t\r\n"
        "  [ main ]  \r\n\t Day \t=\t 12 \t\r\n"
        "Q1 = \"  quoted  \"\rQ2='x'\nQ3=\"x'\n\nQ4=\"\nQ5=\"\"x\"\"\r\n"
        ";Cmt=5\r\nBare\r\nBare=hidden\r\nDay=second\r\nNul=ab\0cd\r\nKey\0junk=1\r\n"
        "[Broken\r\nAfter=a\r\n"
        "[Sec\x81]\r\nGbk=\xB9\xD8\xBB\xFA\r\n"  // "\x81]" is one character: no header
        "[Next] tail ] text\rk=v\r"
        "[MAIN]\r\nLater=b\r\n"
        "[\x81"
        "A]\r\nk=upper\r\n";
    Put(Path(), std::string(raw, sizeof raw - 1));
    const struct {
        const char *section, *key, *value;
    } cases[] = {
        {"", "Top", "t"},
        {"MAIN", "dAY", "12"},
        {" Main ", " Day ", "12"},
        {"Main", "Q1", "  quoted  "},
        {"Main", "Q2", "x"},
        {"Main", "Q3", "\"x'"},
        {"Main", "Q4", "\""},
        {"Main", "Q5", "\"x\""},
        {"Main", "Cmt", "<def>"},
        {"Main", ";Cmt", "5"},
        {"Main", "Bare", "<def>"},
        {"Main", "Nul", "ab"},
        {"Main", "Key", "1"},
        {"Main", "After", "a"},
        {"Main", "Gbk", "\xB9\xD8\xBB\xFA"},
        {"Sec\x81", "Gbk", "<def>"},
        {"Next] tail", "k", "v"},
        {"Main", "Later", "<def>"},
        {"\x81"
         "a",
         "k", "<def>"},
        {"\x81"
         "A",
         "k", "upper"},
        {"Other", "Day", "<def>"},
    };
    for (const auto& c : cases) EXPECT_EQ(Get(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(IniProfile(m_dir + "absent.ini").GetString("Main", "Day", "x"), "x");
}

TEST_F(IniProfileTest, BytesInMemoryReadAsTheSameBytesInAFile) {
    const char raw[] = "\xEF\xBB\xBF[Main]\r\nDay = 12 \r\nQ=\"q\"\r\nBad=a\x81\x7f\r\nN=0x10\r\n[File0]\r\nv=1.2";
    const std::string bytes(raw, sizeof raw - 1);
    Put(Path(), bytes);
    const IniProfile file(Path());
    MemoryProfile memory(bytes);
    for (const char* key : {"Day", "Q", "Bad", "N", "none"})
        EXPECT_EQ(memory.GetString("Main", key, "<def>"), file.GetString("Main", key, "<def>")) << key;
    EXPECT_EQ(memory.GetInt("Main", "N", -1), 16);
    EXPECT_EQ(memory.GetInt("Main", "none", -1), -1);
    EXPECT_EQ(memory.GetString("file0", "V", ""), "1.2");
    EXPECT_EQ(MemoryProfile("").GetString("Main", "Day", "d "), file.GetString("Other", "Day", "d "));
    // Read only: a write fails and the bytes stay.
    EXPECT_FALSE(memory.WriteString("Main", "Day", "5"));
    EXPECT_EQ(memory.Bytes(), bytes);
}

TEST_F(IniProfileTest, BrokenDoubleByteCharactersReadAsOneQuestionMark) {
    const char raw[] =
        "[Main]\r\nQ=a\x81\x7f"
        "b\r\nCr=a\x81\r\nDay=4\r\nK\x81\x7f=k\r\nNul=a\x81\0b\r\nEnd=\xD6";
    const std::string original(raw, sizeof raw - 1);
    Put(Path(), original);
    EXPECT_EQ(Get("Main", "Q"), "a?b");
    EXPECT_EQ(Get("Main", "Cr"), "a?");  // the CR went with the lead byte
    EXPECT_EQ(Get("Main", "Day"), "4");
    EXPECT_EQ(Get("Main", "K?"), "k");
    EXPECT_EQ(Get("Main", "K\x81\x01"), "k");
    EXPECT_EQ(Get("Main", "Nul"), "a?");
    EXPECT_EQ(Get("Main", "End"), "?");
    EXPECT_EQ(IniProfile(Path()).GetString("Main", "none", "d\x81\x7f"), "d?");
    // Found as the platform finds it; every other byte stays.
    IniProfile ini(Path());
    EXPECT_TRUE(ini.WriteString("Main", "K?", "2"));
    EXPECT_TRUE(ini.WriteString("Main", "Day", "5"));
    std::string expected = original;
    expected.replace(expected.find("=k"), 2, "=2");
    expected.replace(expected.find("Day=4"), 5, "Day=5");
    EXPECT_EQ(Contents(Path()), expected);
}

TEST_F(IniProfileTest, StringsStopAt1023BytesWithoutSplittingACharacter) {
    Put(Path(), "[Main]\r\nLong=" + std::string(1500, 'v') + "\r\nPair=" + std::string(1022, 'a') + "\xD6\xD0\r\n");
    EXPECT_EQ(Get("Main", "Long"), std::string(1023, 'v'));
    EXPECT_EQ(Get("Main", "Pair"), std::string(1022, 'a'));
}

TEST_F(IniProfileTest, IntegersReadLikeThePlatform) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"5", 5},
        {"-7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"1e1", 1},
        {"abc", 0},
        {"-", 0},
        {"010", 10},
        {"0x1F", 31},
        {"0b101", 5},
        {"0X10", 0},
        {"\" 8\"", 8},
        {"", -99},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        // No overflow check, only the first 29 characters: as Windows does.
        {"2147483648", INT_MIN},
        {"4294967297", 1},
        {"000000000000000000000000000007", 0},
    };
    for (const auto& c : cases) {
        Put(Path(), std::string("[Main]\r\nn=") + c.text + "\r\n");
        EXPECT_EQ(IniProfile(Path()).GetInt("Main", "n", -99), c.value) << c.text;
    }
    EXPECT_EQ(IniProfile(Path()).GetInt("Main", "missing", 4), 4);
}

TEST_F(IniProfileTest, WritesTouchOneKeyAndKeepEveryOtherByte) {
    IniProfile ini(Path());
    EXPECT_TRUE(ini.WriteString("Main", "LocalMode", "1"));
    EXPECT_TRUE(ini.WriteString("File0", "version", "1.2"));
    EXPECT_EQ(Contents(Path()), "[Main]\r\nLocalMode=1\r\n[File0]\r\nversion=1.2\r\n");

    Put(Path(), "; c\n[ main ]\n  day = 5  \nBare\n\n\n[Other]\nU=9\n[Main]\nUpdated=8");
    EXPECT_TRUE(ini.WriteString("Main", "Day", "12"));
    EXPECT_TRUE(ini.WriteString("Main", "bare", "x"));
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "1"));  // the second [Main] is never used
    EXPECT_TRUE(ini.WriteString("Other", "Added", "a"));
    EXPECT_TRUE(ini.WriteString("New", "k", " v "));
    EXPECT_EQ(Contents(Path()),
              "; c\n[ main ]\n  day = 12  \nBare=x\nUpdated=1\r\n\n\n"
              "[Other]\nU=9\nAdded=a\r\n[Main]\nUpdated=8\r\n[New]\r\nk=v \r\n");
}

// A value that ends in blanks replaces the old value with its trailing
// blanks, as the platform writes it: writing it again and again keeps the
// file as it is instead of adding a byte each time.
TEST_F(IniProfileTest, ValuesEndingInBlanksReplaceTheOldTrailingBlanks) {
    Put(Path(), "[Main]\r\nQ=a \r\nDay = 5 \t \r\nBare  \r\nEnd=1\r\n");
    IniProfile ini(Path());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(ini.WriteString("Main", "Q", "a "));
        EXPECT_TRUE(ini.WriteString("Main", "Day", "7\t"));
        EXPECT_TRUE(ini.WriteString("Main", "Bare", "x "));
        EXPECT_EQ(Contents(Path()), "[Main]\r\nQ=a \r\nDay = 7\t\r\nBare=x \r\nEnd=1\r\n") << i;
    }
    EXPECT_TRUE(ini.WriteString("Main", "Q", "  b  "));  // leading blanks never stay
    EXPECT_TRUE(ini.WriteString("Main", "End", " "));
    EXPECT_EQ(Contents(Path()), "[Main]\r\nQ=b  \r\nDay = 7\t\r\nBare=x \r\nEnd=\r\n");
    EXPECT_EQ(Get("Main", "Q"), "b");
    EXPECT_EQ(Get("Main", "End"), "");
    // A value of a broken double-byte character before the blanks.
    Put(Path(), "[Main]\r\nK=\x81\x7f   \r\n");
    EXPECT_TRUE(ini.WriteString("Main", "K", "v "));
    EXPECT_EQ(Contents(Path()), "[Main]\r\nK=v \r\n");
}

TEST_F(IniProfileTest, RefusedOrFailedWritesLeaveTheFileAlone) {
    const std::string original = "[Main]\nUpdated = 1 \n";
    Put(Path(), original);
    IniProfile ini(Path());
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "1"));
    EXPECT_FALSE(ini.WriteString("Main", "Updated", "1\r\n[Evil]"));
    EXPECT_FALSE(ini.WriteString("Main", "A=B", "1"));
    EXPECT_FALSE(ini.WriteString("", "k", "1"));
    EXPECT_FALSE(ini.WriteString("Main", "k", "lead byte at the end \x81"));
    EXPECT_EQ(Contents(Path()), original);
    EXPECT_FALSE(IniProfile(m_dir + "absent/update.ini").WriteString("Main", "k", "1"));
}

TEST_F(IniProfileTest, RandomBytesHugeFilesAndLongLines) {
    std::mt19937 random(20240501);
    const char alphabet[] = "[]=;\"' \t\r\nMainDay1\x81\xFE\xD6\xD0";
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 2000, '\0');
        for (char& c : bytes)
            c = random() % 4 ? alphabet[random() % (sizeof alphabet - 1)] : static_cast<char>(random());
        Put(Path(), bytes);
        IniProfile ini(Path());
        ini.GetString("Main", "Day", "");
        ASSERT_TRUE(ini.WriteString("Main", "Day", "17") && ini.WriteString("Fresh", "Key", "v"));
        ASSERT_EQ(ini.GetInt("Main", "Day", 1), 17) << round;
        ASSERT_EQ(ini.GetString("Fresh", "Key", ""), "v") << round;
    }
    std::string big;
    for (int i = 0; i < 200000; ++i) big += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    big += "[Main]\nLong=" + std::string(8 << 20, 'x') + "\nTotal=2147483647\n";
    Put(Path(), big);
    IniProfile ini(Path());
    EXPECT_EQ(ini.GetInt("Main", "Total", 0), INT_MAX);
    EXPECT_EQ(ini.GetString("S199999", "k", ""), "199999");
    EXPECT_TRUE(ini.WriteString("Main", "Updated", "0"));
    EXPECT_EQ(Contents(Path()), big + "Updated=0\r\n");
}

}  // namespace
}  // namespace vt
