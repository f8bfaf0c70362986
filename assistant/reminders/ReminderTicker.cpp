#include "assistant/reminders/ReminderTicker.h"

#include <limits>

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderTexts.h"

namespace vt {

namespace {

AlertRequest AlertFor(ReminderId id, int row, const ReminderItem& item) {
    AlertRequest alert;
    alert.id = id;
    alert.row = row;
    alert.title = GetText(item.title);
    alert.captionSuffix = AlertCaptionSuffix(item.hour, item.minute);
    alert.content = GetText(item.content);
    alert.hour = item.hour;
    alert.minute = item.minute;
    alert.launches = LaunchRequestsFor(item);
    return alert;
}

}  // namespace

TickResult CheckReminders(ReminderBook& book, const LocalTime& now) {
    TickResult result;
    result.caption = ManagerCaption(now);
    for (int row = 0; row < book.Count(); ++row) {
        // Records are large: a row is copied and written back only when
        // this tick changes it, so an idle tick reads each record once.
        const ReminderItem& current = *book.At(row);
        ReminderItem item;
        switch (static_cast<ReminderState>(current.state)) {
        case ReminderState::Ready:
            if (CompareDue(now, current) != 1) continue;
            item = current;
            SetState(item, ReminderState::Alerting);
            item.alertTicks = 0;
            break;
        case ReminderState::Alerting:
            item = current;
            // An alert nobody answers keeps counting; stop at the top
            // rather than wrap round to a value that would reopen it.
            if (item.alertTicks < std::numeric_limits<std::int32_t>::max()) ++item.alertTicks;
            if (item.alertTicks == 1) result.alerts.push_back(AlertFor(book.IdAt(row), row, item));
            break;
        case ReminderState::Expired:
            if (CompareDue(now, current) != -1) continue;
            item = current;
            SetState(item, ReminderState::Ready);
            break;
        default:
            continue;
        }
        const std::int32_t before = current.state;
        book.Replace(row, item);
        if (item.state != before) result.changedRows.push_back(row);
    }
    return result;
}

}  // namespace vt
