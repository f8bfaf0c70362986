#include "assistant/reminders/Recurrence.h"

namespace vt {

namespace {

int TimeTest(const LocalTime& now, const ReminderItem& item) {
    if (now.hour != item.hour) return now.hour > item.hour ? 1 : -1;
    return now.minute >= item.minute ? 1 : -1;
}

}  // namespace

RuleFields RuleFieldsOf(const ReminderItem& item) {
    RuleFields f;
    f.repeat = item.repeat;
    f.year = item.year;
    f.month = item.month;
    f.day = item.day;
    f.hour = item.hour;
    f.minute = item.minute;
    return f;
}

OccurrenceRule RuleOf(const ReminderItem& item, const IWorkingDays* workingDays) {
    return RuleOf(RuleFieldsOf(item), workingDays);
}

int CompareDue(const LocalTime& now, const ReminderItem& item) {
    const std::int64_t today = DayNumber(now.year, now.month, now.day);
    switch (PlaceOf(RuleOf(item), DateOfDay(today), today)) {
    case DayPlace::Ahead:
        return -1;
    case DayPlace::Past:
        return 1;
    case DayPlace::On:
        break;
    }
    return TimeTest(now, item);
}

CalendarDate DateOf(const ReminderItem& item) { return DateOn(item.year, item.month, item.day); }

}  // namespace vt
