// Finding and ending a real running program through the toolhelp snapshot.
#include "tests/win/updater/UpdaterWinSupport.h"

#include "shared/win/AppDirectory.h"
#include "tests/support/StandIn.h"
#include "updater/ProcessFinder.h"

namespace vt::test {
namespace {

TEST(UpdaterWinProcesses, FindsARunningProgramByItsNameInAnyLetterCaseAndEndsIt) {
    const ScratchDir scratch(L"upd-probe");
    const std::wstring& dir = scratch.Wide();
    // A Chinese name: the snapshot's names reach the comparison as code
    // page 936 bytes, like the name in the description.
    const std::wstring exe = dir + L"VtProbe升级.exe";
    ASSERT_TRUE(CopyFileW(win::ModulePath().c_str(), exe.c_str(), FALSE));
    {
        StandInProcess program(exe);
        ASSERT_TRUE(program.Started());
        win::WinProcesses processes;
        std::uint32_t found = 0;
        for (int i = 0; i < 100 && found == 0; ++i) {
            found = FindProcessByName(processes, win::ToGbk(L"vtprobe升级.EXE"));
            if (!found) Sleep(50);
        }
        EXPECT_EQ(found, program.Id());
        EXPECT_EQ(FindProcessByName(processes, win::ToGbk(L"VtProbe升级.ex")), 0u);

        ASSERT_TRUE(processes.Terminate(found));
        EXPECT_EQ(program.WaitExit(10000), 0u);  // ended with exit code 0
        EXPECT_EQ(FindProcessByName(processes, win::ToGbk(L"VtProbe升级.exe")), 0u);
    }
}

}  // namespace
}  // namespace vt::test

namespace vt::test {

TEST(UpdaterWinProcesses, NeverOffersItselfForEnding) {
    win::WinProcesses processes;
    for (const ProcessEntry& entry : processes.List()) EXPECT_NE(entry.pid, GetCurrentProcessId());
}

}  // namespace vt::test
