#include "assistant/mainwnd/EndSchedule.h"

#include <utility>

namespace vt {

void EndSchedule::SetCountdown(bool running, int seconds, EndAction action, const std::string& reason) {
    m_countdownRunning = running;
    m_countdownReason = reason;
    m_countdownSeconds = seconds;
    m_countdownAction = action;
    if (!running) m_countdownRiders.clear();
}

EndSchedule::Source EndSchedule::InForce() const {
    if (CountdownCounts() && m_reminder)
        return m_countdownSeconds <= m_reminder->seconds ? Source::Countdown : Source::Reminder;
    if (CountdownCounts()) return Source::Countdown;
    return m_reminder ? Source::Reminder : Source::None;
}

EndOrder EndSchedule::OnReminderDue(ReminderPowerAction action, const CarriedOccurrence& due,
                                    const std::string& reason) {
    if (action == ReminderPowerAction::Lock) return EndOrder{EndStep::Lock, EndAction::ShutDown, {due}};
    const std::optional<EndAction> end = EndActionOf(action);
    if (!end) return {};
    // An end at most a minute away comes first: this one rides on it.
    switch (InForce()) {
    case Source::Countdown:
        if (m_countdownSeconds > kLastMinuteSeconds) break;
        m_countdownRiders.push_back(due);
        return {};
    case Source::Reminder:
        if (m_reminder->seconds > kLastMinuteSeconds) break;
        m_reminder->riders.push_back(due);
        return {};
    case Source::None:
        break;
    }
    // This one comes first; a reminder's end put off past it goes with it.
    ReminderEnd next;
    next.action = *end;
    next.reason = reason;
    if (m_reminder) next.riders = std::move(m_reminder->riders);
    next.riders.push_back(due);
    m_reminder = std::move(next);
    return {};
}

EndOrder EndSchedule::Tick() {
    if (!m_reminder || --m_reminder->seconds >= 0) return {};
    EndOrder order{EndStep::EndReminder, m_reminder->action, std::move(m_reminder->riders)};
    m_reminder.reset();
    return order;
}

std::vector<CarriedOccurrence> EndSchedule::TakeCountdownRiders() { return std::exchange(m_countdownRiders, {}); }

EndOrder EndSchedule::Postpone() {
    switch (InForce()) {
    case Source::Countdown:
        return EndOrder{EndStep::PostponeCountdown, m_countdownAction, {}};
    case Source::Reminder:
        m_reminder->seconds = SecondsAfterPostpone(m_reminder->seconds);
        break;
    case Source::None:
        break;
    }
    return {};
}

EndOrder EndSchedule::Cancel() {
    switch (InForce()) {
    case Source::Countdown:
        m_countdownRiders.clear();
        return EndOrder{EndStep::StopCountdown, m_countdownAction, {}};
    case Source::Reminder:
        m_reminder.reset();
        break;
    case Source::None:
        break;
    }
    return {};
}

EndOrder EndSchedule::ActNow() {
    switch (InForce()) {
    case Source::Countdown:
        return EndOrder{EndStep::EndCountdown, m_countdownAction, {}};
    case Source::Reminder: {
        EndOrder order{EndStep::EndReminder, m_reminder->action, std::move(m_reminder->riders)};
        m_reminder.reset();
        return order;
    }
    case Source::None:
        break;
    }
    return {};
}

void EndSchedule::OnResume() {
    if (m_reminder && m_reminder->seconds >= 0 && m_reminder->seconds <= kLastMinuteSeconds)
        m_reminder->seconds = kLastMinuteSeconds;
}

EndView EndSchedule::Next() {
    EndView view;
    const Source source = InForce();
    if (source == Source::Countdown) {
        view.action = m_countdownAction;
        view.seconds = m_countdownSeconds;
        view.reason = m_countdownReason;
    } else if (source == Source::Reminder) {
        view.action = m_reminder->action;
        view.seconds = m_reminder->seconds;
        view.reason = m_reminder->reason;
    }
    view.step = m_watch.Next(source != Source::None, view.seconds);
    // Another end took over inside the minute: the window says so, even
    // where the user had closed it.
    const bool other = source != m_shownSource || view.action != m_shownAction;
    if (other && view.step == LastMinuteStep::Update) view.step = LastMinuteStep::Show;
    m_shownSource = source;
    m_shownAction = view.action;
    return view;
}

}  // namespace vt
