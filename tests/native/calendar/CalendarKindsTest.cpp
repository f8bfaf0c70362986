// The two kinds that follow China's calendars: working days by the official
// holiday schedule, and a yearly lunar date.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assistant/calendar/HolidaySchedule.h"
#include "assistant/calendar/Occurrences.h"
#include "tests/native/calendar/CalendarTestSupport.h"

namespace vt {
namespace {

using test::At;
using test::Fields;

LocalMinute M(int year, int month, int day, int hour = 8, int minute = 30) {
    return MinuteOf(At(year, month, day, hour, minute));
}

std::string Ymd(LocalMinute m) {
    if (m == kNoOccurrence) return "none";
    const LocalTime t = TimeOfMinute(m);
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day);
}

std::vector<std::string> Series(const OccurrenceRule& rule, LocalMinute from, int n) {
    std::vector<std::string> out;
    for (LocalMinute m = NextOccurrenceAfter(rule, from); m != kNoOccurrence && n-- > 0;
         m = NextOccurrenceAfter(rule, m))
        out.push_back(Ymd(m));
    return out;
}

const HolidaySchedule& Shipped() {
    static const HolidaySchedule schedule = [] {
        std::ifstream in(VT_HOLIDAYS_FILE, std::ios::binary);
        return HolidaySchedule::Parse(
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }();
    return schedule;
}

OccurrenceRule Workdays(const IWorkingDays* days, int y = 2025, int m = 1, int d = 1) {
    return RuleOf(Fields(RepeatKind::StatutoryWorkdays, y, m, d, 8, 30), days);
}

OccurrenceRule Lunar(int y, int m, int d) { return RuleOf(Fields(RepeatKind::LunarYearly, y, m, d, 8, 30)); }

TEST(StatutoryWorkdays, SpringFestivalOf2025SkipsTheHolidayAndKeepsTheWorkedWeekend) {
    EXPECT_EQ(Series(Workdays(&Shipped()), M(2025, 1, 24, 12, 0), 7),
              (std::vector<std::string>{"2025-1-26", "2025-1-27", "2025-2-5", "2025-2-6", "2025-2-7", "2025-2-8",
                                        "2025-2-10"}));
}

TEST(StatutoryWorkdays, NationalDayOf2026) {
    const OccurrenceRule r = Workdays(&Shipped());
    EXPECT_EQ(Series(r, M(2026, 9, 18, 12, 0), 6),
              (std::vector<std::string>{"2026-9-20", "2026-9-21", "2026-9-22", "2026-9-23", "2026-9-24", "2026-9-28"}));
    EXPECT_EQ(Series(r, M(2026, 9, 30, 12, 0), 4),
              (std::vector<std::string>{"2026-10-8", "2026-10-9", "2026-10-10", "2026-10-12"}));
    // Missed through the holiday: the latest is the day before it.
    EXPECT_EQ(Ymd(LatestOccurrenceAtOrBefore(r, M(2026, 10, 7, 23, 59))), "2026-9-30");
    EXPECT_EQ(CountOccurrences(r, M(2026, 9, 30, 9, 0), M(2026, 10, 9, 9, 0)), 2);
}

TEST(StatutoryWorkdays, UncoveredYearOrNoScheduleIsMondayToFriday) {
    // 2027-01-01 is a Friday; the shipped schedule stops at 2026.
    EXPECT_EQ(Series(Workdays(&Shipped()), M(2026, 12, 30, 12, 0), 3),
              (std::vector<std::string>{"2026-12-31", "2027-1-1", "2027-1-4"}));
    EXPECT_EQ(Series(Workdays(nullptr), M(2026, 9, 30, 12, 0), 3),
              (std::vector<std::string>{"2026-10-1", "2026-10-2", "2026-10-5"}));
    const HolidaySchedule none;
    EXPECT_EQ(Series(Workdays(&none), M(2026, 10, 9, 12, 0), 1), (std::vector<std::string>{"2026-10-12"}));
}

TEST(StatutoryWorkdays, BeginsOnItsDate) {
    EXPECT_EQ(Ymd(NextOccurrenceAfter(Workdays(&Shipped(), 2026, 10, 10), kNothingDone)), "2026-10-10");
    EXPECT_EQ(Ymd(NextOccurrenceAfter(Workdays(&Shipped(), 2026, 10, 3), kNothingDone)), "2026-10-8");
}

TEST(LunarYearly, MidAutumnRecursOnItsLunarDate) {
    const OccurrenceRule r = Lunar(2026, 9, 25);  // 八月十五
    EXPECT_EQ(Series(r, kNothingDone, 4),
              (std::vector<std::string>{"2026-9-25", "2027-9-15", "2028-10-3", "2029-9-22"}));
    const CalendarDate sep25 = DateOn(2027, 9, 25);
    EXPECT_FALSE(OccursOn(r, sep25, DayNumber(2027, 9, 25)));
    EXPECT_TRUE(OccursOn(r, DateOn(2027, 9, 15), DayNumber(2027, 9, 15)));
    EXPECT_EQ(Ymd(LatestOccurrenceAtOrBefore(r, M(2028, 10, 2))), "2027-9-15");
    EXPECT_EQ(Ymd(NextOccurrenceAfter(r, M(2100, 1, 1))), "2100-9-18");
    EXPECT_EQ(NextOccurrenceAfter(r, M(2100, 9, 18)), kNoOccurrence);  // the table ends
}

TEST(LunarYearly, LeapMonthDateRecursInTheOrdinaryMonth) {
    const OccurrenceRule r = Lunar(2023, 3, 22);  // 闰二月初一
    EXPECT_EQ(Series(r, kNothingDone, 3), (std::vector<std::string>{"2023-3-22", "2024-3-10", "2025-2-28"}));
}

TEST(LunarYearly, DayThirtyFallsOnTheTwentyNinthOfAShortMonth) {
    const OccurrenceRule r = Lunar(2024, 2, 9);  // 腊月三十 of lunar 2023
    EXPECT_EQ(Series(r, kNothingDone, 4), (std::vector<std::string>{"2024-2-9", "2025-1-28", "2026-2-16", "2027-2-5"}));
}

// The next occurrence is found a lunar year at a time; stepping day by day
// through OccursOn must find the same one.
TEST(LunarYearly, NextOccurrenceAgreesWithTheDayByDayRule) {
    const int dates[][3] = {{2026, 9, 25}, {2023, 3, 22},  {2024, 2, 9},  {2033, 12, 22},
                            {1900, 1, 31}, {2100, 12, 31}, {2020, 5, 23}, {2057, 9, 28}};
    for (const auto& d : dates) {
        const OccurrenceRule r = Lunar(d[0], d[1], d[2]);
        ASSERT_FALSE(r.none);
        for (std::int64_t day = r.firstDay - 40; day < DayNumber(2101, 3, 1); day += 53) {
            for (int minuteOfDay : {8 * 60 + 29, 8 * 60 + 30}) {
                const LocalMinute after = day * kMinutesPerDay + minuteOfDay;
                LocalMinute expected = kNoOccurrence;
                for (std::int64_t n = std::max(day, r.firstDay); n < day + 800; ++n) {
                    const LocalMinute m = MinuteOn(n, 8, 30);
                    if (m > after && OccursOn(r, DateOfDay(n), n)) {
                        expected = m;
                        break;
                    }
                }
                ASSERT_EQ(NextOccurrenceAfter(r, after), expected)
                    << d[0] << "-" << d[1] << "-" << d[2] << " after " << Ymd(after);
            }
        }
    }
}

TEST(LunarYearly, DateOutsideTheTableHasNoOccurrence) {
    for (const OccurrenceRule& r : {Lunar(1899, 12, 31), Lunar(2101, 6, 1), Lunar(2026, 2, 30)}) {
        EXPECT_TRUE(r.none);
        EXPECT_EQ(NextOccurrenceAfter(r, kNothingDone), kNoOccurrence);
        EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2030, 1, 1)), kNoOccurrence);
    }
}

}  // namespace
}  // namespace vt
