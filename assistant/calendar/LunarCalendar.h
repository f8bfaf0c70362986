#pragma once
// The Chinese lunar calendar for the years 1900 to 2100, from a table of
// each lunar year's leap month and month lengths. Outside the table nothing
// is known: the functions answer "none" rather than guess, and the callers
// keep their error texts for such dates.
#include <cstdint>
#include <optional>
#include <string>

#include "assistant/calendar/Calendar.h"

namespace vt {

constexpr int kFirstLunarYear = 1900;
constexpr int kLastLunarYear = 2100;

struct LunarDate {
    int year = kFirstLunarYear;  // the lunar year, which begins at 正月初一
    int month = 1;               // 1..12
    int day = 1;                 // 1..30
    bool leap = false;           // the leap month (闰月) that follows `month`
};

// 0 when the lunar year has no leap month or lies outside the table.
int LeapMonthOf(int lunarYear);
// 29 or 30; 0 when the year has no such month.
int LunarMonthLength(int lunarYear, int month, bool leap);

// The lunar date of a Gregorian date; none outside the table (before
// 1900-01-31, or after the last day of lunar 2100).
std::optional<LunarDate> LunarOf(int year, int month, int day);
// The same for a day number (DayNumber).
std::optional<LunarDate> LunarOfDay(std::int64_t dayNumber);
// The Gregorian date of a lunar date; none for a date the calendar lacks
// (day 30 of a short month, a leap month the year has not).
std::optional<CalendarDate> GregorianOf(const LunarDate& date);

// Where a yearly lunar rule falls in the given lunar year. The rule names
// an ordinary month: a date picked in a leap month recurs in the ordinary
// month of its number, and day 30 falls on day 29 where that month is short.
std::optional<CalendarDate> LunarYearlyDate(int lunarYear, int month, int day);
// Whether a day is where that rule falls in its lunar year.
bool IsLunarYearlyDay(std::int64_t dayNumber, int month, int day);

// 正月, 二月 .. 十月, 冬月, 腊月; the number for anything else.
std::string LunarMonthName(int month);
// 初一 .. 初十, 十一 .. 十九, 二十, 廿一 .. 廿九, 三十; the number for anything else.
std::string LunarDayName(int day);
// "八月十五", "闰二月初一".
std::string LunarDateText(const LunarDate& date);

}  // namespace vt
