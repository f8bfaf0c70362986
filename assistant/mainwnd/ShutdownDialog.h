#pragma once
// The assistant's one main window: the countdown form (hidden until asked
// for), owner of the tray icon, the tray menu, the reminder manager and the
// volume popup. Every tray command, hotkey and global message arrives here
// and is handed to the part that owns it.
#include <functional>
#include <memory>

#include "assistant/AssistantNames.h"
#include "assistant/about/HyperLinkStatic.h"
#include "assistant/mainwnd/Autorun.h"
#include "assistant/mainwnd/ChannelControl.h"
#include "assistant/mainwnd/PowerActions.h"
#include "assistant/mainwnd/TrayIcon.h"
#include "assistant/settings/HotkeyBinding.h"
#include "assistant/settings/SettingsHost.h"
#include "assistant/settings/SettingsStore.h"
#include "shared/core/Clock.h"
#include "shared/win/Dialog.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/Platform.h"

namespace vt {

class ReminderManagerDialog;
class SettingsDialog;
struct ReminderServices;
class VolumePopup;
class Countdown;
class IShell;

// What the main window works through; the program passes the real ones,
// tests pass recording stand-ins.
struct MainWindowServices {
    IRegistry& registry;
    IPowerActions& power;
    IVolumeDevice& volume;
    IShell& shell;
    std::function<void()> requestUpdate;  // tray command "在线升级..."
    std::string exePath;                  // UTF-8, for the Run value
    // Null: the program's own reminders, Notify.dat beside the program.
    const ReminderServices* reminders = nullptr;
    // Null: the computer's clock (for the countdown's time-of-day target).
    const IClock* clock = nullptr;
};

class ShutdownDialog : public win::Dialog, private IExitHost, private IHotkeyRegistrar, private ISettingsHost {
public:
    explicit ShutdownDialog(MainWindowServices services);
    ~ShutdownDialog() override;

    // Runs before every way out: Run value, ShowInfo, reminders saved and
    // their windows closed, tray icon removed, window hidden.
    void PrepareExit() override;

    void SetMenuItemText(UINT id, const std::wstring& text);
    void SetMenuItemCheck(UINT id, bool on);

    // For tests.
    ReminderManagerDialog& Reminders() { return *m_reminderManager; }
    VolumePopup& Popup() { return *m_volumePopup; }
    // Null until "设置..." was first chosen.
    SettingsDialog* SettingsWindow() { return m_settingsDialog.get(); }
    const HotkeyValues& HotkeysInForce() const { return m_hotkeys.InForce(); }
    std::wstring MenuItemText(UINT id) const;
    bool MenuItemGrayed(UINT id) const { return (GetMenuState(TrayPopup(), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

protected:
    // The tray callback, balloons, hotkeys, the end of the logon, power and
    // clock changes, TaskbarCreated.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;      // Enter: starts or stops, as "开始计时" does
    void OnCancel() override;  // Esc: hidden, not ended
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnTimer(UINT_PTR id) override;  // the countdown's second

private:
    // Shell of the window (ShutdownDialog.cpp).
    void OnTrayNotify(UINT mouseMessage);
    void OnTaskbarCreated();
    // WM_DPICHANGED: the base reloads the window's icons; the tray icon
    // follows the taskbar's scale.
    void OnDpiChanged(UINT dpi) override;
    static HICON LoadTrayIcon();
    void ReplaceTrayIcon();
    void OnShowBalloon(WPARAM which, LPARAM lParam);
    bool OnSysCommand(WPARAM command);
    // The commands of the tray menu; false for any other id.
    bool OnTrayCommand(UINT id);
    void OnLinkClicked();
    HMENU TrayPopup() const { return GetSubMenu(m_trayMenu.Get(), 0); }

    // Countdown (ShutdownCountdown.cpp).
    void OnStartStop();
    void OnSetTime();
    void OnSpinDelta(NMUPDOWN* change);
    void OnMinutesChanged();
    bool ReadMinutesBox();
    void UpdateStatus();
    void SetMinutesBoxText(unsigned minutes);
    // The end action's list, the time picker and the remembered target.
    void InitCountdownForm();
    void OnEndActionChosen();
    void OnAtClockClicked();
    void SetEndAction(EndAction action);
    void ShowStartStopLabel();
    // The count up to the next moment of the time-of-day target.
    void LoadClockTarget();
    void SaveTarget();
    LocalTime Now() const;

    // Power actions (ShutdownPower.cpp).
    void OnPowerCommand(std::uint32_t flags);
    void OnMonitorOff();
    void OnQueryEndSession();
    void OnEndSession(bool ending);
    void StopTimer() override;
    void Quit() override;
    void SaveReminders() override;
    void RearmCountdown() override;
    void OnSuspendCommand(bool hibernate);
    void OnLockCommand();

    // Channel hotkeys and the settings window (ShutdownHotkeys.cpp).
    void RegisterHotkeys();
    void OnHotKey(LPARAM lParam);
    void OnChannelCommand(UINT id);
    void ShowHotkeysInMenu();
    void OnSettingsCommand();
    bool Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) override;
    void Unregister(HotkeySlot slot) override;
    SettingsChoice CurrentChoice(HotkeyOutcomes& outcomes) override;
    HotkeyOutcomes ApplyChoice(const SettingsChoice& choice) override;

    MainWindowServices m_services;
    win::WinClock m_clock;
    Autorun m_autorun;
    SettingsStore m_store;
    Settings m_settings;  // as loaded, and as changed since
    HotkeyBindings m_hotkeys;
    // Per row, the combination last asked for and refused (0: none).
    HotkeyValues m_refusedHotkeys{};
    ATOM m_hotkeyIds[kHotkeySlotCount] = {};
    ChannelControl m_channels;  // holds the reference volume of the channel commands

    HyperLinkStatic m_link;
    std::unique_ptr<VolumePopup> m_volumePopup;
    std::unique_ptr<ReminderManagerDialog> m_reminderManager;
    std::unique_ptr<Countdown> m_countdown;
    std::unique_ptr<SettingsDialog> m_settingsDialog;
    BOOL m_bAutoRun = TRUE;
    DWORD m_dwShowInfo = 0;
    win::MenuHandle m_trayMenu;
    win::IconHandle m_trayIcon;  // at the taskbar's DPI
    TrayIcon m_tray;
    // Set while the program writes the minutes box itself, so only the
    // user's own edits count as changes.
    bool m_bSettingMinutes = false;
    // PrepareExit ran for WM_QUERYENDSESSION; its WM_ENDSESSION decides
    // whether the logon really ends.
    bool m_bEndingSession = false;
};

}  // namespace vt
