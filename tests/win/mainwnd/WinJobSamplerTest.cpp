// What the countdown's conditions read from the system, on the real one: a
// program started and ended is seen to come and go, held while it runs (and
// the wait for its exit ends), and the input age, byte counters and processor
// times read and move only forward.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "assistant/mainwnd/WinJobSampler.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"

namespace vt::win {
namespace {

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

bool NotYetRunning(const JobWatch& watch) {
    return watch.StatusText(EndAction::ShutDown).find(kNotYetRunningNote) != std::string::npos;
}

std::vector<std::string> NamesOf(const std::vector<RunningProcess>& processes) {
    std::vector<std::string> names;
    for (const RunningProcess& process : processes) names.push_back(process.name);
    return names;
}

TEST(WinJobSampler, SeesItselfAndAProgramThatComesAndGoes) {
    WinJobSampler system;
    const std::optional<std::vector<RunningProcess>> processes = system.Processes();
    ASSERT_TRUE(processes);
    const std::vector<std::string> choices = ProgramChoices(NamesOf(*processes));
    EXPECT_TRUE(std::is_sorted(choices.begin(), choices.end(), [](const std::string& a, const std::string& b) {
        return _stricmp(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_NE(std::find(choices.begin(), choices.end(), ToUtf8(FileNameOf(ModulePath()))), choices.end());
    EXPECT_NE(std::find_if(processes->begin(), processes->end(),
                           [](const RunningProcess& process) { return process.id == GetCurrentProcessId(); }),
              processes->end());

    const test::ScratchDir scratch(L"job-exit");
    const std::wstring exe = scratch / L"VtJob渲染.exe";
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), exe.c_str(), FALSE));
    JobWatch watch;
    std::uint64_t now = MonotonicSeconds();
    watch.Arm({JobConditionKind::ProgramExit, "vtjob渲染", 30}, {}, system, now);
    EXPECT_TRUE(NotYetRunning(watch));

    test::StandInProcess program(exe);
    ASSERT_TRUE(program.Started());
    // A second of the watch's clock a tick; the real ones pass faster.
    for (int i = 0; i < 100 && NotYetRunning(watch); ++i) {
        Sleep(50);
        EXPECT_FALSE(watch.Tick(system, ++now));
    }
    EXPECT_EQ(watch.StatusText(EndAction::ShutDown), "[等待中]VtJob渲染.exe 退出后关机");
    // Once seen, it is held: whether it runs is told without a look.
    EXPECT_EQ(system.HeldRunning(), std::optional<bool>(true));

    program.End();
    EXPECT_EQ(system.HeldRunning(), std::optional<bool>(false));
    const std::uint64_t ended = now;
    std::uint64_t heldAfter = 0;
    while (!heldAfter && now < ended + 60) {
        Sleep(50);
        if (watch.Tick(system, ++now)) heldAfter = now - ended;
    }
    EXPECT_GE(heldAfter, kProgramGoneSeconds);
    EXPECT_LE(heldAfter, kProgramGoneSeconds + 10);
}

// The hook's calls come with the thread's messages.
void TakeMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < ms; waited = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - waited, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

TEST(WinJobSampler, AWindowAnotherProgramMakesHintsAtItsStart) {
    const test::ScratchDir scratch(L"job-hint");
    const std::wstring exe = scratch / L"VtWindowed.exe";
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), exe.c_str(), FALSE));
    WinJobSampler system;
    EXPECT_TRUE(system.StartHinted());  // nothing was watched before
    TakeMessages(200);
    EXPECT_FALSE(system.StartHinted());
    // Not a window of this process's own.
    const HWND own =
        CreateWindowExW(0, L"STATIC", L"own", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    TakeMessages(200);
    EXPECT_FALSE(system.StartHinted());
    DestroyWindow(own);

    test::StandInProcess program(exe, test::StandInProcess::Shows::AWindow);
    ASSERT_TRUE(program.Started());
    bool hinted = false;
    for (int i = 0; i < 50 && !hinted; ++i) {
        TakeMessages(100);
        hinted = system.StartHinted();
    }
    EXPECT_TRUE(hinted);
}

TEST(WinJobSampler, HoldsOnlyWhatCanBeHeldAndLetsGo) {
    WinJobSampler system;
    EXPECT_TRUE(system.Hold({GetCurrentProcessId()}));
    EXPECT_EQ(system.HeldRunning(), std::optional<bool>(true));
    system.Release();
    EXPECT_EQ(system.HeldRunning(), std::optional<bool>(false));
    // An id no process has: nothing is held, not even the ones before it.
    EXPECT_FALSE(system.Hold({GetCurrentProcessId(), 0xFFFFFFF0u}));
    EXPECT_EQ(system.HeldRunning(), std::optional<bool>(false));
}

TEST(WinJobSampler, InputCountersAndTimesAreReadAndOnlyMoveForward) {
    WinJobSampler system;
    const std::optional<std::uint64_t> age = system.InputAgeMs();
    ASSERT_TRUE(age);
    EXPECT_LE(*age, GetTickCount64());

    const std::optional<std::uint64_t> bytes = system.NetworkBytes();
    const std::optional<CpuTimes> times = system.SystemTimes();
    const std::uint64_t seconds = MonotonicSeconds();
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(times);
    EXPECT_GE(times->kernel, times->idle);

    // Some work for the processor to count.
    const DWORD start = GetTickCount();
    volatile std::uint64_t spin = 0;
    while (GetTickCount() - start < 300) spin = spin + 1;
    Sleep(100);

    const std::optional<std::uint64_t> bytesLater = system.NetworkBytes();
    const std::optional<CpuTimes> later = system.SystemTimes();
    ASSERT_TRUE(bytesLater);
    ASSERT_TRUE(later);
    EXPECT_GE(*bytesLater, *bytes);
    EXPECT_GE(later->idle, times->idle);
    EXPECT_GE(later->user, times->user);
    EXPECT_GT(later->kernel + later->user - later->idle, times->kernel + times->user - times->idle);
    EXPECT_GE(MonotonicSeconds(), seconds);
}

}  // namespace
}  // namespace vt::win
