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
#include "shared/win/DpiIcons.h"
#include "shared/win/Dialog.h"

namespace vt {

class ReminderManagerDialog;
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
};

class ShutdownDialog : public win::Dialog, private IExitHost {
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

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnTimer(UINT_PTR id) override;

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

    // Power actions (ShutdownPower.cpp).
    void OnPowerCommand(std::uint32_t flags);
    void OnMonitorOff();
    void OnQueryEndSession();
    void OnEndSession(bool ending);
    void StopTimer() override;
    void Quit() override;

    // Channel hotkeys (ShutdownHotkeys.cpp).
    void RegisterHotkeys();
    void OnHotKey(LPARAM lParam);
    void OnChannelCommand(UINT id);

    MainWindowServices m_services;
    Autorun m_autorun;
    ChannelControl m_channels;  // holds the reference volume of the channel commands

    HyperLinkStatic m_link;
    std::unique_ptr<VolumePopup> m_volumePopup;
    std::unique_ptr<ReminderManagerDialog> m_reminderManager;
    std::unique_ptr<Countdown> m_countdown;
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
