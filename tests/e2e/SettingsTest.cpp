// The assistant's hotkeys from outside: the combinations it registers come
// from the per-user settings, and one that another program holds is named
// in a balloon at start-up.
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

class AssistantHotkeys : public AssistantTest {
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

TEST_F(AssistantHotkeys, TheNextStartRegistersTheCombinationFromTheRegistry) {
    PutSetting(L"HotkeyLeft", (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | VK_LEFT);
    StartAssistant();
    EXPECT_TRUE(CanRegister(MOD_CONTROL, VK_LEFT)) << "Ctrl+Left is left to other programs";
    EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_LEFT)) << "Ctrl+Alt+Left is the assistant's";
    EXPECT_FALSE(CanRegister(MOD_CONTROL, VK_RIGHT)) << "the other rows keep their defaults";
    // Nothing to complain about: no balloon names a hotkey.
    Sleep(300);
    for (const std::wstring& text : BalloonTexts()) EXPECT_EQ(text.find(L"热键"), std::wstring::npos) << text.c_str();
}

TEST_F(AssistantHotkeys, ACombinationHeldBeforeTheStartIsNamedInOneBalloon) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId, MOD_CONTROL, VK_LEFT)) << "Ctrl+Left is free before the start";
    StartAssistant();
    EXPECT_TRUE(BalloonShown(L"热键“Ctrl+ 左”已被其他程序占用，可在“设置”中更换。"))
        << "balloons seen: " << BalloonTexts().size();
    UnregisterHotKey(nullptr, kProbeId);
    EXPECT_TRUE(CanRegister(MOD_CONTROL, VK_LEFT)) << "the assistant did not take it later";
    EXPECT_FALSE(CanRegister(MOD_CONTROL, VK_UP)) << "the free ones work";
}

}  // namespace
}  // namespace vt::e2e
