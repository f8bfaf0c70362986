// Vantrel.exe started with a command line while a copy runs: the new copy
// hands the command over and ends with what the running copy answered, or
// refuses a wrong command line itself and leaves the running copy alone.
#include <gtest/gtest.h>

#include "assistant/res/resource.h"
#include "shared/win/AppDirectory.h"
#include "tests/e2e/Driver.h"
#include "tests/support/StandIn.h"

namespace vt::e2e {
namespace {

using AssistantCommandLine = AssistantTest;

const wchar_t kHereBalloon[] = L"我在这里哦～右击这里就可以操作我啦～";

TEST_F(AssistantCommandLine, ASecondCopyHandsItsCommandOverAndEndsWithTheAnswer) {
    Process first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    Process second;
    ASSERT_TRUE(second.Start(m_dir + L"Vantrel.exe", L"/in 5"));
    EXPECT_EQ(second.WaitExit(), 0u) << "accepted";
    EXPECT_NE(ItemText(main, IDC_STATUS).find(L"系统距离关机还有5分"), std::wstring::npos)
        << ItemText(main, IDC_STATUS).c_str();
    EXPECT_EQ(ItemText(main, IDC_MINUTES), L"5");
    EXPECT_FALSE(BalloonShown(kHereBalloon, 1500)) << "a command, not a second start";
    EXPECT_TRUE(first.Running());
    PostCommand(main, kMainExitCommand);
    EXPECT_EQ(first.WaitExit(), 0u);
}

TEST_F(AssistantCommandLine, AWrongCommandLineIsExplainedAndTheRunningCopyIsLeftAlone) {
    Process first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    Process second;
    ASSERT_TRUE(second.Start(m_dir + L"Vantrel.exe", L"/in 0"));
    HWND box = second.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"“/in 0”"), std::wstring::npos) << "names the argument";
    EXPECT_NE(text.find(L"用法：Vantrel.exe"), std::wstring::npos) << "and shows the usage";
    PressButton(box, IDOK);
    EXPECT_NE(second.WaitExit(), 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindWindowW(nullptr, kMainWindowTitle), main);
    PostCommand(main, kMainExitCommand);
    EXPECT_EQ(first.WaitExit(), 0u);
}

// Started with a condition: it waits while the program runs and begins the
// last minute once the program has been gone for a few seconds.
TEST_F(AssistantCommandLine, StartedToWaitForAProgramItBeginsTheLastMinuteWhenTheProgramEnds) {
    const std::wstring job = m_dir + L"JobStandIn.exe";
    ASSERT_TRUE(CopyFileW(win::ModulePath().c_str(), job.c_str(), FALSE));
    Process standIn;
    ASSERT_TRUE(standIn.Start(job, test::kStandInArgument));
    Process assistant;
    ASSERT_TRUE(assistant.Start(m_dir + L"Vantrel.exe", L"/when-exit JobStandIn.exe"));
    HWND main = WaitMainWindow(assistant);
    ASSERT_NE(main, nullptr);
    const auto status = [&] { return ItemText(main, IDC_STATUS); };
    EXPECT_TRUE(WaitFor([&] { return status() == L"[等待中]JobStandIn.exe 退出后关机"; }, 5000)) << status().c_str();
    Sleep(2000);
    EXPECT_EQ(status(), L"[等待中]JobStandIn.exe 退出后关机") << "still running";

    standIn.Kill();
    EXPECT_TRUE(WaitFor([&] { return status().find(L"系统距离关机还有") != std::wstring::npos; }, 15000))
        << status().c_str();
    EXPECT_NE(status().find(L"[运行中"), std::wstring::npos);
    PostCommand(main, ID_TRAY_STARTSTOP);  // and stopped in time
    EXPECT_TRUE(WaitFor([&] { return status().find(L"[已暂停]") == 0; }, 3000)) << status().c_str();
    PostCommand(main, kMainExitCommand);
    EXPECT_EQ(assistant.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
