#include "assistant/reminders/ReminderManager.h"

#include <algorithm>

#include "assistant/reminders/ReminderAlert.h"

namespace vt {

ReminderManager::ReminderManager(IFileSystem& fs, std::string path, const IClock& clock)
    : m_book(fs, path), m_clock(clock), m_holidays(fs, HolidaysPathBeside(path)) {}

ReminderLoadReport ReminderManager::Load() {
    m_holidays.Refresh();
    // Before the records come in, so their next occurrences follow it.
    m_book.SetWorkingDays(&m_holidays.Schedule());
    return m_book.Load(m_clock.Now());
}

TickResult ReminderManager::OnTimer() {
    const LocalTime now = m_clock.Now();
    TickResult result = CheckReminders(m_book, now);
    const TickMoment tick = TickAt(now);
    CollectPower(tick, result);
    m_lastTick = tick;
    CheckHolidays(MinuteOf(now), result);
    return result;
}

void ReminderManager::CollectPower(const TickMoment& now, TickResult& result) const {
    for (int row : result.changedRows) {
        const ReminderItem& item = *m_book.At(row);
        // Alerting with no tick counted: it fired this tick.
        if (!HasState(item, ReminderState::Alerting) || item.alertTicks != 0) continue;
        const ReminderPowerAction action = PowerActionOf(item);
        const LocalMinute occurrence = m_book.ProgressAt(row)->answers;
        if (DecidePower(action, occurrence, m_lastTick, now) != PowerDecision::CarryOut) continue;
        result.power.push_back(PowerRequest{m_book.IdAt(row), row, action, occurrence});
    }
}

bool ReminderManager::MarkCarriedOut(ReminderId id, LocalMinute occurrence) {
    const int row = m_book.RowOf(id);
    if (row < 0 || occurrence == kNoOccurrence) return false;
    m_book.MarkDone(row, occurrence);
    return m_book.Save();
}

void ReminderManager::CheckHolidays(LocalMinute now, TickResult& result) {
    if (now == m_lastHolidayCheck) return;
    m_lastHolidayCheck = now;
    if (m_holidays.Refresh()) {
        m_book.SetWorkingDays(&m_holidays.Schedule());
        for (int row = 0; row < m_book.Count(); ++row)
            if (m_book.At(row)->repeat == static_cast<std::int32_t>(RepeatKind::StatutoryWorkdays))
                result.changedRows.push_back(row);
        std::sort(result.changedRows.begin(), result.changedRows.end());
        result.changedRows.erase(std::unique(result.changedRows.begin(), result.changedRows.end()),
                                 result.changedRows.end());
    }
    result.uncoveredYear = FirstUntoldUncoveredYear();
}

int ReminderManager::FirstUntoldUncoveredYear() {
    const HolidaySchedule& schedule = m_holidays.Schedule();
    for (int row = 0; row < m_book.Count(); ++row) {
        if (m_book.At(row)->repeat != static_cast<std::int32_t>(RepeatKind::StatutoryWorkdays)) continue;
        const ReminderProgress* progress = m_book.ProgressAt(row);
        if (!progress || progress->next == kNoOccurrence) continue;
        const int year = TimeOfMinute(progress->next).year;
        if (!schedule.Covers(year) && m_holidays.FirstTimeUncovered(year)) return year;
    }
    return 0;
}

int ReminderManager::OnAnswer(ReminderId id, long answer) {
    int row = m_book.RowOf(id);
    if (row < 0) return -1;
    ReminderItem item = *m_book.At(row);
    if (answer == kAnswerAcknowledged)
        SetState(item, ReminderState::Expired);
    else if (answer == kAnswerPutOff)
        SetState(item, ReminderState::Snoozed);
    else
        return -1;
    m_book.Replace(row, item);
    // Acknowledging answers for every occurrence up to now; putting off
    // answers for none yet.
    if (answer == kAnswerAcknowledged) m_book.MarkDone(row, MinuteOf(m_clock.Now()));
    return row;
}

int ReminderManager::Add(const ReminderItem& item) {
    m_book.AddFromEditor(item, m_clock.Now());
    return m_book.Count() - 1;
}

EditDecision ReminderManager::DecideEdit(const std::vector<int>& selectedRows) const {
    EditDecision decision;
    if (selectedRows.empty() || !m_book.IsRow(selectedRows.front())) return decision;
    int row = selectedRows.front();
    decision.id = m_book.IdAt(row);
    decision.item = *m_book.At(row);
    decision.alertChanges = m_book.AlertChangesAt(row);
    decision.action = IsAlertOpen(decision.item) ? EditDecision::Action::Refuse : EditDecision::Action::Edit;
    return decision;
}

int ReminderManager::ApplyEdit(const EditDecision& opened, const ReminderItem& edited) {
    int row = m_book.RowOf(opened.id);
    if (row < 0) return -1;
    const ReminderItem& live = *m_book.At(row);
    ReminderItem item = edited;
    if (m_book.AlertChangesAt(row) != opened.alertChanges || IsAlertOpen(live)) {
        // What the alert answered, or is about to, stays as the clock and
        // the user left it.
        item.state = live.state;
        item.alertTicks = live.alertTicks;
        m_book.Replace(row, item);
        return row;
    }
    m_book.ReplaceFromEditor(row, item, m_clock.Now());
    return row;
}

ManagerButtons ReminderManager::Buttons(const std::vector<int>& selectedRows) const {
    ManagerButtons buttons;
    if (selectedRows.empty() || !m_book.IsRow(selectedRows.front())) return buttons;
    buttons.remove = true;
    buttons.edit = !IsAlertOpen(*m_book.At(selectedRows.front()));
    return buttons;
}

}  // namespace vt
