#include "assistant/mainwnd/ShutdownDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "assistant/about/AboutDialog.h"
#include "assistant/about/HomePage.h"
#include "assistant/mainwnd/Countdown.h"
#include "assistant/mainwnd/TrayBalloons.h"
#include "assistant/mainwnd/VolumePopup.h"
#include "assistant/reminders/ReminderManagerDialog.h"
#include "assistant/settings/SettingsDialog.h"
#include "resource.h"
#include "shared/core/Shell.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"
#include "shared/win/StartupStamps.h"

namespace vt {
namespace {

static_assert(kWmUser == WM_USER);

// Registered during static initialisation, before any window exists, so the
// message dispatch can compare against it from the first message on.
const UINT g_uTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

// Posted at initialisation: the first volume read (COM, the playback
// endpoint, the sound DLLs) waits until the message loop runs, so it does not
// hold up the start; the hotkeys it serves come through that loop anyway.
constexpr UINT kMsgTakeReferenceVolume = WM_APP + 1;

HICON LoadTrayIcon() { return win::LoadIconOfSize(IDI_MAIN, win::TrayIconSize()); }

// The manager tells the user things through this window's balloon, and
// hands it the power actions that come due.
std::unique_ptr<ReminderManagerDialog> MakeReminderManager(const MainWindowServices& services, ShowBalloonFn balloon,
                                                           PowerDueFn powerDue) {
    if (!services.reminders)
        return std::make_unique<ReminderManagerDialog>(services.shell, std::move(balloon), std::move(powerDue));
    ReminderServices given = *services.reminders;
    given.showBalloon = std::move(balloon);
    given.powerDue = std::move(powerDue);
    return std::make_unique<ReminderManagerDialog>(std::move(given));
}

JobServices JobServicesOf(const MainWindowServices& services, IJobSampler& windows) {
    return {services.jobSampler ? *services.jobSampler : windows,
            services.monotonicSeconds ? services.monotonicSeconds : win::MonotonicSeconds};
}

}  // namespace

ShutdownDialog::ShutdownDialog(MainWindowServices services)
    : Dialog(IDD_SHUTDOWN),
      m_services(std::move(services)),
      m_settings(m_services.registry, m_registrar),
      m_form(*this, *this, m_settings, m_services.power, m_services.clock ? *m_services.clock : m_clock,
             JobServicesOf(m_services, m_jobSampler)),
      m_channels(m_services.volume),
      m_volumePopup(std::make_unique<VolumePopup>(m_services.volume)),
      m_reminderManager(MakeReminderManager(
          m_services, [this](const std::string& text) { ShowBalloon(text); },
          [this](const PowerRequest& request) { m_ends.OnReminderPower(request); })),
      m_trayMenu(*this, *m_volumePopup, m_services.shell, m_settings, m_services.power),
      m_ends(m_form, *m_reminderManager, m_services.power, *this) {}

// The reminder manager and the volume popup go with their members, this
// window with the base.
ShutdownDialog::~ShutdownDialog() = default;

BOOL ShutdownDialog::OnInitDialog() {
    win::StartupStamp("main-template");
    SetProgramIcon(IDI_MAIN);
    m_trayIcon.Reset(LoadTrayIcon());
    m_tray.Init(Hwnd(), WM_TRAYNOTIFY, m_trayIcon.Get());
    m_tray.Add(kProductName);
    win::StartupStamp("tray-icon");
    // Here, not later: a balloon about a held hotkey comes after it.
    if (m_settings.FirstRun()) ShowBalloon(kFirstRunBalloon);

    m_link.Attach(Hwnd(), IDC_LINK);
    m_form.Init();
    win::StartupStamp("countdown-form");
    SetText(kMainWindowTitle);
    // A second add right after the first: harmless when the first worked,
    // and it covers a shell that was still starting.
    m_tray.Add(kProductName);
    SetMenuItemText(ID_TRAY_STATUS, win::FromUtf8(IdleStatusText(m_form.Action())));
    SetMenuItemText(ID_TRAY_STARTSTOP, win::FromUtf8(kStartLabel));
    SetTimer(Hwnd(), kCountdownTimerId, 1000, nullptr);
    PostMessageW(Hwnd(), kMsgTakeReferenceVolume, 0, 0);
    m_registrar.SetWindow(Hwnd());
    RegisterHotkeys();
    win::StartupStamp("hotkeys");
    // A timer's message comes only when no other is waiting: the user's
    // first command goes ahead of this work.
    SetTimer(Hwnd(), kStartTimerId, 0, nullptr);
    return TRUE;
}

void ShutdownDialog::OnStarted() {
    KillTimer(Hwnd(), kStartTimerId);
    win::StartupStamp("idle-loop");
    m_reminderManager->Start();
    if (m_services.afterStart) m_services.afterStart();
    win::StartupStamp("update-schedule");
    win::WriteStartupStamps();
}

bool ShutdownDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == g_uTaskbarCreated && msg != 0) {
        OnTaskbarCreated();
        return true;
    }
    switch (msg) {
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_TRAYNOTIFY:
        m_trayMenu.OnTrayNotify(static_cast<UINT>(lParam));
        result = 0;
        return true;
    case WM_SHOWBALLOON:
        OnShowBalloon(wParam);
        result = 0;
        return true;
    case WM_HOTKEY:
        OnHotKey(lParam);
        result = 0;
        return true;
    case WM_QUERYENDSESSION:
        OnQueryEndSession();
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        result = 0;
        return true;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(wParam);
        result = TRUE;
        return true;
    case kMsgTakeReferenceVolume:
        win::StartupStamp("message-loop");
        m_channels.Init();
        win::StartupStamp("reference-volume");
        result = 0;
        return true;
    // Top-level windows get these; the reminders' window may not exist yet.
    case WM_TIMECHANGE:
        m_reminderManager->OnClockJump();
        result = 0;
        return true;
    }
    return Dialog::OnMessage(msg, wParam, lParam, result);
}

bool ShutdownDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_LINK) {
        if (code == STN_CLICKED) OnLinkClicked();
        return true;
    }
    // Menu commands come without a control.
    return control ? m_form.OnCommand(id, code) : OnTrayCommand(id);
}

bool ShutdownDialog::OnNotify(NMHDR* header, LRESULT& result) { return m_form.OnNotify(header, result); }

void ShutdownDialog::OnTimer(UINT_PTR id) {
    if (id == kStartTimerId) OnStarted();
    if (id != kCountdownTimerId) return;
    m_form.OnTimer();
    m_ends.TickEnds();
    m_channels.Sample();
    m_reminderManager->Tick();
}

// Button 1 ("开始计时") is the dialog's OK: it starts or stops the countdown.
void ShutdownDialog::OnOK() { m_form.OnStartStop(); }

// Esc only hides the window; the program lives on in the tray.
void ShutdownDialog::OnCancel() { Show(SW_HIDE); }

bool ShutdownDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) == SC_CLOSE) {
        Show(SW_HIDE);  // the close box hides; the window is never destroyed this way
        return true;
    }
    return false;  // minimise, SC_MONITORPOWER and the rest: default handling
}

// A new taskbar may come with a new scale (the user changed it and the shell
// restarted).
void ShutdownDialog::OnTaskbarCreated() {
    ReplaceTrayIcon();
    m_tray.Add(kProductName);
}

void ShutdownDialog::OnDpiChanged(UINT) { ReplaceTrayIcon(); }

void ShutdownDialog::ReplaceTrayIcon() {
    win::IconHandle icon(LoadTrayIcon());
    if (!icon) return;
    m_tray.SetIcon(icon.Get());
    m_trayIcon = std::move(icon);
}

// Any program may send it: only the documented texts are shown.
void ShutdownDialog::OnShowBalloon(WPARAM which) {
    if (const char* text = PublicBalloonText(which)) ShowBalloon(text);
}

void ShutdownDialog::ShowBalloon(const std::string& text) { m_tray.ShowBalloon(win::FromUtf8(text), kProductName); }

void ShutdownDialog::ShowCountdownStatus(const std::wstring& status) {
    SetMenuItemText(ID_TRAY_STATUS, status);
    m_tray.SetTip(status);
    m_ends.ShowLastMinute();
}

void ShutdownDialog::ShowStartStopLabel(const std::wstring& label) { SetMenuItemText(ID_TRAY_STARTSTOP, label); }

void ShutdownDialog::ShowEndAction(EndAction action) {
    if (m_settingsDialog) m_settingsDialog->ShowEndAction(action);
}

void ShutdownDialog::OnPowerBroadcast(WPARAM event) {
    // Both wake messages may come for one wake: starting the measures and
    // the last minute again twice does no harm.
    if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) return;
    // Woken from sleep: an end in its last minute has the whole minute again.
    m_form.OnResume();
    m_ends.OnResume();
    // The reminders that came due while the computer slept: named, never
    // carried out (the manager may have no window of its own to hear this).
    m_reminderManager->OnClockJump();
}

// A new tray command needs only its menu line in Vantrel.rc, its id in
// resource.h and its case here.
bool ShutdownDialog::OnTrayCommand(UINT id) {
    switch (id) {
    case ID_TRAY_STATUS:
        ShowMessage(L"欢迎使用本软件！", kProductName, MB_ICONINFORMATION);
        break;
    case ID_TRAY_SHOW:
        Show(SW_SHOW);
        break;
    case ID_TRAY_STARTSTOP:
        m_form.OnStartStop();
        break;
    case ID_TRAY_REMINDERS:
        m_reminderManager->Open();
        break;
    case ID_TRAY_MONITOROFF:
        OnMonitorOff();
        break;
    case ID_TRAY_SHUTDOWN:
        OnPowerCommand(kExitShutDown);
        break;
    case ID_TRAY_REBOOT:
        OnPowerCommand(kExitRestart);
        break;
    case ID_TRAY_LOGOFF:
        OnPowerCommand(kExitLogOff);
        break;
    case ID_TRAY_SLEEP:
        OnSuspendCommand(false);
        break;
    case ID_TRAY_HIBERNATE:
        OnSuspendCommand(true);
        break;
    case ID_TRAY_LOCK:
        OnLockCommand();
        break;
    case ID_TRAY_SETTINGS:
        OnSettingsCommand();
        break;
    case ID_TRAY_LEFT:
    case ID_TRAY_RIGHT:
    case ID_TRAY_STEREO:
    case ID_TRAY_MUTE:
        m_channels.Apply(ActionOfSlot(kHotkeySlots[id - ID_TRAY_LEFT]));
        break;
    case ID_TRAY_AUTORUN:
        OnAutoRunCommand();
        break;
    case ID_TRAY_UPDATE:
        if (m_services.requestUpdate) m_services.requestUpdate();
        break;
    case ID_TRAY_ABOUT: {
        AboutDialog about;
        about.DoModal(Hwnd());
        break;
    }
    case ID_TRAY_EXIT:
        PrepareExit();
        PostQuitMessage(0);
        break;
    default:
        return false;
    }
    return true;
}

void ShutdownDialog::OnLinkClicked() {
    // Nothing is reported when the browser cannot be started.
    if (!m_services.shell.Open(kHomePageUrl, "", "", ShowMode::Maximized))
        win::NoteIgnored(L"ShellExecuteW(home page)");
}

void ShutdownDialog::PrepareExit() {
    m_settings.SaveOnExit(m_services.exePath);
    m_reminderManager->SaveAndClose();
    m_tray.Delete();
    EndDialog(IDCANCEL);
}

}  // namespace vt
