#include "assistant/mainwnd/EndKeeper.h"

#include "assistant/reminders/ReminderManagerDialog.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"

namespace vt {

// After every change of either end: the countdown as it stands now, and the
// window shown, brought up to date or hidden.
void EndKeeper::ShowLastMinute() {
    if (m_bLeaving) {
        m_lastMinute.Hide();
        return;
    }
    m_ends.SetCountdown(m_form.Running(), m_form.SecondsLeft(), m_form.Action(), m_form.LastMinuteReason());
    const EndView view = m_ends.Next();
    switch (view.step) {
    case LastMinuteStep::Show:
        m_lastMinute.Show(view.action, view.seconds, win::FromUtf8(view.reason));
        break;
    case LastMinuteStep::Update:
        m_lastMinute.SetSecondsLeft(view.seconds);
        break;
    case LastMinuteStep::Hide:
        m_lastMinute.Hide();
        break;
    case LastMinuteStep::None:
        break;
    }
}

// The reminder file is saved with the occurrences answered before the action
// runs: a shutdown must not bring them back as missed at the next start.
void EndKeeper::MarkCarriedOut(const std::vector<CarriedOccurrence>& carried) {
    for (const CarriedOccurrence& done : carried)
        if (!m_reminders.Manager().MarkCarriedOut(done.id, done.occurrence))
            win::NoteIgnored(L"MarkCarriedOut");  // gone, or not saved: the action still runs
}

void EndKeeper::OnCountdownEnd(EndAction action) {
    MarkCarriedOut(m_ends.TakeCountdownRiders());
    m_lastMinute.Hide();
    m_bLeaving = EndsLogon(action);
    EndCountdown(m_power, m_host, action);
}

void EndKeeper::Carry(const EndOrder& order) {
    switch (order.step) {
    case EndStep::None:
        break;
    case EndStep::PostponeCountdown:
        m_form.Postpone();
        break;
    case EndStep::StopCountdown:
        m_form.Stop();
        break;
    case EndStep::EndCountdown:
        OnCountdownEnd(m_form.Action());
        break;
    case EndStep::EndReminder:
        MarkCarriedOut(order.carried);
        m_lastMinute.Hide();
        m_bLeaving = EndsLogon(order.action);
        RunEndAction(m_power, m_host, order.action);
        break;
    case EndStep::Lock:
        MarkCarriedOut(order.carried);
        m_power.Lock();
        break;
    }
    ShowLastMinute();
}

void EndKeeper::OnReminderPower(const PowerRequest& request) {
    if (m_bLeaving) return;
    std::string reason;
    if (const ReminderItem* item = m_reminders.Manager().Book().At(request.row))
        reason = win::ToUtf8(win::FromGbk(GetText(item->title)));
    Carry(m_ends.OnReminderDue(request.action, {request.id, request.occurrence}, reason));
}

void EndKeeper::TickEnds() {
    if (!m_bLeaving) Carry(m_ends.Tick());
}

void EndKeeper::OnPostpone() { Carry(m_ends.Postpone()); }

void EndKeeper::OnCancelCountdown() { Carry(m_ends.Cancel()); }

void EndKeeper::OnActNow() { Carry(m_ends.ActNow()); }

// Woken from sleep: an end in its last minute has the whole minute again.
void EndKeeper::OnResume() {
    m_ends.OnResume();
    ShowLastMinute();
}

}  // namespace vt
