#include "assistant/calendar/LunarCalendar.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "shared/core/Text.h"

namespace vt {

namespace {

// One entry per lunar year from 1900 to 2100, in the layout in which the
// table is commonly published:
//   bits 0-3   the leap month, 0 for none;
//   bits 4-15  months 12 down to 1 (month 1 in bit 15): set = 30 days, clear = 29;
//   bit 16     the leap month has 30 days.
const std::uint32_t kLunarYears[] = {
    0x04bd8, 0x04ae0, 0x0a570, 0x054d5, 0x0d260, 0x0d950, 0x16554, 0x056a0, 0x09ad0, 0x055d2,  // 1900
    0x04ae0, 0x0a5b6, 0x0a4d0, 0x0d250, 0x1d255, 0x0b540, 0x0d6a0, 0x0ada2, 0x095b0, 0x14977,  // 1910
    0x04970, 0x0a4b0, 0x0b4b5, 0x06a50, 0x06d40, 0x1ab54, 0x02b60, 0x09570, 0x052f2, 0x04970,  // 1920
    0x06566, 0x0d4a0, 0x0ea50, 0x16a95, 0x05ad0, 0x02b60, 0x186e3, 0x092e0, 0x1c8d7, 0x0c950,  // 1930
    0x0d4a0, 0x1d8a6, 0x0b550, 0x056a0, 0x1a5b4, 0x025d0, 0x092d0, 0x0d2b2, 0x0a950, 0x0b557,  // 1940
    0x06ca0, 0x0b550, 0x15355, 0x04da0, 0x0a5b0, 0x14573, 0x052b0, 0x0a9a8, 0x0e950, 0x06aa0,  // 1950
    0x0aea6, 0x0ab50, 0x04b60, 0x0aae4, 0x0a570, 0x05260, 0x0f263, 0x0d950, 0x05b57, 0x056a0,  // 1960
    0x096d0, 0x04dd5, 0x04ad0, 0x0a4d0, 0x0d4d4, 0x0d250, 0x0d558, 0x0b540, 0x0b6a0, 0x195a6,  // 1970
    0x095b0, 0x049b0, 0x0a974, 0x0a4b0, 0x0b27a, 0x06a50, 0x06d40, 0x0af46, 0x0ab60, 0x09570,  // 1980
    0x04af5, 0x04970, 0x064b0, 0x074a3, 0x0ea50, 0x06b58, 0x05ac0, 0x0ab60, 0x096d5, 0x092e0,  // 1990
    0x0c960, 0x0d954, 0x0d4a0, 0x0da50, 0x07552, 0x056a0, 0x0abb7, 0x025d0, 0x092d0, 0x0cab5,  // 2000
    0x0a950, 0x0b4a0, 0x0baa4, 0x0ad50, 0x055d9, 0x04ba0, 0x0a5b0, 0x15176, 0x052b0, 0x0a930,  // 2010
    0x07954, 0x06aa0, 0x0ad50, 0x05b52, 0x04b60, 0x0a6e6, 0x0a4e0, 0x0d260, 0x0ea65, 0x0d530,  // 2020
    0x05aa0, 0x076a3, 0x096d0, 0x04afb, 0x04ad0, 0x0a4d0, 0x1d0b6, 0x0d250, 0x0d520, 0x0dd45,  // 2030
    0x0b5a0, 0x056d0, 0x055b2, 0x049b0, 0x0a577, 0x0a4b0, 0x0aa50, 0x1b255, 0x06d20, 0x0ada0,  // 2040
    0x14b63, 0x09370, 0x049f8, 0x04970, 0x064b0, 0x168a6, 0x0ea50, 0x06aa0, 0x1a6c4, 0x0aae0,  // 2050
    0x092e0, 0x0d2e3, 0x0c960, 0x0d557, 0x0d4a0, 0x0da50, 0x05d55, 0x056a0, 0x0a6d0, 0x055d4,  // 2060
    0x052d0, 0x0a9b8, 0x0a950, 0x0b4a0, 0x0b6a6, 0x0ad50, 0x055a0, 0x0aba4, 0x0a5b0, 0x052b0,  // 2070
    0x0b273, 0x06930, 0x07337, 0x06aa0, 0x0ad50, 0x14b55, 0x04b60, 0x0a570, 0x054e4, 0x0d160,  // 2080
    0x0e968, 0x0d520, 0x0daa0, 0x16aa6, 0x056d0, 0x04ae0, 0x0a9d4, 0x0a2d0, 0x0d150, 0x0f252,  // 2090
    0x0d520,                                                                                   // 2100
};
static_assert(sizeof kLunarYears / sizeof kLunarYears[0] == kLastLunarYear - kFirstLunarYear + 1,
              "one entry per lunar year");

// 正月初一 of 1900 fell on 31 January 1900.
constexpr int kFirstNewYearY = 1900, kFirstNewYearM = 1, kFirstNewYearD = 31;

bool InTable(int lunarYear) { return lunarYear >= kFirstLunarYear && lunarYear <= kLastLunarYear; }

std::uint32_t Bits(int lunarYear) { return kLunarYears[lunarYear - kFirstLunarYear]; }

int YearLength(int lunarYear) {
    int days = 0;
    for (int m = 1; m <= 12; ++m) days += LunarMonthLength(lunarYear, m, false);
    return days + LunarMonthLength(lunarYear, LeapMonthOf(lunarYear), true);
}

// The day number of 正月初一 of each lunar year, and one past the table.
const std::array<std::int64_t, kLastLunarYear - kFirstLunarYear + 2>& NewYearDays() {
    static const auto table = [] {
        std::array<std::int64_t, kLastLunarYear - kFirstLunarYear + 2> days{};
        days[0] = DayNumber(kFirstNewYearY, kFirstNewYearM, kFirstNewYearD);
        for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y)
            days[y - kFirstLunarYear + 1] = days[y - kFirstLunarYear] + YearLength(y);
        return days;
    }();
    return table;
}

// The months of a lunar year in their order, the leap month after its
// ordinary month.
template <typename Visit>
bool ForEachMonth(int lunarYear, Visit visit) {
    const int leap = LeapMonthOf(lunarYear);
    for (int m = 1; m <= 12; ++m) {
        if (visit(m, false, LunarMonthLength(lunarYear, m, false))) return true;
        if (m == leap && visit(m, true, LunarMonthLength(lunarYear, m, true))) return true;
    }
    return false;
}

}  // namespace

int LeapMonthOf(int lunarYear) {
    if (!InTable(lunarYear)) return 0;
    return static_cast<int>(Bits(lunarYear) & 0xF);
}

int LunarMonthLength(int lunarYear, int month, bool leap) {
    if (!InTable(lunarYear) || month < 1 || month > 12) return 0;
    const std::uint32_t bits = Bits(lunarYear);
    if (leap) {
        if (LeapMonthOf(lunarYear) != month) return 0;
        return (bits & 0x10000) ? 30 : 29;
    }
    return (bits & (0x10000u >> month)) ? 30 : 29;
}

std::optional<LunarDate> LunarOf(int year, int month, int day) {
    if (year < kFirstLunarYear || year > kLastLunarYear + 1) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    return LunarOfDay(DayNumber(year, month, day));
}

std::optional<LunarDate> LunarOfDay(std::int64_t dayNumber) {
    const auto& starts = NewYearDays();
    if (dayNumber < starts.front() || dayNumber >= starts.back()) return std::nullopt;
    const auto next = std::upper_bound(starts.begin(), starts.end(), dayNumber);
    const int lunarYear = kFirstLunarYear + static_cast<int>(next - starts.begin()) - 1;
    std::int64_t offset = dayNumber - *(next - 1);
    LunarDate date;
    date.year = lunarYear;
    ForEachMonth(lunarYear, [&](int m, bool leap, int length) {
        if (offset < length) {
            date.month = m;
            date.leap = leap;
            date.day = static_cast<int>(offset) + 1;
            return true;
        }
        offset -= length;
        return false;
    });
    return date;
}

bool IsLunarYearlyDay(std::int64_t dayNumber, int month, int day) {
    const auto lunar = LunarOfDay(dayNumber);
    if (!lunar || lunar->leap || lunar->month != month) return false;
    if (lunar->day == day) return true;
    // Day 30 of a short month falls on its last day, the 29th.
    return day == 30 && lunar->day == 29 && LunarMonthLength(lunar->year, month, false) == 29;
}

std::optional<CalendarDate> GregorianOf(const LunarDate& date) {
    const int length = LunarMonthLength(date.year, date.month, date.leap);
    if (length == 0 || date.day < 1 || date.day > length) return std::nullopt;
    std::int64_t n = NewYearDays()[date.year - kFirstLunarYear];
    ForEachMonth(date.year, [&](int m, bool leap, int monthLength) {
        if (m == date.month && leap == date.leap) return true;
        n += monthLength;
        return false;
    });
    return DateOfDay(n + date.day - 1);
}

std::optional<CalendarDate> LunarYearlyDate(int lunarYear, int month, int day) {
    const int length = LunarMonthLength(lunarYear, month, false);
    if (length == 0 || day < 1 || day > 30) return std::nullopt;
    LunarDate date;
    date.year = lunarYear;
    date.month = month;
    date.day = day > length ? length : day;
    return GregorianOf(date);
}

std::string LunarMonthName(int month) {
    static const char* const kNames[] = {"正月", "二月", "三月", "四月", "五月", "六月",
                                         "七月", "八月", "九月", "十月", "冬月", "腊月"};
    if (month >= 1 && month <= 12) return kNames[month - 1];
    return Format("%d", month);
}

std::string LunarDayName(int day) {
    static const char* const kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    if (day >= 1 && day <= 10) return std::string("初") + kDigits[day];
    if (day >= 11 && day <= 19) return std::string("十") + kDigits[day - 10];
    if (day == 20) return "二十";
    if (day >= 21 && day <= 29) return std::string("廿") + kDigits[day - 20];
    if (day == 30) return "三十";
    return Format("%d", day);
}

std::string LunarDateText(const LunarDate& date) {
    return (date.leap ? "闰" : "") + LunarMonthName(date.month) + LunarDayName(date.day);
}

}  // namespace vt
