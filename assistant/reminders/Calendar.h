#pragma once
// The weekday of a calendar date, on the proleptic Gregorian calendar.
// Reminder records may hold any 32-bit year, month and day, so this works on
// every such triple without overflow instead of going through a local-time
// conversion that only covers 1970 to 2037. A month or day outside its usual
// range counts on from the neighbouring month or year (month 13 is January of
// the next year, day 0 the last day of the previous month), as the C
// library's normalisation of broken-down times does.
#include <cstdint>

namespace vt {

// 0 = Sunday .. 6 = Saturday.
int WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day);

// A date as the rule texts need it, with its weekday.
struct CalendarDate {
    int year = 1970;
    int month = 1;    // 1..12 for a real date
    int day = 1;
    int weekday = 4;  // 0 = Sunday .. 6 = Saturday
};

// The date with its weekday computed (WeekdayOf).
CalendarDate DateOn(std::int32_t year, std::int32_t month, std::int32_t day);

}  // namespace vt
