#include <gtest/gtest.h>

#include "updater/FileNameRule.h"

namespace vt {
namespace {

TEST(FileNameRule, AcceptsOrdinaryNames) {
    const char* const good[] = {
        "Vantrel.exe", "update.ini", "a b.txt", ".hidden", "COM10", "lpt0.txt", "CONSOLE.exe",
        "auxiliary.dll", "com.txt",
        "\xD6\xD0\xCE\xC4.exe",  // two Chinese characters
        "\x95\x5C.exe",          // trail byte 0x5C: a character, not a backslash
        "\x95\x7C.dat",          // trail byte 0x7C: a character, not a bar
        "\x80.txt",              // the euro sign, one byte
    };
    for (const char* name : good) EXPECT_TRUE(IsPlainFileName(Gbk(name))) << name;
}

TEST(FileNameRule, RejectsNamesThatLeaveTheDirectory) {
    const char* const bad[] = {"", ".", "..", "..\\Vantrel.exe", "sub\\a.exe", "sub/a.exe",
                               "/etc/passwd", "C:evil.exe", "C:\\Windows\\a.exe", "\\\\server\\s\\a"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
}

TEST(FileNameRule, RejectsNamesWindowsCannotStoreAsGiven) {
    const char* const bad[] = {"a.exe.", "a.exe ", "a\tb", "a\nb", "a\x7F", "a*b", "a?b", "a<b", "a>b",
                               "a|b", "a\"b", "\xD6", "a\xD6", "\xD6\x30", "\xFF.exe"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
    EXPECT_FALSE(IsPlainFileName(Gbk(std::string("a\0b", 3))));
}

TEST(FileNameRule, RejectsDeviceNamesWithOrWithoutExtension) {
    const char* const bad[] = {"CON", "con", "PRN", "Aux", "NUL", "nul.txt", "CON.txt", "con.tar.gz",
                               "COM1", "com9.dll", "LPT1", "lpt9.exe", "NUL .txt", "CONIN$", "conout$.x"};
    for (const char* name : bad) EXPECT_FALSE(IsPlainFileName(Gbk(name))) << name;
}

}  // namespace
}  // namespace vt
