// The assistant's settings from outside: the combinations it registers come
// from the per-user settings, one that another program holds is named in a
// balloon at start-up, and the countdown starts with the kept end action but
// with one minute, whatever minutes an earlier version kept.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"

namespace vt::e2e {
namespace {

constexpr int kProbeId = 0xBF10;

// Whether this test, another program to the assistant, can take it now.
bool CanRegister(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, kProbeId, modifiers, key)) return false;
    UnregisterHotKey(nullptr, kProbeId);
    return true;
}

class AssistantSettings : public AssistantTest {
protected:
    void TearDown() override {
        if (m_main && m_process.Running()) {
            PostCommand(m_main, ID_TRAY_EXIT);
            m_process.WaitExit();
        }
        AssistantTest::TearDown();
    }
    void StartAssistant() {
        m_main = Start(m_process);
        ASSERT_NE(m_main, nullptr);
        ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(m_main); }));
        Settle(m_main);
    }

    Process m_process;
    HWND m_main = nullptr;
};

TEST_F(AssistantSettings, TheNextStartRegistersTheCombinationFromTheRegistry) {
    PutSetting(L"HotkeyLeft", (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | VK_LEFT);
    StartAssistant();
    EXPECT_TRUE(CanRegister(MOD_CONTROL, VK_LEFT)) << "Ctrl+Left is left to other programs";
    EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_LEFT)) << "Ctrl+Alt+Left is the assistant's";
    EXPECT_FALSE(CanRegister(MOD_CONTROL, VK_RIGHT)) << "the other rows keep their defaults";
    // Nothing to complain about: no balloon names a hotkey.
    Sleep(300);
    for (const std::wstring& text : BalloonTexts()) EXPECT_EQ(text.find(L"热键"), std::wstring::npos) << text.c_str();
}

TEST_F(AssistantSettings, ACombinationHeldBeforeTheStartIsNamedInOneBalloon) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId, MOD_CONTROL, VK_LEFT)) << "Ctrl+Left is free before the start";
    StartAssistant();
    EXPECT_TRUE(BalloonShown(L"热键“Ctrl+ 左”已被其他程序占用，可在“设置”中更换。"))
        << "balloons seen: " << BalloonTexts().size();
    UnregisterHotKey(nullptr, kProbeId);
    EXPECT_TRUE(CanRegister(MOD_CONTROL, VK_LEFT)) << "the assistant did not take it later";
    EXPECT_FALSE(CanRegister(MOD_CONTROL, VK_UP)) << "the free ones work";
}

TEST_F(AssistantSettings, TheKeptEndActionNamesItselfInStatusAndWarning) {
    PutSetting(L"EndAction", 1);         // 重启
    PutSetting(L"CountdownMinutes", 5);  // what an earlier version kept: not used
    PutSetting(L"CountdownAtClock", 1);
    StartAssistant();
    EXPECT_TRUE(WaitFor([&] { return ItemText(m_main, IDC_STATUS) == L"[已暂停]定时重启的时间为1分0秒"; }, 3000))
        << ItemText(m_main, IDC_STATUS).c_str();
    PostCommand(m_main, ID_TRAY_STARTSTOP);  // 开始计时: the warning comes with the first tick
    bool warned = BalloonShown(L"还有1分钟电脑就要重启啦～不想重启的话，请在菜单中点“暂停计时”。");
    PostCommand(m_main, ID_TRAY_STARTSTOP);  // 暂停计时, long before the end
    EXPECT_TRUE(warned) << "balloons seen: " << BalloonTexts().size();
    EXPECT_TRUE(WaitFor([&] { return ItemText(m_main, IDC_STATUS).find(L"[已暂停]定时重启的时间为") == 0; }));
}

}  // namespace
}  // namespace vt::e2e
