#include "assistant/calendar/Calendar.h"

#include <cstdint>

namespace vt {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

// Days from 1970-01-01 to the first of the month (month 1..12); the
// 400-year era arithmetic keeps it exact for years far outside 32 bits.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month) {
    year -= month <= 2 ? 1 : 0;
    std::int64_t era = FloorDiv(year, 400);
    std::int64_t yoe = year - era * 400;                       // 0..399
    std::int64_t mp = (month + 9) % 12;                        // March = 0
    std::int64_t doy = (153 * mp + 2) / 5;                     // first day of month
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // 0..146096
    return era * 146097 + doe - 719468;
}

}  // namespace

std::int64_t DayNumber(std::int32_t year, std::int32_t month, std::int32_t day) {
    std::int64_t m0 = static_cast<std::int64_t>(month) - 1;
    std::int64_t y = static_cast<std::int64_t>(year) + FloorDiv(m0, 12);
    std::int64_t m = FloorMod(m0, 12) + 1;
    return DaysFromCivil(y, m) + (static_cast<std::int64_t>(day) - 1);
}

int WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(FloorMod(DayNumber(year, month, day) + 4, 7));
}

CalendarDate DateOfDay(std::int64_t dayNumber) {
    // The day numbers of 1 January of the lowest and the last day of the
    // highest 32-bit year.
    static const std::int64_t kFirst = DaysFromCivil(INT32_MIN, 1);
    static const std::int64_t kLast = DaysFromCivil(static_cast<std::int64_t>(INT32_MAX) + 1, 1) - 1;
    std::int64_t z = dayNumber < kFirst ? kFirst : (dayNumber > kLast ? kLast : dayNumber);
    std::int64_t weekday = FloorMod(z + 4, 7);
    z += 719468;
    std::int64_t era = FloorDiv(z, 146097);
    std::int64_t doe = z - era * 146097;  // 0..146096
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);  // 0..365
    std::int64_t mp = (5 * doy + 2) / 153;                       // March = 0
    CalendarDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
    date.weekday = static_cast<int>(weekday);
    return date;
}

bool IsLeapYear(std::int64_t year) {
    return FloorMod(year, 4) == 0 && (FloorMod(year, 100) != 0 || FloorMod(year, 400) == 0);
}

int DaysInMonth(std::int64_t year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

CalendarDate DateOn(std::int32_t year, std::int32_t month, std::int32_t day) {
    CalendarDate date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.weekday = WeekdayOf(year, month, day);
    return date;
}

}  // namespace vt
