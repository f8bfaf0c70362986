// The countdown form of the main window: the window moves texts between its
// controls and the Countdown, and shows the messages it asks for.

#include <windows.h>

#include <commctrl.h>

#include "assistant/mainwnd/ClockTarget.h"
#include "assistant/mainwnd/Countdown.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "assistant/settings/SettingsDialog.h"
#include "resource.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"

namespace vt {

void ShutdownDialog::OnTimer(UINT_PTR id) {
    if (id != kCountdownTimerId) return;
    if (m_countdown->Tick())
        EndCountdown(m_services.power, *this, m_countdown->Action());
    else if (m_countdown->OneMinuteWarningDue())
        m_tray.ShowBalloon(win::FromUtf8(OneMinuteWarning(m_countdown->Action())), L"Vantrel");
    UpdateStatus();
    m_channels.Sample();
}

bool ShutdownDialog::ReadMinutesBox() {
    MinutesRead read = m_countdown->ReadMinutes(win::ToUtf8(ItemText(IDC_MINUTES)));
    if (read == MinutesRead::Ok) return true;
    // The validation messages carry the program's name as their caption.
    std::string text = read == MinutesRead::NotANumber ? kNotANumberMessage : OutOfRangeMessage();
    ShowMessage(win::FromUtf8(text), win::ProgramName(), MB_OK | MB_ICONEXCLAMATION);
    HWND box = Item(IDC_MINUTES);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
}

void ShutdownDialog::OnMinutesChanged() {
    ReadMinutesBox();
    SendDlgItemMessageW(Hwnd(), IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(m_countdown->SpinPosition(), 0));
}

void ShutdownDialog::OnSpinDelta(NMUPDOWN* change) {
    SetMinutesBoxText(m_countdown->SpinStep(change->iPos, change->iDelta));
}

void ShutdownDialog::SetMinutesBoxText(unsigned minutes) {
    m_bSettingMinutes = true;
    SetItemText(IDC_MINUTES, std::to_wstring(minutes));
    m_bSettingMinutes = false;
}

void ShutdownDialog::OnSetTime() {
    const CountdownTarget before = m_settings.target;
    SYSTEMTIME picked = {};
    if (SendDlgItemMessageW(Hwnd(), IDC_CLOCK, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID)
        m_settings.target.clockMinute = picked.wHour * 60u + picked.wMinute;
    if (IsChecked(IDC_AT_CLOCK)) {
        m_settings.target.atClock = true;
        LoadClockTarget();
        if (m_settings.target != before) SaveTarget();
        UpdateStatus();
        return;
    }
    ReadMinutesBox();  // a failed read still leaves the minutes to use
    if (m_countdown->SetTime() == SetTimeResult::ZeroMinutes) {
        ShowMessage(win::FromUtf8(kZeroMinutesMessage), kProductName, MB_OK);
        return;
    }
    m_settings.target.atClock = false;
    // A count typed past the box's range is used, not kept: the next start
    // keeps the last minutes the box can show.
    if (m_countdown->Minutes() <= kMaxMinutes) m_settings.target.minutes = m_countdown->Minutes();
    if (m_settings.target != before) SaveTarget();
    UpdateStatus();
}

void ShutdownDialog::SaveTarget() { m_store.SaveTarget(m_settings.target); }

LocalTime ShutdownDialog::Now() const { return m_services.clock ? m_services.clock->Now() : m_clock.Now(); }

void ShutdownDialog::LoadClockTarget() {
    const std::uint32_t minute = m_settings.target.clockMinute;
    m_countdown->LoadSeconds(SecondsUntilNext(Now(), static_cast<int>(minute / 60), static_cast<int>(minute % 60)));
}

void ShutdownDialog::InitCountdownForm() {
    for (EndAction action : kEndActions)
        SendDlgItemMessageW(Hwnd(), IDC_END_ACTION, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(win::FromUtf8(EndActionName(action)).c_str()));
    SendDlgItemMessageW(Hwnd(), IDC_END_ACTION, CB_SETCURSEL, static_cast<WPARAM>(m_settings.endAction), 0);
    m_countdown->SetAction(m_settings.endAction);

    // Hours and minutes only: the target is a minute of the day.
    SendDlgItemMessageW(Hwnd(), IDC_CLOCK, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
    SYSTEMTIME clock = {};
    GetLocalTime(&clock);
    clock.wHour = static_cast<WORD>(m_settings.target.clockMinute / 60);
    clock.wMinute = static_cast<WORD>(m_settings.target.clockMinute % 60);
    clock.wSecond = clock.wMilliseconds = 0;
    SendDlgItemMessageW(Hwnd(), IDC_CLOCK, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&clock));

    // The last target comes back loaded, the countdown stopped.
    const unsigned minutes = m_settings.target.minutes;
    SetMinutesBoxText(minutes);
    m_countdown->ReadMinutes(std::to_string(minutes));
    m_countdown->SetTime();
    SetChecked(IDC_AT_CLOCK, m_settings.target.atClock);
    if (m_settings.target.atClock) LoadClockTarget();
    OnAtClockClicked();
}

// The box and its spin, or the time picker: only the one "设置时间" reads
// takes input.
void ShutdownDialog::OnAtClockClicked() {
    const bool atClock = IsChecked(IDC_AT_CLOCK);
    EnableWindow(Item(IDC_MINUTES), !atClock);
    EnableWindow(Item(IDC_SPIN), !atClock);
    EnableWindow(Item(IDC_CLOCK), atClock);
}

void ShutdownDialog::OnEndActionChosen() {
    LRESULT selected = SendDlgItemMessageW(Hwnd(), IDC_END_ACTION, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    if (auto action = EndActionFromValue(static_cast<std::uint32_t>(selected))) SetEndAction(*action);
}

void ShutdownDialog::SetEndAction(EndAction action) {
    const bool changed = action != m_settings.endAction;
    m_settings.endAction = action;
    m_countdown->SetAction(action);
    SendDlgItemMessageW(Hwnd(), IDC_END_ACTION, CB_SETCURSEL, static_cast<WPARAM>(action), 0);
    if (m_settingsDialog) m_settingsDialog->ShowEndAction(action);
    if (!changed) return;
    m_store.SaveEndAction(action);
    UpdateStatus();
}

void ShutdownDialog::ShowStartStopLabel() {
    std::wstring label = win::FromUtf8(m_countdown->StartStopLabel());
    SetMenuItemText(ID_TRAY_STARTSTOP, label);
    SetItemText(IDOK, label);
}

void ShutdownDialog::OnStartStop() {
    // A time of day is counted to from the moment of starting.
    if (m_countdown->Paused() && m_settings.target.atClock) LoadClockTarget();
    if (m_countdown->NeedsShortTimeQuestion()) {
        std::wstring question = win::FromUtf8(ShortTimeQuestion(m_countdown->Action()));
        bool confirmed = ShowMessage(question, kProductName, MB_OKCANCEL) == IDOK;
        // The question's loop lets the tray menu through: a start confirmed
        // there meanwhile must not be turned back into a stop by this one.
        if (!confirmed || !m_countdown->Paused()) return;
    }
    m_countdown->StartStop();
    m_services.power.SetExecutionState(ExecutionStateFor(m_countdown->Running()));
    ShowStartStopLabel();
    UpdateStatus();
}

void ShutdownDialog::UpdateStatus() {
    std::wstring text = win::FromUtf8(m_countdown->NextStatusText());
    SetMenuItemText(ID_TRAY_STATUS, text);
    SetItemText(IDC_STATUS, text);
    m_tray.SetTip(text);
}

}  // namespace vt
