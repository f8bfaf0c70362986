#include "assistant/mainwnd/CountdownForm.h"

#include "assistant/AssistantNames.h"
#include "assistant/mainwnd/ClockTarget.h"
#include "resource.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"

namespace vt {

void CountdownForm::Init() {
    HWND window = m_window.Hwnd();
    for (EndAction action : kEndActions)
        SendDlgItemMessageW(window, IDC_END_ACTION, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(win::FromUtf8(EndActionName(action)).c_str()));
    m_countdown.SetAction(m_settings.GetEndAction());
    ShowEndAction();

    // Hours and minutes only: the target is a minute of the day.
    SendDlgItemMessageW(window, IDC_CLOCK, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
    SYSTEMTIME clock = {};
    GetLocalTime(&clock);
    clock.wHour = static_cast<WORD>(m_settings.ClockMinute() / 60);
    clock.wMinute = static_cast<WORD>(m_settings.ClockMinute() % 60);
    clock.wSecond = clock.wMilliseconds = 0;
    SendDlgItemMessageW(window, IDC_CLOCK, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&clock));
    SetMinutesBoxText(m_countdown.Minutes());
    SendDlgItemMessageW(window, IDC_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kSpinMax, kSpinMin));
    SendDlgItemMessageW(window, IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(m_countdown.SpinPosition(), 0));
    m_conditionRow.Init(m_settings.GetJobCondition());
    SelectWay(CountdownWay::Minutes);
}

bool CountdownForm::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_SETTIME:
        if (code == BN_CLICKED) OnSetTime();
        return true;
    case IDC_MINUTES:
        if (code == EN_CHANGE && !m_bSettingMinutes) OnMinutesChanged();
        return true;
    case IDC_END_ACTION:
        if (code == CBN_SELCHANGE) OnEndActionChosen();
        return true;
    case IDC_BY_MINUTES:
    case IDC_AT_CLOCK:
    case IDC_WHEN:
        if (code == BN_CLICKED) OnWayClicked(id);
        return true;
    }
    return m_conditionRow.OnCommand(id, code);
}

bool CountdownForm::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->idFrom != IDC_SPIN || header->code != UDN_DELTAPOS) return false;
    OnSpinDelta(reinterpret_cast<NMUPDOWN*>(header));
    result = 0;
    return true;
}

void CountdownForm::OnTimer() {
    if (m_countdown.Tick())
        m_host.OnCountdownEnd(m_countdown.Action());
    else if (m_countdown.OneMinuteWarningDue())
        m_host.ShowBalloon(m_wait.WarningText(m_countdown.Action()));
    TickCondition();
    UpdateStatus();
}

bool CountdownForm::ReadMinutesBox() {
    MinutesRead read = m_countdown.ReadMinutes(win::ToUtf8(m_window.ItemText(IDC_MINUTES)));
    if (read == MinutesRead::Ok) return true;
    // The validation messages carry the program's name as their caption.
    std::string text = read == MinutesRead::NotANumber ? kNotANumberMessage : OutOfRangeMessage();
    m_window.ShowMessage(win::FromUtf8(text), win::ProgramName(), MB_OK | MB_ICONEXCLAMATION);
    HWND box = m_window.Item(IDC_MINUTES);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
}

void CountdownForm::OnMinutesChanged() {
    ReadMinutesBox();
    SendDlgItemMessageW(m_window.Hwnd(), IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(m_countdown.SpinPosition(), 0));
}

void CountdownForm::OnSpinDelta(NMUPDOWN* change) {
    SetMinutesBoxText(m_countdown.SpinStep(change->iPos, change->iDelta));
}

void CountdownForm::SetMinutesBoxText(unsigned minutes) {
    m_bSettingMinutes = true;
    m_window.SetItemText(IDC_MINUTES, std::to_wstring(minutes));
    m_bSettingMinutes = false;
}

void CountdownForm::OnSetTime() {
    // The picker's time is kept whichever way the countdown is set.
    SYSTEMTIME picked = {};
    if (SendDlgItemMessageW(m_window.Hwnd(), IDC_CLOCK, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) ==
        GDT_VALID)
        m_settings.SetClockMinute(picked.wHour * 60u + picked.wMinute);
    if (Way() == CountdownWay::Condition) {
        LoadCondition(m_conditionRow.Read());
        return;
    }
    const bool wasWaiting = m_wait.Armed();
    if (Way() == CountdownWay::Clock) {
        m_bAtClock = true;
        LoadClockTarget();
        LeaveCondition(wasWaiting);
        return;
    }
    ReadMinutesBox();  // a failed read still leaves the minutes to use
    if (m_countdown.SetTime() == SetTimeResult::ZeroMinutes) {
        m_window.ShowMessage(win::FromUtf8(kZeroMinutesMessage), kProductName, MB_OK);
        return;
    }
    m_bAtClock = false;
    LeaveCondition(wasWaiting);
}

void CountdownForm::LoadClockTarget() {
    const std::uint32_t minute = m_settings.ClockMinute();
    m_countdown.LoadSeconds(
        SecondsUntilNext(m_clock.Now(), static_cast<int>(minute / 60), static_cast<int>(minute % 60)));
}

void CountdownForm::OnEndActionChosen() {
    LRESULT selected = SendDlgItemMessageW(m_window.Hwnd(), IDC_END_ACTION, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    if (auto action = EndActionFromValue(static_cast<std::uint32_t>(selected))) m_settings.SetEndAction(*action);
    ShowEndAction();
}

void CountdownForm::ShowEndAction() {
    const EndAction action = m_settings.GetEndAction();
    SendDlgItemMessageW(m_window.Hwnd(), IDC_END_ACTION, CB_SETCURSEL, static_cast<WPARAM>(action), 0);
    m_host.ShowEndAction(action);
    if (action == m_countdown.Action()) return;
    m_countdown.SetAction(action);
    UpdateStatus();
}

void CountdownForm::ShowStartStopLabel() {
    std::wstring label = win::FromUtf8(m_wait.Armed() ? kStopLabel : m_countdown.StartStopLabel());
    m_host.ShowStartStopLabel(label);
    m_window.SetItemText(IDOK, label);
}

void CountdownForm::OnStartStop() {
    // A loaded condition is waited for; its last minute stops as any countdown.
    if (m_wait.Loaded() && m_countdown.Paused()) return OnStartStopWait();
    // A time of day is counted to from the moment of starting.
    if (m_countdown.Paused() && m_bAtClock) LoadClockTarget();
    if (m_countdown.NeedsShortTimeQuestion()) {
        std::wstring question = win::FromUtf8(ShortTimeQuestion(m_countdown.Action()));
        bool confirmed = m_window.ShowMessage(question, kProductName, MB_OKCANCEL) == IDOK;
        // The question's loop lets the tray menu through: a start confirmed
        // there meanwhile must not be turned back into a stop by this one.
        if (!confirmed || !m_countdown.Paused()) return;
    }
    m_countdown.StartStop();
    m_power.SetExecutionState(ExecutionStateFor(m_countdown.Running()));
    ShowStartStopLabel();
    UpdateStatus();
}

void CountdownForm::Rearm() {
    m_countdown.Rearm();
    if (m_bAtClock) LoadClockTarget();
    ShowStartStopLabel();
}

void CountdownForm::Postpone() {
    m_countdown.Postpone();
    UpdateStatus();
}

void CountdownForm::Stop() {
    if (m_countdown.Running()) OnStartStop();
}

void CountdownForm::OnResume() {
    m_countdown.OnResume();
    ResumeConditionWatch();
    UpdateStatus();
}

void CountdownForm::UpdateStatus() {
    std::wstring text = win::FromUtf8(StatusText());
    m_window.SetItemText(IDC_STATUS, text);
    m_host.ShowCountdownStatus(text);
}

}  // namespace vt
