#include "assistant/calendar/LunarCalendar.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

struct Ymd {
    int y, m, d;
};

void ExpectLunar(Ymd g, int year, int month, int day, bool leap) {
    const auto lunar = LunarOf(g.y, g.m, g.d);
    ASSERT_TRUE(lunar.has_value()) << g.y << "-" << g.m << "-" << g.d;
    EXPECT_EQ(lunar->year, year) << g.y << "-" << g.m << "-" << g.d;
    EXPECT_EQ(lunar->month, month) << g.y << "-" << g.m << "-" << g.d;
    EXPECT_EQ(lunar->day, day) << g.y << "-" << g.m << "-" << g.d;
    EXPECT_EQ(lunar->leap, leap) << g.y << "-" << g.m << "-" << g.d;
    const auto back = GregorianOf(*lunar);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->year * 10000 + back->month * 100 + back->day, g.y * 10000 + g.m * 100 + g.d);
}

TEST(LunarCalendar, EverySpringFestivalFrom2000To2030) {
    const Ymd festivals[] = {{2000, 2, 5},  {2001, 1, 24}, {2002, 2, 12}, {2003, 2, 1},  {2004, 1, 22}, {2005, 2, 9},
                             {2006, 1, 29}, {2007, 2, 18}, {2008, 2, 7},  {2009, 1, 26}, {2010, 2, 14}, {2011, 2, 3},
                             {2012, 1, 23}, {2013, 2, 10}, {2014, 1, 31}, {2015, 2, 19}, {2016, 2, 8},  {2017, 1, 28},
                             {2018, 2, 16}, {2019, 2, 5},  {2020, 1, 25}, {2021, 2, 12}, {2022, 2, 1},  {2023, 1, 22},
                             {2024, 2, 10}, {2025, 1, 29}, {2026, 2, 17}, {2027, 2, 6},  {2028, 1, 26}, {2029, 2, 13},
                             {2030, 2, 3}};
    int year = 2000;
    for (const Ymd& g : festivals) {
        ExpectLunar(g, year, 1, 1, false);
        // The day before is the last of the previous year's 腊月.
        if (g.d > 1) {
            const auto eve = LunarOf(g.y, g.m, g.d - 1);
            ASSERT_TRUE(eve.has_value());
            EXPECT_EQ(eve->year, year - 1);
            EXPECT_EQ(eve->month, 12);
            EXPECT_EQ(eve->day, LunarMonthLength(year - 1, 12, false));
        }
        ++year;
    }
}

TEST(LunarCalendar, KnownFestivalsAndDates) {
    ExpectLunar({2026, 9, 25}, 2026, 8, 15, false);  // 中秋 2026
    ExpectLunar({2027, 9, 15}, 2027, 8, 15, false);  // 中秋 2027
    ExpectLunar({2027, 9, 25}, 2027, 8, 25, false);
    ExpectLunar({2026, 6, 19}, 2026, 5, 5, false);  // 端午 2026
    ExpectLunar({2017, 8, 22}, 2017, 7, 1, false);
    ExpectLunar({1984, 2, 2}, 1984, 1, 1, false);
    ExpectLunar({1999, 12, 31}, 1999, 11, 24, false);
    ExpectLunar({2024, 2, 9}, 2023, 12, 30, false);   // 除夕 in a 30-day 腊月
    ExpectLunar({2026, 2, 16}, 2025, 12, 29, false);  // 除夕 in a 29-day 腊月
}

TEST(LunarCalendar, LeapMonths) {
    EXPECT_EQ(LeapMonthOf(2023), 2);
    ExpectLunar({2023, 3, 22}, 2023, 2, 1, true);  // 闰二月初一
    ExpectLunar({2023, 4, 19}, 2023, 2, 29, true);
    ExpectLunar({2023, 4, 20}, 2023, 3, 1, false);
    EXPECT_EQ(LunarMonthLength(2023, 2, true), 29);
    EXPECT_EQ(LunarMonthLength(2023, 3, true), 0);  // 2023 has no 闰三月
    ExpectLunar({2020, 5, 23}, 2020, 4, 1, true);
    ExpectLunar({2025, 7, 25}, 2025, 6, 1, true);
    ExpectLunar({2014, 10, 24}, 2014, 9, 1, true);
    ExpectLunar({2033, 12, 22}, 2033, 11, 1, true);  // 闰冬月 of 2033
    EXPECT_EQ(LeapMonthOf(2024), 0);
    EXPECT_FALSE(GregorianOf({2024, 5, 1, true}).has_value());
}

TEST(LunarCalendar, EdgesOfTheTable) {
    ExpectLunar({1900, 1, 31}, 1900, 1, 1, false);
    ExpectLunar({2100, 12, 31}, 2100, 12, 1, false);
    ExpectLunar({2101, 1, 28}, 2100, 12, 29, false);
    EXPECT_FALSE(LunarOf(1900, 1, 30).has_value());
    EXPECT_FALSE(LunarOf(2101, 1, 29).has_value());
    EXPECT_FALSE(LunarOf(1899, 12, 31).has_value());
    EXPECT_FALSE(LunarOf(-2147483647 - 1, 1, 1).has_value());
    EXPECT_FALSE(LunarOf(2147483647, 12, 31).has_value());
    EXPECT_FALSE(LunarOf(2026, 2, 29).has_value());  // no such Gregorian date
    EXPECT_FALSE(LunarOf(2026, 0, 1).has_value());
    EXPECT_FALSE(GregorianOf({1899, 1, 1, false}).has_value());
    EXPECT_FALSE(GregorianOf({2101, 1, 1, false}).has_value());
    EXPECT_FALSE(GregorianOf({2026, 8, 0, false}).has_value());
    EXPECT_EQ(LeapMonthOf(2101), 0);
}

TEST(LunarCalendar, EveryDayOfTheTableRoundTripsAndFollowsTheDayBefore) {
    LunarDate previous{1900, 1, 0, false};
    int days = 0;
    for (int y = 1900; y <= 2101; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d) {
                const auto lunar = LunarOf(y, m, d);
                if (!lunar) continue;
                const auto back = GregorianOf(*lunar);
                ASSERT_TRUE(back.has_value());
                ASSERT_EQ(back->year * 10000 + back->month * 100 + back->day, y * 10000 + m * 100 + d);
                if (lunar->day != 1) {
                    ASSERT_EQ(lunar->day, previous.day + 1) << y << "-" << m << "-" << d;
                } else if (days > 0) {
                    // A month ends after its 29th or 30th day.
                    ASSERT_EQ(previous.day, LunarMonthLength(previous.year, previous.month, previous.leap));
                }
                previous = *lunar;
                ++days;
            }
    EXPECT_EQ(days, 73412);  // 1900-01-31 to 2101-01-28
}

TEST(LunarCalendar, YearlyDateFallsOnDay29InAShortMonthAndInTheOrdinaryMonth) {
    auto key = [](const std::optional<CalendarDate>& d) { return d ? d->year * 10000 + d->month * 100 + d->day : 0; };
    EXPECT_EQ(key(LunarYearlyDate(2023, 12, 30)), 20240209);  // 腊月 of 2023 has 30 days
    EXPECT_EQ(key(LunarYearlyDate(2025, 12, 30)), 20260216);  // that of 2025 has 29
    EXPECT_EQ(key(LunarYearlyDate(2027, 8, 15)), 20270915);
    // 二月初一 of 2023 is the ordinary month, not 闰二月.
    const auto second = LunarYearlyDate(2023, 2, 1);
    ASSERT_TRUE(second.has_value());
    const auto lunar = LunarOf(second->year, second->month, second->day);
    ASSERT_TRUE(lunar.has_value());
    EXPECT_FALSE(lunar->leap);
    EXPECT_EQ(key(second), 20230220);
    EXPECT_FALSE(LunarYearlyDate(2101, 1, 1).has_value());
    EXPECT_FALSE(LunarYearlyDate(2026, 13, 1).has_value());
    EXPECT_FALSE(LunarYearlyDate(2026, 1, 31).has_value());
}

TEST(LunarCalendar, MonthAndDayNames) {
    const char* months[] = {"正月", "二月", "三月", "四月", "五月", "六月",
                            "七月", "八月", "九月", "十月", "冬月", "腊月"};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(LunarMonthName(m), months[m - 1]);
    const char* days[] = {"初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
                          "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
                          "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};
    for (int d = 1; d <= 30; ++d) EXPECT_EQ(LunarDayName(d), days[d - 1]);
    EXPECT_EQ(LunarMonthName(0), "0");
    EXPECT_EQ(LunarDayName(31), "31");
    EXPECT_EQ(LunarDateText({2026, 8, 15, false}), "八月十五");
    EXPECT_EQ(LunarDateText({2023, 2, 1, true}), "闰二月初一");
}

}  // namespace
}  // namespace vt
