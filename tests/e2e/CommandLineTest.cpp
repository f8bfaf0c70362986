// Vantrel.exe started with a command line while a copy runs: the new copy
// hands the command over and ends with what the running copy answered, or
// refuses a wrong command line itself and leaves the running copy alone.
#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"

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

}  // namespace
}  // namespace vt::e2e
