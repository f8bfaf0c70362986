#pragma once
// The manager's once-a-second check, as a pure step over the book: given the
// moment now, it moves each reminder's state on and says what the window has
// to do. Rows are visited in list order:
//   Ready    + an occurrence not done at or before now
//            (or an old record due at its load)  -> Alerting (alertTicks 0)
//   Alerting                 -> alertTicks + 1; at 1 its alert opens
//   Expired  + an occurrence not done still to come, and CompareDue -1 or
//            (recurring kinds) the day of that occurrence has come
//                                                -> Ready (re-armed)
//   Snoozed and anything else: unchanged (the alert counts down itself)
// So a reminder turns Alerting in one tick and its alert opens in the next.
// The book keeps each reminder's next occurrence, so a Ready reminder costs
// one comparison a tick. However many occurrences fell due while the
// program was not looking (asleep, off, the clock set forward), a reminder
// fires once; a clock set back finds its done occurrences still done.
#include <string>
#include <vector>

#include "assistant/reminders/ReminderBook.h"
#include "assistant/reminders/ReminderLaunch.h"
#include "assistant/reminders/ReminderPower.h"
#include "shared/core/Clock.h"

namespace vt {

// An alert window to open, with what it shows and what it starts.
struct AlertRequest {
    ReminderId id = kNoReminder;  // the alert answers for this reminder
    int row = -1;                 // where to find it in the list this tick
    Gbk title;
    std::string captionSuffix;  // UTF-8, follows the title in the caption
    Gbk content;
    int hour = 0;
    int minute = 0;
    // UTF-8; empty unless it fires later than the occurrence it answers:
    // then the first line of what the alert shows (MissedNote).
    std::string missedNote;
    std::vector<LaunchRequest> launches;  // in this order, after the alert opens
};

// A power action to begin now: the reminder fired at the very occurrence it
// answers (DecidePower). The alert opens as always, a tick later.
struct PowerRequest {
    ReminderId id = kNoReminder;
    int row = -1;
    ReminderPowerAction action = ReminderPowerAction::None;
    LocalMinute occurrence = kNoOccurrence;  // what MarkCarriedOut marks answered
};

struct TickResult {
    LocalTime now;                     // the moment the tick worked with
    std::string caption;               // the manager's new caption (UTF-8)
    std::vector<int> changedRows;      // rows whose state changed, ascending
    std::vector<AlertRequest> alerts;  // in row order
    // A year the holiday schedule does not cover, in which a 每个法定工作日
    // reminder's next occurrence lies, told for the first time this run
    // (UncoveredYearMessage); 0: nothing to tell.
    int uncoveredYear = 0;
    // Filled by ReminderManager::OnTimer, in row order.
    std::vector<PowerRequest> power;
};

TickResult CheckReminders(ReminderBook& book, const LocalTime& now);

}  // namespace vt
