#include <gtest/gtest.h>

#include "updater/FileNameRule.h"

namespace vt {
namespace {

TEST(FileNameRule, AcceptsOrdinaryNames) {
    const char* const good[] = {
        "Vantrel.exe",
        "update.ini",
        "a b.txt",
        ".hidden",
        "COM10",
        "LPT00",
        "CONSOLE.exe",
        "auxiliary.dll",
        "com.txt",
        "\xD6\xD0\xCE\xC4.exe",  // two Chinese characters
        "\x95\x5C.exe",          // trail byte 0x5C: a character, not a backslash
        "\x95\x7C.dat",          // trail byte 0x7C: a character, not a bar
        "\x80.txt",              // the euro sign, one byte
    };
    for (const char* name : good) EXPECT_TRUE(IsPlainFileName(Gbk(name))) << name;
}

TEST(FileNameRule, RejectsNamesThatLeaveTheDirectory) {
    const char* const bad[] = {"",          ".",           "..",         "..\\Vantrel.exe",    "sub\\a.exe",
                               "sub/a.exe", "/etc/passwd", "C:evil.exe", "C:\\Windows\\a.exe", "\\\\server\\s\\a"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
}

TEST(FileNameRule, RejectsNamesWindowsCannotStoreAsGiven) {
    const char* const bad[] = {"a.exe.", "a.exe ", "a\tb", "a\nb", "a\x7F", "a*b",      "a?b",     "a<b",
                               "a>b",    "a|b",    "a\"b", "\xD6", "a\xD6", "\xD6\x30", "\xFF.exe"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
    EXPECT_FALSE(IsPlainFileName(Gbk(std::string("a\0b", 3))));
}

TEST(FileNameRule, RejectsDeviceNamesWithOrWithoutExtension) {
    const char* const bad[] = {"CON",  "con",      "PRN",  "Aux",      "NUL",      "nul.txt", "CON.txt",  "con.tar.gz",
                               "COM1", "com9.dll", "LPT1", "lpt9.exe", "NUL .txt", "CONIN$",  "conout$.x"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
}

TEST(FileNameRule, DeviceNamesWithTheDigitZeroOrASuperscript) {
    const char* const bad[] = {"COM0", "lpt0.txt", "Com0 .dll", "LPT0.tar.gz",
                               // COM¹, COM², LPT³ as GB18030 writes them: no character of
                               // code page 936, whatever follows.
                               "COM\x81\x30\x86\x31", "COM\x81\x30\x85\x35.txt", "LPT\x81\x30\x85\x36"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
    // What code page 936 does have near them names ordinary files: full-width
    // and circled digits, and the characters whose bytes spell the digits in
    // UTF-8 ("COM\xC2\xB9" is COM followed by a Chinese character).
    const char* const good[] = {"COM\xA3\xB1", "LPT\xA2\xD9.txt", "COM\xC2\xB9", "lpt\xC2\xB2.dll", "COM\xC2\xB3"};
    for (const char* name : good) EXPECT_TRUE(IsPlainFileName(Gbk(name))) << name;
}

}  // namespace
}  // namespace vt
