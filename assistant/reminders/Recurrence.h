#pragma once
// A reminder record's recurrence: its rule fields handed to the calendar's
// occurrence rules (assistant/calendar/Occurrences.h), and the comparison
// that re-arms an Expired reminder. There is no "next occurrence" in that
// comparison: the ticker asks CompareDue once a second and combines the
// answer with the reminder's state (an Expired one is re-armed on -1; see
// ReminderTicker.h). A day on which the rule does not apply answers +1, like
// a moment that is past, so an Expired reminder stays Expired through it.
#include "assistant/calendar/Calendar.h"
#include "assistant/calendar/Occurrences.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"

namespace vt {

// The record's year, month, day, repeat, hour and minute.
RuleFields RuleFieldsOf(const ReminderItem& item);
OccurrenceRule RuleOf(const ReminderItem& item, const IWorkingDays* workingDays = nullptr);

// +1 when the reminder's moment has come or lies behind on the rule's terms,
// -1 when it lies ahead. Works to the minute: the whole minute hh:mm is due.
// The day is placed by the calendar's PlaceOf without the holiday schedule,
// so 每个法定工作日 compares as Monday to Friday here (the schedule is the
// occurrences' affair). Reads only year, month, day, repeat, hour and
// minute; never returns 0.
int CompareDue(const LocalTime& now, const ReminderItem& item);

// The reminder's date with its weekday, for the rule texts.
CalendarDate DateOf(const ReminderItem& item);

}  // namespace vt
