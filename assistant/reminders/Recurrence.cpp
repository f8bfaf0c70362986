#include "assistant/reminders/Recurrence.h"

#include "assistant/reminders/LunarCalendar.h"

namespace vt {

namespace {

// +1 / -1 when a differs from b, 0 when equal (then the next test decides).
int Order(long long a, long long b) { return a > b ? 1 : (a < b ? -1 : 0); }

int TimeTest(const LocalTime& now, const ReminderItem& item) {
    int byHour = Order(now.hour, item.hour);
    if (byHour != 0) return byHour;
    return now.minute >= item.minute ? 1 : -1;
}

// The day test: +1 or -1 when the day decides, 0 when the time must.
int DayTest(const LocalTime& now, const ReminderItem& item) {
    switch (static_cast<RepeatKind>(item.repeat)) {
    case RepeatKind::Once: {
        int c = Order(now.year, item.year);
        if (c == 0) c = Order(now.month, item.month);
        if (c == 0) c = Order(now.day, item.day);
        return c;
    }
    case RepeatKind::Yearly: {
        int c = Order(now.month, item.month);
        if (c == 0) c = Order(now.day, item.day);
        return c;
    }
    case RepeatKind::Monthly:
        return Order(now.day, item.day);
    case RepeatKind::Workdays:
    // The holiday schedule is the occurrence rule's affair; the comparison
    // that re-arms a reminder keeps to Monday to Friday.
    case RepeatKind::StatutoryWorkdays:
        return (now.weekday == 0 || now.weekday == 6) ? 1 : 0;
    case RepeatKind::LunarYearly: {
        // Any day but the rule's lunar date has passed it; a date outside
        // the lunar table has no rule at all.
        const auto rule = LunarOf(item.year, item.month, item.day);
        const std::int64_t today = DayNumber(now.year, now.month, now.day);
        if (!rule) return 1;
        return today == DayNumber(item.year, item.month, item.day) || IsLunarYearlyDay(today, rule->month, rule->day)
                   ? 0
                   : 1;
    }
    case RepeatKind::Weekends:
        return (now.weekday >= 1 && now.weekday <= 5) ? 1 : 0;
    case RepeatKind::Weekly:
        return now.weekday != WeekdayOf(item.year, item.month, item.day) ? 1 : 0;
    case RepeatKind::Daily:
    default:
        return 0;
    }
}

}  // namespace

int CompareDue(const LocalTime& now, const ReminderItem& item) {
    int byDay = DayTest(now, item);
    return byDay != 0 ? byDay : TimeTest(now, item);
}

CalendarDate DateOf(const ReminderItem& item) { return DateOn(item.year, item.month, item.day); }

}  // namespace vt
