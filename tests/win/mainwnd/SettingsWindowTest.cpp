// The settings window on the real main window: hotkeys registered with
// Windows at once, a combination another program holds, the rows' buttons,
// and the values it shares with the tray menu and the countdown form.
#include <algorithm>

#include "assistant/settings/SettingsDialog.h"
#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

// Combinations no other program of a test machine uses, so parallel tests
// holding the default Ctrl+arrows cannot disturb these.
constexpr UINT kAllMods = MOD_CONTROL | MOD_SHIFT | MOD_ALT;
constexpr std::uint32_t kF21 = 0x0700 | VK_F21, kF22 = 0x0700 | VK_F22, kF23 = 0x0700 | VK_F23;
constexpr int kProbeId = 0xBF00;

// Whether another program could take the combination now.
bool FreeForOthers(UINT key) {
    if (!RegisterHotKey(nullptr, kProbeId, kAllMods, key)) return false;
    UnregisterHotKey(nullptr, kProbeId);
    return true;
}

class SettingsWindow : public MainWindowTest {
protected:
    HWND Open() {
        Command(ID_TRAY_SETTINGS);
        SettingsDialog* settings = m_dialog->SettingsWindow();
        return settings ? settings->Hwnd() : nullptr;
    }
    HWND Row(int first, int row) const { return GetDlgItem(m_dialog->SettingsWindow()->Hwnd(), first + row); }
    std::uint32_t Hotkey(int row) const {
        return static_cast<std::uint32_t>(SendMessageW(Row(IDC_HOTKEY_LEFT, row), HKM_GETHOTKEY, 0, 0));
    }
    void SetHotkey(int row, std::uint32_t value) { SendMessageW(Row(IDC_HOTKEY_LEFT, row), HKM_SETHOTKEY, value, 0); }
    std::wstring Note(int row) const { return Text(Row(IDC_NOTE_LEFT, row)); }
    void Press(int id) {
        HWND window = m_dialog->SettingsWindow()->Hwnd();
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    }
    std::string Stored(const char* name) const {
        return m_registry.Text(RegistryHive::CurrentUser, SettingsStore::kKey, name).value_or("");
    }
};

TEST_F(SettingsWindow, OpensOnceFilledWithTheHotkeysInForce) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window), L"Vantrel 设置");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Hotkey(0), 0x0A00u | VK_LEFT);
    EXPECT_EQ(Hotkey(1), 0x0A00u | VK_RIGHT);
    EXPECT_EQ(Hotkey(2), 0x0A00u | VK_DOWN);
    EXPECT_EQ(Hotkey(3), 0x0A00u | VK_UP);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Note(row), L"") << row;
    Send(WM_COMMAND, MAKEWPARAM(ID_TRAY_SETTINGS, 0), 0);
    EXPECT_EQ(Open(), window) << "one window at a time";
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Open(), window);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(SettingsWindow, ApplyingMovesTheHotkeyAtOnceAndKeepsIt) {
    m_volume.volume = 0x80008000;
    PumpMessages();  // the reference volume is taken once the loop runs
    Open();
    SetHotkey(0, kF21);
    Press(IDC_APPLY);
    ASSERT_FALSE(FreeForOthers(VK_F21)) << "the new combination is held";
    SetHotkey(0, kF22);
    Press(IDC_APPLY);
    EXPECT_TRUE(FreeForOthers(VK_F21)) << "the old one is free for another program";
    EXPECT_FALSE(FreeForOthers(VK_F22));
    EXPECT_EQ(Note(0), L"");
    EXPECT_EQ(m_dialog->HotkeysInForce()[0], kF22);
    EXPECT_EQ(Stored("HotkeyLeft"), std::to_string(kF22));
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_LEFT), L"左声道\tCtrl+Shift+Alt+ F22");

    // The remapped key works, and the old Ctrl+Left means nothing any more.
    Send(WM_HOTKEY, 0, MAKELPARAM(kAllMods, VK_F22));
    EXPECT_EQ(m_volume.volume, 0x00008000u) << "left only";
    m_volume.volume = 0x80008000;
    Send(WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL, VK_LEFT));
    EXPECT_EQ(m_volume.volume, 0x80008000u);
    SendMessageW(m_dialog->SettingsWindow()->Hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindowVisible(m_dialog->SettingsWindow()->Hwnd())) << "确定 closes when all is in force";
}

TEST_F(SettingsWindow, ACombinationHeldElsewhereIsNamedOnItsRowAndTheOldOneStays) {
    Open();
    SetHotkey(0, kF21);
    Press(IDC_APPLY);
    ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId, kAllMods, VK_F23));  // another program has it
    SetHotkey(0, kF23);
    SendMessageW(m_dialog->SettingsWindow()->Hwnd(), WM_COMMAND, IDOK, 0);
    UnregisterHotKey(nullptr, kProbeId);
    EXPECT_EQ(Note(0), L"已被其他程序占用");
    EXPECT_EQ(Note(1), L"");
    EXPECT_TRUE(IsWindowVisible(m_dialog->SettingsWindow()->Hwnd())) << "确定 leaves it open to show why";
    EXPECT_FALSE(FreeForOthers(VK_F21)) << "the old combination is still in force";
    EXPECT_EQ(m_dialog->HotkeysInForce()[0], kF21);
    EXPECT_EQ(Stored("HotkeyLeft"), std::to_string(kF21)) << "a refused combination is not kept";
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_LEFT), L"左声道\tCtrl+Shift+Alt+ F21");

    // The user's own change (the control reports it) clears the note.
    SetHotkey(0, kF22);
    SendMessageW(m_dialog->SettingsWindow()->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_HOTKEY_LEFT, EN_CHANGE),
                 reinterpret_cast<LPARAM>(Row(IDC_HOTKEY_LEFT, 0)));
    EXPECT_EQ(Note(0), L"");
}

TEST_F(SettingsWindow, ClearAndRestoreDefaultsAndTheSameComboTwice) {
    Open();
    Press(IDC_CLEAR_MUTE);
    EXPECT_EQ(Hotkey(3), 0u);
    Press(IDC_APPLY);
    EXPECT_EQ(m_dialog->HotkeysInForce()[3], 0u);
    EXPECT_EQ(Stored("HotkeyMute"), "0");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_MUTE), L"静音");

    SetHotkey(1, 0x0200 | VK_LEFT);  // the keys of the row above (the extended-key bit aside)
    Press(IDC_APPLY);
    EXPECT_EQ(Note(1), L"与上面一行相同");
    EXPECT_EQ(m_dialog->HotkeysInForce()[1], 0x0A00u | VK_RIGHT);

    Press(IDC_RESTORE_DEFAULTS);
    EXPECT_EQ(Hotkey(1), 0x0A00u | VK_RIGHT);
    EXPECT_EQ(Hotkey(3), 0x0A00u | VK_UP);
    EXPECT_EQ(Note(1), L"");
    Press(IDC_APPLY);
    EXPECT_EQ(m_dialog->HotkeysInForce(), DefaultHotkeys());
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_MUTE), L"静音\tCtrl+ 上");
}

TEST_F(SettingsWindow, StoredHotkeysAreInForceAtTheNextStart) {
    m_registry.PutDword(RegistryHive::CurrentUser, SettingsStore::kKey, "HotkeyLeft", kF21);
    m_registry.PutDword(RegistryHive::CurrentUser, SettingsStore::kKey, "HotkeyRight", 512);  // no key
    CreateMainWindow();
    EXPECT_EQ(m_dialog->HotkeysInForce()[0], kF21);
    EXPECT_EQ(m_dialog->HotkeysInForce()[1], 0x0A00u | VK_RIGHT) << "nonsense means the default";
    EXPECT_FALSE(FreeForOthers(VK_F21));
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_LEFT), L"左声道\tCtrl+Shift+Alt+ F21");
    m_dialog.reset();
    EXPECT_TRUE(FreeForOthers(VK_F21)) << "the hotkeys go with the window";
}

TEST_F(SettingsWindow, AutorunAndTheEndActionStayInStepWithMenuAndForm) {
    HWND window = Open();
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_SETTINGS_AUTORUN, BM_GETCHECK, 0, 0), BST_CHECKED);
    Command(ID_TRAY_AUTORUN);
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_SETTINGS_AUTORUN, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_SETCURSEL, 1, 0);
    Send(WM_COMMAND, MAKEWPARAM(IDC_END_ACTION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(IDC_END_ACTION)));
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_SETTINGS_END_ACTION, CB_GETCURSEL, 0, 0), 1);

    SendDlgItemMessageW(window, IDC_SETTINGS_AUTORUN, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(window, IDC_SETTINGS_END_ACTION, CB_SETCURSEL, 3, 0);
    Press(IDC_APPLY);
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Stored("EndAction"), "3");
    Tick();
    EXPECT_EQ(Status(), L"[已暂停]定时睡眠的时间为1分0秒");
    // The menu's tick follows: exit writes the Run value again.
    Command(ID_TRAY_EXIT);
    EXPECT_NE(std::find(m_log.begin(), m_log.end(),
                        std::string("write HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel = \"") +
                            kExePath + "\""),
              m_log.end());
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(SettingsWindow, TheQuietThresholdsAreKeptAndWrongOnesRefusedWithAMessage) {
    m_registry.PutDword(RegistryHive::CurrentUser, SettingsStore::kKey, "CpuIdlePercent", 30);
    CreateMainWindow();
    HWND window = Open();
    EXPECT_EQ(Text(GetDlgItem(window, IDC_NETWORK_KBPS)), L"20");
    EXPECT_EQ(Text(GetDlgItem(window, IDC_CPU_PERCENT)), L"30");

    SetDlgItemTextW(window, IDC_CPU_PERCENT, L"100");
    auto boxes = Answering([&] { Press(IDOK); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"CPU 空闲"), std::wstring::npos);
    EXPECT_EQ(boxes[0].caption, L"Vantrel");
    EXPECT_TRUE(IsWindowVisible(window)) << "stays open";
    EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_CPU_PERCENT));
    EXPECT_EQ(Stored("CpuIdlePercent"), "30");

    SetDlgItemTextW(window, IDC_NETWORK_KBPS, L"64");
    SetDlgItemTextW(window, IDC_CPU_PERCENT, L"5");
    EXPECT_TRUE(Answering([&] { Press(IDOK); }).empty());
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Stored("NetworkIdleKBps"), "64");
    EXPECT_EQ(Stored("CpuIdlePercent"), "5");
}

}  // namespace
}  // namespace vt::test
