// The running assistant's main window from outside: Windows ending the logon,
// the volume popup at the tray icon, and the public balloon message.
#include <gtest/gtest.h>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"

namespace vt::e2e {
namespace {

class AssistantMainWindow : public AssistantTest {
protected:
    void SetUp() override {
        AssistantTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(m_process.Start(m_dir + L"Vantrel.exe"));
        m_main = m_process.WaitAnyWindow(kMainWindowTitle);
        ASSERT_NE(m_main, nullptr);
    }
    // The volume popup once a click on the tray icon, the pointer at
    // (400, 300), has shown it; null when it does not show.
    HWND ClickTrayAt400x300() {
        SetCursorPos(400, 300);
        PostMessageW(m_main, WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
        // The popup's window is made at its first showing.
        HWND popup = m_process.WaitAnyWindow(L"音量控制");
        if (!popup) return nullptr;
        return WaitFor([&] { return IsVisible(popup); }) ? popup : nullptr;
    }
    void TearDown() override {
        if (m_main && m_process.Running()) {
            PostCommand(m_main, ID_TRAY_EXIT);  // 退出
            m_process.WaitExit();
        }
        AssistantTest::TearDown();
    }

    Process m_process;
    HWND m_main = nullptr;
};

TEST_F(AssistantMainWindow, LogonEndingSavesAndAgreesButLeavesTheEndToWindows) {
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(m_main); }));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(m_main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    std::wstring run;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, L"Vantrel", run));
    EXPECT_FALSE(HasTrayIcon(m_main));
    // Should another program cancel the logoff, the assistant goes on.
    Sleep(300);
    EXPECT_TRUE(m_process.Running());
}

TEST_F(AssistantMainWindow, TrayClickShowsThePopupAbovePointerAndActivatingElsewhereHidesIt) {
    HWND popup = ClickTrayAt400x300();
    ASSERT_NE(popup, nullptr);
    RECT rc;
    GetWindowRect(popup, &rc);
    EXPECT_EQ(rc.left, 400 - (rc.right - rc.left) / 2);
    EXPECT_EQ(rc.bottom, 300 - 7);
    EXPECT_TRUE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // This prefix has no sound device: nothing to read, so it shows muted.
    EXPECT_EQ(SendMessageW(GetDlgItem(popup, IDC_MUTE), BM_GETCHECK, 0, 0), BST_CHECKED);

    PostCommand(m_main, ID_TRAY_SHOW);  // the main window comes to the front
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(popup); }));
    EXPECT_TRUE(m_process.Running());
}

// A press on the tray icon while the popup is open: the shell takes the
// activation first (the popup hides itself), then the press arrives and is
// swallowed. A press a second later opens it again.
TEST_F(AssistantMainWindow, APressAfterTheIconTookThePopupAwayOpensItAgain) {
    HWND popup = ClickTrayAt400x300();
    ASSERT_NE(popup, nullptr);

    // Another window takes the activation, as the taskbar does.
    HWND other = CreateWindowExW(0, L"STATIC", L"taskbar", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    PostMessageW(m_main, WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(popup); }));
    Sleep(200);
    EXPECT_FALSE(IsVisible(popup)) << "the press that took it away opened it again";

    Sleep(1000);
    PostMessageW(m_main, WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitFor([&] { return IsVisible(popup); }, 3000));
    Sleep(500);
    EXPECT_TRUE(IsVisible(popup)) << "it opened, then closed by itself";
    DestroyWindow(other);
}

TEST_F(AssistantMainWindow, AMinuteBeforeTheEndABalloonSaysHowToStopTheShutdown) {
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(m_main); }));
    // Freshly started the countdown stands at one minute: the warning
    // comes with its first tick.
    PostCommand(m_main, ID_TRAY_STARTSTOP);  // 开始计时
    const std::wstring expected = L"还有1分钟电脑就要关机啦～不想关机的话，请在菜单中点“暂停计时”。";
    bool seen = WaitFor(
        [&] {
            for (const std::wstring& text : BalloonTexts())
                if (text == expected) return true;
            return false;
        },
        5000);
    PostCommand(m_main, ID_TRAY_STARTSTOP);  // 暂停计时, long before the end
    EXPECT_TRUE(seen) << "balloons seen: " << BalloonTexts().size();
    EXPECT_TRUE(WaitFor([&] { return ItemText(m_main, IDC_STATUS).find(L"[已暂停]") == 0; }));
}

// WM_SHOWBALLOON is public: whoever sends it, only the two documented
// requests show anything (2 once showed a holiday balloon for "0年").
TEST_F(AssistantMainWindow, TheBalloonMessageShowsOnlyWhatItDocuments) {
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(m_main); }));
    for (WPARAM which : {WPARAM{2}, WPARAM{7}}) {
        DWORD_PTR answer = 1;
        ASSERT_TRUE(SendMessageTimeoutW(m_main, WM_SHOWBALLOON, which, 0, SMTO_ABORTIFHUNG, 5000, &answer));
        EXPECT_EQ(answer, 0u);
    }
    Sleep(500);
    for (const std::wstring& text : BalloonTexts())
        EXPECT_EQ(text.find(L"法定节假日"), std::wstring::npos) << "balloons seen: " << BalloonTexts().size();
    PostMessageW(m_main, WM_SHOWBALLOON, kBalloonAlertRunning, 0);
    EXPECT_TRUE(BalloonShown(L"提醒正在运行中是不可以编辑的哦～")) << "balloons seen: " << BalloonTexts().size();
}

}  // namespace
}  // namespace vt::e2e
