#include "assistant/reminders/ReminderTicker.h"

#include <limits>

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderTexts.h"

namespace vt {

namespace {

AlertRequest AlertFor(ReminderId id, int row, const ReminderItem& item, const ReminderProgress& progress) {
    AlertRequest alert;
    alert.id = id;
    alert.row = row;
    alert.title = GetText(item.title);
    alert.captionSuffix = AlertCaptionSuffix(item.hour, item.minute);
    alert.content = GetText(item.content);
    alert.hour = item.hour;
    alert.minute = item.minute;
    alert.launches = LaunchRequestsFor(item);
    if (progress.answers != kNoOccurrence && progress.firedAt > progress.answers)
        alert.missedNote = MissedNote(TimeOfMinute(progress.answers), progress.missed);
    return alert;
}

bool DueNow(const ReminderProgress& p, LocalMinute now) { return p.dueAtOnce || p.next <= now; }

// The old comparison's re-arm, and for the recurring kinds the first tick of
// the day of the next occurrence that is not done, so that a reminder whose
// every tick of the day comes after its time still comes back. Nothing left
// to ring (a done once reminder with the clock set back before its moment)
// is never re-armed: it would wait as 准备中 for ever.
bool ReArmNow(const ReminderItem& item, const ReminderProgress& p, const LocalTime& now, LocalMinute nowMinute) {
    if (p.next == kNoOccurrence) return false;
    if (CompareDue(now, item) == -1) return true;
    if (item.repeat == static_cast<std::int32_t>(RepeatKind::Once)) return false;
    return StartOfDay(p.next) <= nowMinute;
}

}  // namespace

TickResult CheckReminders(ReminderBook& book, const LocalTime& now) {
    TickResult result;
    result.now = now;
    result.caption = ManagerCaption(now);
    const LocalMinute nowMinute = MinuteOf(now);
    for (int row = 0; row < book.Count(); ++row) {
        // Records are large: a row is copied and written back only when
        // this tick changes it, so an idle tick reads each record once.
        const ReminderItem& current = *book.At(row);
        const ReminderProgress& progress = *book.ProgressAt(row);
        ReminderItem item;
        bool fired = false;
        switch (static_cast<ReminderState>(current.state)) {
        case ReminderState::Ready:
            if (!DueNow(progress, nowMinute)) continue;
            item = current;
            SetState(item, ReminderState::Alerting);
            item.alertTicks = 0;
            fired = true;
            break;
        case ReminderState::Alerting:
            item = current;
            // An alert nobody answers keeps counting; stop at the top
            // rather than wrap round to a value that would reopen it.
            if (item.alertTicks < std::numeric_limits<std::int32_t>::max()) ++item.alertTicks;
            if (item.alertTicks == 1) result.alerts.push_back(AlertFor(book.IdAt(row), row, item, progress));
            break;
        case ReminderState::Expired:
            if (!ReArmNow(current, progress, now, nowMinute)) continue;
            item = current;
            SetState(item, ReminderState::Ready);
            break;
        default:
            continue;
        }
        const std::int32_t before = current.state;
        book.Replace(row, item);
        if (fired) book.NoteFiring(row, nowMinute);
        if (item.state != before) result.changedRows.push_back(row);
    }
    return result;
}

}  // namespace vt
