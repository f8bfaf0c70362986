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
    int month = 1;  // 1..12 for a real date
    int day = 1;
    int weekday = 4;  // 0 = Sunday .. 6 = Saturday
};

// The date with its weekday computed (WeekdayOf).
CalendarDate DateOn(std::int32_t year, std::int32_t month, std::int32_t day);

// Days from 1970-01-01 to the date (negative before it), with the same
// normalisation of months and days outside their range as WeekdayOf. Day
// numbers let the reminder rules step over month and year ends by adding.
std::int64_t DayNumber(std::int32_t year, std::int32_t month, std::int32_t day);
// The date of a day number, with its weekday; the inverse of DayNumber for
// real dates. Day numbers beyond the 32-bit years are clamped to them.
CalendarDate DateOfDay(std::int64_t dayNumber);

bool IsLeapYear(std::int64_t year);
// 28 to 31 for months 1 to 12; 0 for any other month.
int DaysInMonth(std::int64_t year, int month);

}  // namespace vt
