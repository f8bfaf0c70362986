#pragma once
// The assistant's one main window: the countdown form (hidden until asked
// for), owner of the tray icon, the tray menu, the reminder manager and the
// volume popup. Every tray command, hotkey and global message arrives here
// and is handed to the part that owns it; the settings are SettingsModel's.
#include <functional>
#include <memory>

#include "assistant/AssistantNames.h"
#include "assistant/about/HyperLinkStatic.h"
#include "assistant/mainwnd/ChannelControl.h"
#include "assistant/mainwnd/CountdownForm.h"
#include "assistant/mainwnd/EndKeeper.h"
#include "assistant/mainwnd/PowerActions.h"
#include "assistant/mainwnd/TrayIcon.h"
#include "assistant/mainwnd/TrayMenu.h"
#include "assistant/mainwnd/WinJobSampler.h"
#include "assistant/settings/SettingsHost.h"
#include "assistant/settings/SettingsModel.h"
#include "assistant/settings/WinHotkeyRegistrar.h"
#include "shared/core/Clock.h"
#include "shared/win/Dialog.h"
#include "shared/win/Platform.h"

namespace vt {

class ReminderManagerDialog;
class SettingsDialog;
struct ReminderServices;
struct PowerRequest;
class VolumePopup;
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
    // Null: what Windows reports to the countdown's conditions.
    IJobSampler* jobSampler = nullptr;
    // Empty: win::MonotonicSeconds, the conditions' clock.
    std::function<std::uint64_t()> monotonicSeconds = {};
    // Once the message loop is idle after the start: the start's update
    // schedule. May be empty.
    std::function<void()> afterStart = nullptr;
};

class ShutdownDialog : public win::Dialog, private ICountdownHost, private ISettingsHost {
public:
    explicit ShutdownDialog(MainWindowServices services);
    ~ShutdownDialog() override;

    // Runs before every way out: Run value, ShowInfo, reminders saved and
    // their windows closed, tray icon removed, window hidden.
    void PrepareExit() override;

    // A countdown the command line asks for; false when it cannot be done.
    bool CarryOut(const CountdownRequest& request) { return m_form.CarryOut(request); }

    void SetMenuItemText(UINT id, const std::wstring& text) { m_trayMenu.SetItemText(id, text); }

    // For tests. The volume popup's window is made at its first showing.
    ReminderManagerDialog& Reminders() { return *m_reminderManager; }
    VolumePopup& Popup() { return *m_volumePopup; }
    // Null until "设置..." was first chosen.
    SettingsDialog* SettingsWindow() { return m_settingsDialog.get(); }
    const HotkeyValues& HotkeysInForce() const { return m_settings.Hotkeys().InForce(); }
    std::wstring MenuItemText(UINT id) const { return m_trayMenu.ItemText(id); }
    LastMinuteDialog& LastMinute() { return m_ends.Window(); }
    bool MenuItemGrayed(UINT id) const { return m_trayMenu.ItemGrayed(id); }

protected:
    // The tray callback, balloons, hotkeys, the end of the logon, power and
    // clock changes, TaskbarCreated.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;      // Enter: starts or stops, as "开始计时" does
    void OnCancel() override;  // Esc: hidden, not ended
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    // The countdown's second, the volume's sample and the reminders' tick;
    // once, the start's deferred work.
    void OnTimer(UINT_PTR id) override;

private:
    // Shell of the window (ShutdownDialog.cpp).
    // What the first second does not need, once the message loop is idle:
    // the reminders and the holiday schedule, the update schedule.
    void OnStarted();
    // WM_POWERBROADCAST: what has to start again after the computer woke.
    void OnPowerBroadcast(WPARAM event);
    void OnTaskbarCreated();
    // WM_DPICHANGED: the base reloads the window's icons; the tray icon
    // follows the taskbar's scale.
    void OnDpiChanged(UINT dpi) override;
    void ReplaceTrayIcon();
    void OnShowBalloon(WPARAM which);
    bool OnSysCommand(WPARAM command);
    // The commands of the tray menu; false for any other id.
    bool OnTrayCommand(UINT id);
    void OnLinkClicked();

    // What the countdown form shows in the tray (ICountdownHost).
    void ShowCountdownStatus(const std::wstring& status) override;
    void ShowStartStopLabel(const std::wstring& label) override;
    void ShowBalloon(const std::string& text) override;
    void ShowEndAction(EndAction action) override;

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
    void ShowHotkeysInMenu();
    void OnSettingsCommand();
    void OnAutoRunCommand();
    SettingsChoice CurrentChoice(HotkeyOutcomes& outcomes) override { return m_settings.CurrentChoice(outcomes); }
    HotkeyOutcomes ApplyChoice(const SettingsChoice& choice) override;

    // The ends and their last minute are EndKeeper's.
    void OnCountdownEnd(EndAction action) override { m_ends.OnCountdownEnd(action); }

    MainWindowServices m_services;
    win::WinClock m_clock;
    win::WinJobSampler m_jobSampler;
    WinHotkeyRegistrar m_registrar;
    SettingsModel m_settings;
    CountdownForm m_form;
    ChannelControl m_channels;  // holds the reference volume of the channel commands

    HyperLinkStatic m_link;
    std::unique_ptr<VolumePopup> m_volumePopup;
    std::unique_ptr<ReminderManagerDialog> m_reminderManager;
    std::unique_ptr<SettingsDialog> m_settingsDialog;
    TrayMenu m_trayMenu;         // the tray callback and the menu
    win::IconHandle m_trayIcon;  // at the taskbar's DPI
    TrayIcon m_tray;
    // PrepareExit ran for WM_QUERYENDSESSION; its WM_ENDSESSION decides
    // whether the logon really ends.
    bool m_bEndingSession = false;
    EndKeeper m_ends;  // after the form and the reminder manager it uses
};

}  // namespace vt
