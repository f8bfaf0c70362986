#include "assistant/reminders/Calendar.h"

namespace vt {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    return a - FloorDiv(a, b) * b;
}

// Days from 1970-01-01 to the first of the month (month 1..12); the
// 400-year era arithmetic keeps it exact for years far outside 32 bits.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month) {
    year -= month <= 2 ? 1 : 0;
    std::int64_t era = FloorDiv(year, 400);
    std::int64_t yoe = year - era * 400;                                  // 0..399
    std::int64_t mp = (month + 9) % 12;                                   // March = 0
    std::int64_t doy = (153 * mp + 2) / 5;                                // first day of month
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;             // 0..146096
    return era * 146097 + doe - 719468;
}

}  // namespace

int WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
    std::int64_t m0 = static_cast<std::int64_t>(month) - 1;
    std::int64_t y = static_cast<std::int64_t>(year) + FloorDiv(m0, 12);
    std::int64_t m = FloorMod(m0, 12) + 1;
    std::int64_t days = DaysFromCivil(y, m) + (static_cast<std::int64_t>(day) - 1);
    // 1970-01-01 was a Thursday.
    return static_cast<int>(FloorMod(days + 4, 7));
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
