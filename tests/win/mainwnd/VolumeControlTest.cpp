// Channel hotkeys, the tray's channel items and the volume popup, on the real
// windows with a recording sound device.
#include <windows.h>

#include <commctrl.h>

#include "assistant/mainwnd/VolumePopup.h"
#include "shared/win/ChineseDialogFont.h"
#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

using Sets = std::vector<std::uint32_t>;

LPARAM HotkeyParam(UINT modifiers, UINT key) { return MAKELPARAM(modifiers, key); }

class VolumeControl : public MainWindowTest {
protected:
    // Starts the window with the device at this volume; its message loop
    // runs before the user can press anything.
    void StartWithVolume(std::uint32_t volume) {
        m_volume.volume = volume;
        CreateMainWindow();
        PumpMessages();
        m_volume.sets.clear();
    }
    void Hotkey(UINT modifiers, UINT key) { Send(WM_HOTKEY, 0, HotkeyParam(modifiers, key)); }

    HWND Popup() { return m_dialog->Popup().Hwnd(); }
    HWND Slider() { return GetDlgItem(Popup(), IDC_SLIDER); }
    int SliderPosition() { return static_cast<int>(SendMessageW(Slider(), TBM_GETPOS, 0, 0)); }
    bool Muted() { return IsDlgButtonChecked(Popup(), IDC_MUTE) == BST_CHECKED; }
    // A left click on the tray icon with the pointer at (x, y).
    void ClickTray(int x, int y) {
        SetCursorPos(x, y);
        Send(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
        PumpMessages();
    }
};

TEST_F(VolumeControl, CtrlArrowHotkeysSetTheChannelsFromTheLouderLevel) {
    StartWithVolume(0xC0004000);  // left 0x4000, right 0xC000
    // Anything but Ctrl alone with an arrow is ignored.
    Hotkey(MOD_CONTROL | MOD_SHIFT, VK_LEFT);
    Hotkey(MOD_ALT, VK_LEFT);
    Hotkey(0, VK_DOWN);
    Hotkey(MOD_CONTROL | MOD_ALT, VK_UP);
    Hotkey(MOD_CONTROL, 'A');
    Hotkey(MOD_CONTROL, VK_HOME);
    EXPECT_TRUE(m_volume.sets.empty());

    Hotkey(MOD_CONTROL, VK_LEFT);
    Hotkey(MOD_CONTROL, VK_RIGHT);
    Hotkey(MOD_CONTROL, VK_DOWN);
    Hotkey(MOD_CONTROL, VK_UP);
    Hotkey(MOD_CONTROL, VK_UP);  // mute does not toggle
    EXPECT_EQ(m_volume.sets, (Sets{0xC000, 0xC0000000, 0xC000C000, 0, 0}));
}

TEST_F(VolumeControl, TheReferenceVolumeIsReadOnceTheMessageLoopRuns) {
    m_volume.volume = 0x60002000;  // left 0x2000, right 0x6000
    CreateMainWindow();
    EXPECT_EQ(m_volume.reads, 0) << "no volume read before the message loop";
    PumpMessages();
    EXPECT_EQ(m_volume.reads, 1);
    EXPECT_TRUE(m_volume.sets.empty()) << "starting only reads the device";

    // Taken as the reference even though the level changes afterwards.
    m_volume.volume = 0x10001000;
    Hotkey(MOD_CONTROL, VK_DOWN);
    EXPECT_EQ(m_volume.sets, (Sets{0x60006000}));
}

TEST_F(VolumeControl, TrayChannelItemsDoWhatTheHotkeysDo) {
    StartWithVolume(0x80008000);
    for (int id : {ID_TRAY_LEFT, ID_TRAY_RIGHT, ID_TRAY_STEREO, ID_TRAY_MUTE}) Command(id);
    EXPECT_EQ(m_volume.sets, (Sets{0x8000, 0x80000000, 0x80008000, 0}));
}

TEST_F(VolumeControl, EachTickTakesTheDeviceLevelWhileBothChannelsSound) {
    StartWithVolume(0x80008000);
    Hotkey(MOD_CONTROL, VK_LEFT);  // right channel now silent
    Tick();
    Hotkey(MOD_CONTROL, VK_DOWN);
    EXPECT_EQ(m_volume.sets.back(), 0x80008000u);

    m_volume.volume = 0x20003000;  // changed in the system's mixer
    Tick();
    Hotkey(MOD_CONTROL, VK_DOWN);
    EXPECT_EQ(m_volume.sets.back(), 0x30003000u);
}

TEST_F(VolumeControl, PopupAppearsCentredAboveThePointerAsAToolWindow) {
    StartWithVolume(0x80000000);  // left silent, right half: not muted
    ClickTray(500, 400);
    ASSERT_TRUE(IsWindowVisible(Popup()));
    EXPECT_TRUE(GetWindowLongW(Popup(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT rc;
    GetWindowRect(Popup(), &rc);
    EXPECT_EQ(rc.left, 500 - (rc.right - rc.left) / 2);
    EXPECT_EQ(rc.bottom, 400 - 7);
    EXPECT_FALSE(Muted());
    EXPECT_EQ(SliderPosition(), 49);
    EXPECT_EQ(GetFocus(), Slider());
    EXPECT_TRUE(m_volume.sets.empty()) << "showing the popup only reads the device";

    // A second click while it is up hides it; the next shows it at the new place.
    ClickTray(500, 400);
    EXPECT_FALSE(IsWindowVisible(Popup()));
    ClickTray(300, 600);
    GetWindowRect(Popup(), &rc);
    EXPECT_EQ(rc.bottom, 600 - 7);
}

TEST_F(VolumeControl, PopupStaysOnTheScreenAtItsCornersAndEdges) {
    StartWithVolume(0x80008000);
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const POINT corners[] = {{work.right - 1, work.bottom - 1},  // a taskbar at the bottom right
                             {work.left, work.top},              // one at the top left
                             {work.right - 1, work.top + 3},
                             {(work.left + work.right) / 2, work.top}};
    for (const POINT& at : corners) {
        ClickTray(at.x, at.y);
        ASSERT_TRUE(IsWindowVisible(Popup()));
        RECT rc;
        GetWindowRect(Popup(), &rc);
        EXPECT_GE(rc.left, work.left) << at.x << "," << at.y;
        EXPECT_GE(rc.top, work.top) << at.x << "," << at.y;
        EXPECT_LE(rc.right, work.right) << at.x << "," << at.y;
        EXPECT_LE(rc.bottom, work.bottom) << at.x << "," << at.y;
        ClickTray(at.x, at.y);  // closes it again
    }
}

TEST_F(VolumeControl, PopupSliderAndMuteBoxSetBothChannels) {
    StartWithVolume(0);
    ClickTray(500, 400);
    EXPECT_TRUE(Muted());

    // One step down with the keyboard: the slider reports WM_VSCROLL itself.
    SendMessageW(Slider(), TBM_SETPOS, TRUE, 0);
    SendMessageW(Slider(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(Slider(), WM_KEYUP, VK_DOWN, 0);
    ASSERT_EQ(SliderPosition(), 1);
    ASSERT_FALSE(m_volume.sets.empty());
    EXPECT_EQ(m_volume.sets.back(), 64879u * 65537u);
    EXPECT_FALSE(Muted()) << "moving the slider unmutes";

    m_volume.sets.clear();
    HWND mute = GetDlgItem(Popup(), IDC_MUTE);
    SendMessageW(mute, BM_CLICK, 0, 0);
    EXPECT_TRUE(Muted());
    SendMessageW(mute, BM_CLICK, 0, 0);
    EXPECT_EQ(m_volume.sets, (Sets{0, 64879u * 65537u}));
    EXPECT_EQ(GetFocus(), Slider());
}

TEST_F(VolumeControl, PopupHidesWhenAnotherWindowIsActivated) {
    StartWithVolume(0xFFFFFFFF);
    ClickTray(500, 400);
    ASSERT_TRUE(IsWindowVisible(Popup()));
    EXPECT_EQ(SliderPosition(), 0);
    ShowForm();
    EXPECT_FALSE(IsWindowVisible(Popup()));
    EXPECT_TRUE(IsWindow(Popup()));
}

TEST_F(VolumeControl, WithoutADeviceNothingFailsAndThePopupShowsMuted) {
    m_volume.present = false;
    StartWithVolume(0);
    Hotkey(MOD_CONTROL, VK_DOWN);
    Tick();
    Command(ID_TRAY_LEFT);
    ClickTray(500, 400);
    ASSERT_TRUE(IsWindowVisible(Popup()));
    EXPECT_TRUE(Muted());
    // Nothing was ever read, so both channels get nothing.
    EXPECT_EQ(m_volume.sets, (Sets{0, 0}));
}

// The popup's template asks for the "System" font; where that cannot show
// Chinese the check box would read as two boxes instead of 静音.
TEST_F(VolumeControl, PopupMuteBoxIsDrawnInAFontThatShowsChinese) {
    StartWithVolume(0x80008000);
    HWND mute = GetDlgItem(Popup(), IDC_MUTE);
    auto font = reinterpret_cast<HFONT>(SendMessageW(mute, WM_GETFONT, 0, 0));
    EXPECT_TRUE(ChineseDialogFont::ShowsChinese(font));
}

TEST_F(VolumeControl, TheTrayIconClosesItsOwnPopup) {
    StartWithVolume(0x80008000);
    ClickTray(500, 400);
    ASSERT_TRUE(IsWindowVisible(Popup()));
    // A press on the icon: the popup loses the activation first, then the
    // click arrives. The popup stays closed.
    ShowForm();
    ASSERT_FALSE(IsWindowVisible(Popup()));
    ClickTray(500, 400);
    EXPECT_FALSE(IsWindowVisible(Popup()));

    // A later click opens it again, and a click while it is open closes it.
    Sleep(kTrayClickAfterHideMs + 50);
    ClickTray(500, 400);
    EXPECT_TRUE(IsWindowVisible(Popup()));
    ClickTray(500, 400);
    EXPECT_FALSE(IsWindowVisible(Popup()));
    ClickTray(500, 400);
    EXPECT_TRUE(IsWindowVisible(Popup())) << "hidden by the icon itself: no click is swallowed";
}

}  // namespace
}  // namespace vt::test
