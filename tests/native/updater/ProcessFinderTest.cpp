#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/ProcessFinder.h"

namespace vt {
namespace {

TEST(ProcessFinder, LatinLettersMatchInAnyCase) {
    EXPECT_TRUE(SameExeName("Vantrel.exe", "VANTREL.EXE"));
    EXPECT_TRUE(SameExeName("vantrel.exe", "Vantrel.Exe"));
    EXPECT_FALSE(SameExeName("Vantrel.exe", "Vantrel.ex"));
    EXPECT_FALSE(SameExeName("Vantrel.exe", "Vantrel1.exe"));
    EXPECT_FALSE(SameExeName("", "a"));
}

TEST(ProcessFinder, DoubleByteCharactersMatchOnlyByteForByte) {
    // 0x81 0x41 and 0x81 0x61 are two different characters whose trail bytes
    // look like 'A' and 'a'.
    EXPECT_FALSE(SameExeName("\x81\x41.exe", "\x81\x61.exe"));
    EXPECT_TRUE(SameExeName("\xD6\xD0\xCE\xC4.EXE", "\xD6\xD0\xCE\xC4.exe"));
    EXPECT_FALSE(SameExeName("\xD6\xD0.exe", "\xD6\xD1.exe"));
    // A single-byte 'A' right after a double-byte character is still a letter.
    EXPECT_TRUE(SameExeName("\xD6\xD0" "A.exe", "\xD6\xD0" "a.exe"));
}

TEST(ProcessFinder, FirstMatchingProcessOrZero) {
    test::FakeProcesses processes;
    EXPECT_EQ(FindProcessByName(processes, "Vantrel.exe"), 0u);
    processes.running = {{4, "System"}, {120, "explorer.exe"}, {300, "VANTREL.EXE"}, {301, "vantrel.exe"}};
    EXPECT_EQ(FindProcessByName(processes, "Vantrel.exe"), 300u);
    EXPECT_EQ(FindProcessByName(processes, "notepad.exe"), 0u);
}

}  // namespace
}  // namespace vt
