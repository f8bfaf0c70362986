#include "assistant/calendar/Occurrences.h"

#include <algorithm>
#include <cstdint>

#include "assistant/calendar/LunarCalendar.h"

namespace vt {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// A day and its date, stepped one day at a time without converting day
// numbers back into dates on every step.
struct DayCursor {
    std::int64_t number;
    CalendarDate date;

    explicit DayCursor(std::int64_t n) : number(n), date(DateOfDay(n)) {}

    // The first and last days of the 32-bit years, where records end.
    bool AtLast() const { return date.year == INT32_MAX && date.month == 12 && date.day == 31; }
    bool AtFirst() const { return date.year == INT32_MIN && date.month == 1 && date.day == 1; }

    void Forward() {
        ++number;
        date.weekday = (date.weekday + 1) % 7;
        if (++date.day > DaysInMonth(date.year, date.month)) {
            date.day = 1;
            if (++date.month > 12) {
                date.month = 1;
                ++date.year;
            }
        }
    }

    void Back() {
        --number;
        date.weekday = (date.weekday + 6) % 7;
        if (--date.day < 1) {
            if (--date.month < 1) {
                date.month = 12;
                --date.year;
            }
            date.day = DaysInMonth(date.year, date.month);
        }
    }
};

// The first and last days a record's 32-bit year can name; moments outside
// them (a done-through moment another writer's bytes make up) have no
// occurrences beside them.
std::int64_t FirstDay() {
    static const std::int64_t first = DayNumber(INT32_MIN, 1, 1);
    return first;
}
std::int64_t LastDay() {
    static const std::int64_t last = DayNumber(INT32_MAX, 12, 31);
    return last;
}

bool IsWeekday(const CalendarDate& date) { return date.weekday >= 1 && date.weekday <= 5; }

// +1 / -1 when a differs from b, 0 when equal.
int Order(std::int64_t a, std::int64_t b) { return a > b ? 1 : (a < b ? -1 : 0); }

DayPlace PlaceBy(int order) { return order < 0 ? DayPlace::Ahead : (order > 0 ? DayPlace::Past : DayPlace::On); }
DayPlace OnOrPast(bool on) { return on ? DayPlace::On : DayPlace::Past; }

DayPlace YearlyPlace(const OccurrenceRule& rule, const CalendarDate& date) {
    // A date this year lacks falls on the first of the following month.
    if (date.day == 1 && rule.day > DaysInMonth(date.year, rule.month) && date.month == rule.month % 12 + 1)
        return DayPlace::On;
    int order = Order(date.month, rule.month);
    return PlaceBy(order != 0 ? order : Order(date.day, rule.day));
}

// A lunar rule falls once a lunar year: its date in this lunar year or the
// next is found at once, instead of day by day over up to 385 days.
LocalMinute NextLunarOccurrence(const OccurrenceRule& rule, LocalMinute after) {
    const std::int64_t first = rule.firstDay;
    const std::int64_t day = after == kNothingDone ? first : std::max(first, DayOfMinute(after));
    const LocalMinute own = MinuteOn(first, 0, rule.minuteOfDay);
    if (day == first && own > after) return own;
    const auto lunar = LunarOfDay(day);
    if (!lunar) return kNoOccurrence;
    for (int year = lunar->year; year <= lunar->year + 1; ++year) {
        const auto date = LunarYearlyDate(year, rule.lunarMonth, rule.lunarDay);
        if (!date) continue;
        const LocalMinute m = MinuteOn(DayNumber(date->year, date->month, date->day), 0, rule.minuteOfDay);
        if (m > after && m > own) return m;
    }
    return kNoOccurrence;
}

}  // namespace

LocalMinute MinuteOn(std::int64_t dayNumber, int hour, int minute) {
    return dayNumber * kMinutesPerDay + hour * 60 + minute;
}

LocalMinute MinuteOf(const LocalTime& t) { return MinuteOn(DayNumber(t.year, t.month, t.day), t.hour, t.minute); }

std::int64_t DayOfMinute(LocalMinute m) { return FloorDiv(m, kMinutesPerDay); }

LocalMinute StartOfDay(LocalMinute m) { return DayOfMinute(m) * kMinutesPerDay; }

LocalTime TimeOfMinute(LocalMinute m) {
    CalendarDate date = DateOfDay(DayOfMinute(m));
    int rest = static_cast<int>(m - StartOfDay(m));
    LocalTime t;
    t.year = date.year;
    t.month = date.month;
    t.day = date.day;
    t.weekday = date.weekday;
    t.hour = rest / 60;
    t.minute = rest % 60;
    t.second = 0;
    return t;
}

OccurrenceRule RuleOf(const RuleFields& fields, const IWorkingDays* workingDays) {
    OccurrenceRule rule;
    rule.kind = fields.repeat;
    rule.firstDay = DayNumber(fields.year, fields.month, fields.day);
    rule.date = DateOfDay(rule.firstDay);
    rule.month = fields.month;
    rule.day = fields.day;
    rule.workingDays = workingDays;
    bool clock = fields.hour >= 0 && fields.hour <= 23 && fields.minute >= 0 && fields.minute <= 59;
    rule.minuteOfDay = clock ? fields.hour * 60 + fields.minute : 0;
    switch (static_cast<RepeatKind>(fields.repeat)) {
    case RepeatKind::Monthly:
        rule.none = !clock || fields.day < 1 || fields.day > 31;
        break;
    case RepeatKind::Yearly:
        rule.none = !clock || fields.month < 1 || fields.month > 12 || fields.day < 1 || fields.day > 31;
        break;
    case RepeatKind::LunarYearly:
        if (const auto lunar = LunarOf(fields.year, fields.month, fields.day)) {
            rule.lunarMonth = lunar->month;
            rule.lunarDay = lunar->day;
            rule.none = !clock;
        } else {
            rule.none = true;
        }
        break;
    default:
        rule.none = !clock;
        break;
    }
    return rule;
}

DayPlace PlaceOf(const OccurrenceRule& rule, const CalendarDate& date, std::int64_t dayNumber) {
    switch (static_cast<RepeatKind>(rule.kind)) {
    case RepeatKind::Once:
        return PlaceBy(Order(dayNumber, rule.firstDay));
    case RepeatKind::Daily:
        return DayPlace::On;
    case RepeatKind::Workdays:
        return OnOrPast(IsWeekday(date));
    case RepeatKind::Weekends:
        return OnOrPast(!IsWeekday(date));
    case RepeatKind::Weekly:
        return OnOrPast(date.weekday == rule.date.weekday);
    case RepeatKind::Monthly:
        return PlaceBy(Order(date.day, rule.day));
    case RepeatKind::Yearly:
        return YearlyPlace(rule, date);
    case RepeatKind::StatutoryWorkdays:
        return OnOrPast(rule.workingDays ? rule.workingDays->IsWorkingDay(date) : IsWeekday(date));
    case RepeatKind::LunarYearly:
        // Its own date counts even in a leap month; later years fall in the
        // ordinary month. A date outside the lunar table has no day at all.
        if (rule.lunarMonth == 0) return DayPlace::Past;
        return OnOrPast(dayNumber == rule.firstDay || IsLunarYearlyDay(dayNumber, rule.lunarMonth, rule.lunarDay));
    }
    return DayPlace::On;
}

bool OccursOn(const OccurrenceRule& rule, const CalendarDate& date, std::int64_t dayNumber) {
    return !rule.none && dayNumber >= rule.firstDay && PlaceOf(rule, date, dayNumber) == DayPlace::On;
}

LocalMinute NextOccurrenceAfter(const OccurrenceRule& rule, LocalMinute after) {
    if (rule.none) return kNoOccurrence;
    std::int64_t first = rule.firstDay;
    if (static_cast<RepeatKind>(rule.kind) == RepeatKind::Once) {
        LocalMinute only = MinuteOn(first, 0, rule.minuteOfDay);
        return only > after ? only : kNoOccurrence;
    }
    if (after == kNoOccurrence) return kNoOccurrence;
    if (static_cast<RepeatKind>(rule.kind) == RepeatKind::LunarYearly) return NextLunarOccurrence(rule, after);
    // The day of `after` still counts when its occurrence lies later on it.
    std::int64_t day = after == kNothingDone ? first : std::max(first, DayOfMinute(after));
    if (day > LastDay()) return kNoOccurrence;
    day = std::max(day, FirstDay());
    DayCursor cursor(day);
    for (int step = 0; step <= kMaxOccurrenceGapDays; ++step, cursor.Forward()) {
        if (OccursOn(rule, cursor.date, cursor.number)) {
            LocalMinute m = MinuteOn(cursor.number, 0, rule.minuteOfDay);
            if (m > after) return m;
        }
        if (cursor.AtLast()) break;
    }
    return kNoOccurrence;
}

LocalMinute LatestOccurrenceAtOrBefore(const OccurrenceRule& rule, LocalMinute at) {
    if (rule.none || at == kNothingDone) return kNoOccurrence;
    std::int64_t first = rule.firstDay;
    if (static_cast<RepeatKind>(rule.kind) == RepeatKind::Once) {
        LocalMinute only = MinuteOn(first, 0, rule.minuteOfDay);
        return only <= at ? only : kNoOccurrence;
    }
    std::int64_t day = DayOfMinute(at);
    if (day < first || day < FirstDay()) return kNoOccurrence;
    if (day > LastDay()) {
        day = LastDay();
        at = MinuteOn(day, 23, 59);
    }
    DayCursor cursor(day);
    for (int step = 0; step <= kMaxOccurrenceGapDays && cursor.number >= first; ++step, cursor.Back()) {
        if (OccursOn(rule, cursor.date, cursor.number)) {
            LocalMinute m = MinuteOn(cursor.number, 0, rule.minuteOfDay);
            if (m <= at) return m;
        }
        if (cursor.AtFirst()) break;
    }
    return kNoOccurrence;
}

std::int64_t CountOccurrences(const OccurrenceRule& rule, LocalMinute after, LocalMinute through, std::int64_t limit) {
    std::int64_t count = 0;
    for (LocalMinute m = NextOccurrenceAfter(rule, after); m != kNoOccurrence && m <= through && count < limit;
         m = NextOccurrenceAfter(rule, m))
        ++count;
    return count;
}

}  // namespace vt
