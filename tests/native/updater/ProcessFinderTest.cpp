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
    EXPECT_TRUE(SameExeName(Gbk("\xD6\xD0"
                                "A.exe"),
                            Gbk("\xD6\xD0"
                                "a.exe")));
}

TEST(ProcessFinder, FirstMatchingProcessOrZero) {
    test::FakeProcesses processes;
    EXPECT_EQ(FindProcessByName(processes, Gbk("Vantrel.exe")), 0u);
    processes.running = {
        {4, Gbk("System")}, {120, Gbk("explorer.exe")}, {300, Gbk("VANTREL.EXE")}, {301, Gbk("vantrel.exe")}};
    EXPECT_EQ(FindProcessByName(processes, Gbk("Vantrel.exe")), 300u);
    EXPECT_EQ(FindProcessByName(processes, Gbk("notepad.exe")), 0u);
}

// The assistant is asked through its exit command, which saves its
// reminders; a program that ends by itself is never terminated, and the
// caller's window is kept live between the waits.
TEST(EndProgram, AskedProgramsThatEndInTimeAreNotTerminated) {
    test::FakeProcesses processes;
    processes.running = {{300, Gbk("Vantrel.exe")}, {400, Gbk("Tool.exe")}};
    processes.windowTitles = {{300, "关机管理器"}, {400, "Tool"}};
    processes.endsWhenAsked = {{300, 3}, {400, 0}};
    int live = 0;
    EXPECT_EQ(EndProgram(processes, 300, [&] { ++live; }), EndProgramResult::EndedItself);
    EXPECT_EQ(EndProgram(processes, 400, [&] { ++live; }), EndProgramResult::EndedItself);
    EXPECT_EQ(processes.log, (std::vector<std::string>{"command 300 关机管理器 32775", "close 400"}));
    EXPECT_EQ(processes.waited, (std::vector<unsigned>(5, 100)));
    EXPECT_EQ(live, 3);
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(processes.sleeps.empty());
    EXPECT_TRUE(processes.running.empty());
}

// A hidden window of another title is not the assistant; a program that
// ignores the request gets ten seconds, then ends as before.
TEST(EndProgram, ProgramThatStaysIsTerminatedAfterTenSeconds) {
    test::FakeProcesses processes;
    processes.running = {{500, Gbk("Other.exe")}};
    processes.windowTitles = {{500, "关机管理器 "}};
    int live = 0;
    EXPECT_EQ(EndProgram(processes, 500, [&] { ++live; }), EndProgramResult::Terminated);
    EXPECT_EQ(processes.log, std::vector<std::string>{"close 500"});
    unsigned waited = 0;
    for (unsigned ms : processes.waited) waited += ms;
    EXPECT_EQ(waited, 10000u);
    EXPECT_EQ(live, 100);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{500});
    EXPECT_EQ(processes.sleeps, std::vector<unsigned>{1000});

    processes.running = {{501, Gbk("Locked.exe")}};
    processes.canOpen = false;
    processes.sleeps.clear();
    EXPECT_EQ(EndProgram(processes, 501, nullptr), EndProgramResult::NotOpened);
    EXPECT_TRUE(processes.sleeps.empty());
}

}  // namespace
}  // namespace vt
