#include "assistant/calendar/Calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vt {
namespace {

TEST(WeekdayOf, KnownDates) {
    EXPECT_EQ(WeekdayOf(2026, 12, 6), 0);   // Sunday
    EXPECT_EQ(WeekdayOf(1970, 1, 1), 4);    // Thursday
    EXPECT_EQ(WeekdayOf(2000, 2, 29), 2);   // Tuesday, leap day of a 400-year
    EXPECT_EQ(WeekdayOf(1900, 3, 1), 4);    // 1900 had no 29 February
    EXPECT_EQ(WeekdayOf(2038, 1, 19), 2);   // past the 32-bit time range
    EXPECT_EQ(WeekdayOf(1969, 12, 31), 3);  // before it
    EXPECT_EQ(WeekdayOf(1, 1, 1), 1);       // proleptic Gregorian: a Monday
    EXPECT_EQ(WeekdayOf(0, 12, 31), 0);
    EXPECT_EQ(WeekdayOf(9999, 12, 31), 5);
}

TEST(WeekdayOf, ConsecutiveDaysStepByOneAcrossCenturiesAndEras) {
    const int daysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int expected = WeekdayOf(1599, 1, 1);
    for (int y = 1599; y <= 2401; ++y) {
        bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        for (int m = 1; m <= 12; ++m) {
            int n = daysIn[m - 1] + (m == 2 && leap ? 1 : 0);
            for (int d = 1; d <= n; ++d) {
                ASSERT_EQ(WeekdayOf(y, m, d), expected) << y << "-" << m << "-" << d;
                expected = (expected + 1) % 7;
            }
        }
    }
}

TEST(WeekdayOf, OutOfRangeMonthAndDayCountOnLikeTheCLibrary) {
    EXPECT_EQ(WeekdayOf(2026, 13, 1), WeekdayOf(2027, 1, 1));
    EXPECT_EQ(WeekdayOf(2026, 0, 1), WeekdayOf(2025, 12, 1));
    EXPECT_EQ(WeekdayOf(2026, 3, 0), WeekdayOf(2026, 2, 28));
    EXPECT_EQ(WeekdayOf(2026, 2, 29), WeekdayOf(2026, 3, 1));
    EXPECT_EQ(WeekdayOf(2026, -11, 1), WeekdayOf(2025, 1, 1));
}

TEST(WeekdayOf, AnyThirtyTwoBitFieldsGiveAWeekday) {
    const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t y : {lo, -1, 0, hi})
        for (std::int32_t m : {lo, -1, 0, 1, 12, 13, hi})
            for (std::int32_t d : {lo, 0, 1, 31, hi}) {
                int w = WeekdayOf(y, m, d);
                ASSERT_GE(w, 0);
                ASSERT_LE(w, 6);
            }
    // The 400-year cycle (146097 days, a whole number of weeks) holds far out.
    EXPECT_EQ(WeekdayOf(hi - 400, 6, 15), WeekdayOf(hi - 800, 6, 15));
    EXPECT_EQ(WeekdayOf(lo + 400, 6, 15), WeekdayOf(lo + 800, 6, 15));
}

TEST(DayNumber, RoundTripsThroughDatesAcrossLeapDaysAndEras) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(1969, 12, 31), -1);
    EXPECT_EQ(DayNumber(2026, 3, 1) - DayNumber(2026, 2, 28), 1);
    EXPECT_EQ(DayNumber(2024, 3, 1) - DayNumber(2024, 2, 28), 2);
    EXPECT_EQ(DayNumber(2026, 2, 29), DayNumber(2026, 3, 1));  // normalised like WeekdayOf
    for (std::int64_t n = DayNumber(1599, 12, 25); n < DayNumber(2401, 1, 5); n += 13) {
        CalendarDate d = DateOfDay(n);
        ASSERT_EQ(DayNumber(d.year, d.month, d.day), n);
        ASSERT_EQ(d.weekday, WeekdayOf(d.year, d.month, d.day));
        ASSERT_GE(d.day, 1);
        ASSERT_LE(d.day, DaysInMonth(d.year, d.month));
    }
}

TEST(DayNumber, DatesBeyondThirtyTwoBitYearsAreClamped) {
    CalendarDate far = DateOfDay(std::numeric_limits<std::int64_t>::max() / 2);
    EXPECT_EQ(far.year, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(far.month, 12);
    EXPECT_EQ(far.day, 31);
    CalendarDate early = DateOfDay(std::numeric_limits<std::int64_t>::min() / 2);
    EXPECT_EQ(early.year, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(early.month, 1);
    EXPECT_EQ(early.day, 1);
}

TEST(DaysInMonth, LeapYearsByTheGregorianRule) {
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 2), 28);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(-4, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
    EXPECT_EQ(DaysInMonth(2026, 12), 31);
    EXPECT_EQ(DaysInMonth(2026, 0), 0);
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
}

}  // namespace
}  // namespace vt
