// The assistant's shell as a user meets it: start, tray, second copy, the
// main window, the about box and the ways out.
#include <gtest/gtest.h>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"

namespace vt::e2e {
namespace {

using AssistantShell = AssistantTest;

// 退出 from the tray menu; the program's exit code.
DWORD ExitFromTray(Process& p, HWND main) {
    PostCommand(main, ID_TRAY_EXIT);
    return p.WaitExit();
}

TEST_F(AssistantShell, StartsHiddenWithOneTrayIconAndEndsFromTheMenu) {
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsVisible(main));
    EXPECT_TRUE(p.TopLevelWindows(true).empty() || p.FindWindowTitled(kMainWindowTitle) == nullptr);
    EXPECT_TRUE(WaitFor([&] { return HasTrayIcon(main); }));

    EXPECT_EQ(ExitFromTray(p, main), 0u);
    EXPECT_FALSE(HasTrayIcon(main));

    std::wstring run;
    ASSERT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Vantrel", run));
    EXPECT_EQ(run, L"\"" + m_dir + L"Vantrel.exe\"");
    DWORD showInfo = 1;
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, L"ShowInfo", showInfo));
    EXPECT_EQ(showInfo, 0u);
}

TEST_F(AssistantShell, SecondCopyEndsByItselfAndLeavesOneMainWindow) {
    Process first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    Process second;
    ASSERT_TRUE(second.Start(m_dir + L"Vantrel.exe"));
    EXPECT_EQ(second.WaitExit(), 0u);
    int windows = 0;
    for (HWND w : first.TopLevelWindows(false))
        if (WindowText(w) == kMainWindowTitle) ++windows;
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(ExitFromTray(first, main), 0u);
}

TEST_F(AssistantShell, ShowCommandShowsTheWindowAndItsCloseBoxOnlyHidesIt) {
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    PostCommand(main, ID_TRAY_SHOW);  // 关机管理器...
    EXPECT_TRUE(WaitFor([&] { return IsVisible(main); }));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(main); }));
    EXPECT_TRUE(p.Running());

    PostCommand(main, ID_TRAY_SHOW);
    EXPECT_TRUE(WaitFor([&] { return IsVisible(main); }));
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);  // Esc
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(main); }));
    EXPECT_TRUE(p.Running());
    ExitFromTray(p, main);
}

TEST_F(AssistantShell, StatusItemWelcomesAndAboutBoxShowsTheVersion) {
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);

    PostCommand(main, ID_TRAY_STATUS);
    HWND box = p.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"欢迎使用本软件！");
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    PostCommand(main, ID_TRAY_ABOUT);
    HWND about = p.WaitWindow(L"关于Vantrel");
    ASSERT_NE(about, nullptr);
    bool versionShown = false;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == L"Vantrel 1.1 版") versionShown = true;
    EXPECT_TRUE(versionShown);
    PressButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));

    EXPECT_EQ(ExitFromTray(p, main), 0u);
}

TEST_F(AssistantShell, UntickedAutorunRemovesTheRunValueAtExit) {
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(ExitFromTray(p, main), 0u);
    std::wstring run;
    ASSERT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Vantrel", run));

    Process again;
    main = Start(again);
    ASSERT_NE(main, nullptr);
    PostCommand(main, ID_TRAY_AUTORUN);  // 开机自动运行: off
    ASSERT_EQ(ExitFromTray(again, main), 0u);
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Vantrel", run));
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Vantrel", run));
}

TEST_F(AssistantShell, CorruptRunValueDoesNotStopStartUp) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE junk[] = {0xFF, 0x00, 0x13};
    RegSetValueExW(key, L"Vantrel", 0, REG_BINARY, junk, sizeof junk);
    RegCloseKey(key);
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(p.TopLevelWindows(true).empty() || p.FindWindowTitled(L"Vantrel") == nullptr);
    EXPECT_EQ(ExitFromTray(p, main), 0u);
}

}  // namespace
}  // namespace vt::e2e
