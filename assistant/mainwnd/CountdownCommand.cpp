// The countdown form's three ways (minutes, "在" a time of day, "当" a
// condition), the wait for a condition, and the requests of the command line.
#include "assistant/AssistantNames.h"
#include "assistant/mainwnd/CountdownForm.h"
#include "resource.h"
#include "shared/win/Encoding.h"

namespace vt {
namespace {

constexpr char kNoProgramMessage[] = "请填入要等待退出的程序，例如 Thunder.exe。";
constexpr char kBadJobMinutesMessage[] = "请填入一个在1和65535之间的分钟数。";

}  // namespace

CountdownWay CountdownForm::Way() const {
    if (m_window.IsChecked(IDC_AT_CLOCK)) return CountdownWay::Clock;
    if (m_window.IsChecked(IDC_WHEN)) return CountdownWay::Condition;
    return CountdownWay::Minutes;
}

// Only the controls of the way chosen take input.
void CountdownForm::SelectWay(CountdownWay way) {
    m_window.SetChecked(IDC_BY_MINUTES, way == CountdownWay::Minutes);
    m_window.SetChecked(IDC_AT_CLOCK, way == CountdownWay::Clock);
    m_window.SetChecked(IDC_WHEN, way == CountdownWay::Condition);
    EnableWindow(m_window.Item(IDC_MINUTES), way == CountdownWay::Minutes);
    EnableWindow(m_window.Item(IDC_SPIN), way == CountdownWay::Minutes);
    EnableWindow(m_window.Item(IDC_CLOCK), way == CountdownWay::Clock);
    m_conditionRow.Enable(way == CountdownWay::Condition);
}

// The three are one choice; unticking the one ticked leaves the minutes.
void CountdownForm::OnWayClicked(WORD id) {
    if (!m_window.IsChecked(id)) return SelectWay(Way());
    SelectWay(id == IDC_AT_CLOCK ? CountdownWay::Clock
              : id == IDC_WHEN   ? CountdownWay::Condition
                                 : CountdownWay::Minutes);
}

bool CountdownForm::LoadCondition(const JobCondition& condition) {
    if (!IsValid(condition)) {
        const bool program = condition.kind == JobConditionKind::ProgramExit;
        m_window.ShowMessage(win::FromUtf8(program ? kNoProgramMessage : kBadJobMinutesMessage), kProductName,
                             MB_OK | MB_ICONEXCLAMATION);
        SetFocus(m_conditionRow.ValueControl());
        return false;
    }
    m_settings.SetJobCondition(condition);
    // A countdown under way becomes the wait for the condition.
    const bool running = m_countdown.Running() || m_wait.Armed();
    if (m_countdown.Running()) m_countdown.StartStop();
    m_wait.Load(condition, m_settings.Thresholds(), m_jobs.sampler, m_jobs.seconds());
    m_bAtClock = false;
    SetWaiting(running);
    return true;
}

void CountdownForm::LeaveCondition(bool wasWaiting) {
    m_wait.Unload();
    if (wasWaiting)
        StartCountdown();
    else
        ShowStartStopLabel();
    UpdateStatus();
}

void CountdownForm::OnStartStopWait() { SetWaiting(!m_wait.Armed()); }

void CountdownForm::SetWaiting(bool on) {
    if (on && !m_wait.Armed())
        m_wait.Arm(m_settings.Thresholds(), m_jobs.sampler, m_jobs.seconds());
    else if (!on)
        m_wait.Disarm();
    m_power.SetExecutionState(ExecutionStateFor(m_wait.Armed()));
    ShowStartStopLabel();
    UpdateStatus();
}

void CountdownForm::TickCondition() {
    if (!m_wait.Armed() || !m_wait.Tick(m_jobs.sampler, m_jobs.seconds())) return;
    // The job is done: the countdown's last minute, as after minutes.
    m_countdown.LoadSeconds(60);
    StartCountdown();
}

void CountdownForm::StartCountdown() {
    if (m_countdown.Paused()) m_countdown.StartStop();
    m_power.SetExecutionState(ExecutionStateFor(true));
    ShowStartStopLabel();
}

void CountdownForm::ResumeConditionWatch() { m_wait.OnResume(m_jobs.seconds()); }

std::string CountdownForm::StatusText() {
    if (m_wait.Loaded() && m_countdown.Paused()) return m_wait.StatusText(m_countdown.Action());
    return m_countdown.NextStatusText();
}

void CountdownForm::LoadMinutes(std::uint32_t minutes) {
    SetMinutesBoxText(minutes);
    m_countdown.ReadMinutes(std::to_string(minutes));
    SendDlgItemMessageW(m_window.Hwnd(), IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(m_countdown.SpinPosition(), 0));
    m_countdown.SetTime();
    m_bAtClock = false;
}

void CountdownForm::LoadClock(std::uint32_t clockMinute) {
    SYSTEMTIME clock = {};
    GetLocalTime(&clock);
    clock.wHour = static_cast<WORD>(clockMinute / 60);
    clock.wMinute = static_cast<WORD>(clockMinute % 60);
    clock.wSecond = clock.wMilliseconds = 0;
    SendDlgItemMessageW(m_window.Hwnd(), IDC_CLOCK, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&clock));
    m_settings.SetClockMinute(clockMinute);
    m_bAtClock = true;
    LoadClockTarget();
}

// As if the user had made the same choices in the form; a command is its
// own consent, so no question is asked.
bool CountdownForm::CarryOut(const CountdownRequest& request) {
    if (request.cancel) {
        if (m_wait.Armed()) SetWaiting(false);
        if (m_countdown.Running()) OnStartStop();
        return true;
    }
    if (request.way == CountdownWay::Condition && !IsValid(request.condition)) return false;
    if (request.action) {
        m_settings.SetEndAction(*request.action);
        ShowEndAction();
    }
    SelectWay(request.way);
    switch (request.way) {
    case CountdownWay::Minutes:
        LoadMinutes(request.minutes);
        break;
    case CountdownWay::Clock:
        LoadClock(request.clockMinute);
        break;
    case CountdownWay::Condition:
        m_conditionRow.Show(request.condition);
        LoadCondition(request.condition);
        SetWaiting(true);
        return true;
    }
    m_wait.Unload();
    StartCountdown();
    UpdateStatus();
    return true;
}

}  // namespace vt
