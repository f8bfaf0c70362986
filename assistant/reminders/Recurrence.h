#pragma once
// When a reminder is due. There is no "next occurrence": the manager asks
// CompareDue once a second and combines the answer with the reminder's state
// (a Ready reminder fires on +1, an Expired one is re-armed on -1; see
// ReminderTicker.h). A day on which the rule does not apply answers +1, like
// a moment that is past, so an Expired reminder stays Expired through it.
#include "assistant/reminders/Calendar.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"

namespace vt {

// +1 when the reminder's moment has come or lies behind on the rule's terms,
// -1 when it lies ahead. Works to the minute: the whole minute hh:mm is due.
// Reads only year, month, day, repeat, hour and minute; never returns 0.
int CompareDue(const LocalTime& now, const ReminderItem& item);

// The reminder's date with its weekday, for the rule texts.
CalendarDate DateOf(const ReminderItem& item);

}  // namespace vt
