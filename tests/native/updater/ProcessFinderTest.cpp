#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/ProcessFinder.h"

namespace vt {
namespace {

TEST(ProcessFinder, LatinLettersMatchInAnyCase) {
    EXPECT_TRUE(SameExeName(Gbk("Vantrel.exe"), Gbk("VANTREL.EXE")));
    EXPECT_TRUE(SameExeName(Gbk("vantrel.exe"), Gbk("Vantrel.Exe")));
    EXPECT_FALSE(SameExeName(Gbk("Vantrel.exe"), Gbk("Vantrel.ex")));
    EXPECT_FALSE(SameExeName(Gbk("Vantrel.exe"), Gbk("Vantrel1.exe")));
    EXPECT_FALSE(SameExeName(Gbk(""), Gbk("a")));
}

TEST(ProcessFinder, DoubleByteCharactersMatchOnlyByteForByte) {
    // 0x81 0x41 and 0x81 0x61 are two different characters whose trail bytes
    // look like 'A' and 'a'.
    EXPECT_FALSE(SameExeName(Gbk("\x81\x41.exe"), Gbk("\x81\x61.exe")));
    EXPECT_TRUE(SameExeName(Gbk("\xD6\xD0\xCE\xC4.EXE"), Gbk("\xD6\xD0\xCE\xC4.exe")));
    EXPECT_FALSE(SameExeName(Gbk("\xD6\xD0.exe"), Gbk("\xD6\xD1.exe")));
    // A single-byte 'A' right after a double-byte character is still a letter.
    EXPECT_TRUE(SameExeName(Gbk("\xD6\xD0" "A.exe"), Gbk("\xD6\xD0" "a.exe")));
}

TEST(ProcessFinder, FirstMatchingProcessOrZero) {
    test::FakeProcesses processes;
    EXPECT_EQ(FindProcessByName(processes, Gbk("Vantrel.exe")), 0u);
    processes.running = {{4, Gbk("System")},
                         {120, Gbk("explorer.exe")},
                         {300, Gbk("VANTREL.EXE")},
                         {301, Gbk("vantrel.exe")}};
    EXPECT_EQ(FindProcessByName(processes, Gbk("Vantrel.exe")), 300u);
    EXPECT_EQ(FindProcessByName(processes, Gbk("notepad.exe")), 0u);
}

}  // namespace
}  // namespace vt
