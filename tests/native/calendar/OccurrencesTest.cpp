#include "assistant/calendar/Occurrences.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/native/calendar/CalendarTestSupport.h"

namespace vt {
namespace {

using test::At;
using test::Fields;

LocalMinute M(int year, int month, int day, int hour, int minute) {
    return MinuteOf(At(year, month, day, hour, minute));
}

OccurrenceRule Rule(RepeatKind kind, int year, int month, int day, int hour = 8, int minute = 30) {
    return RuleOf(Fields(kind, year, month, day, hour, minute));
}

// The next n occurrences after `from`, as moments.
std::vector<LocalMinute> Series(const OccurrenceRule& rule, LocalMinute from, int n) {
    std::vector<LocalMinute> out;
    for (LocalMinute m = NextOccurrenceAfter(rule, from); m != kNoOccurrence && n-- > 0;
         m = NextOccurrenceAfter(rule, m))
        out.push_back(m);
    return out;
}

// Where 2026-12-09 (a Wednesday) lies in each kind's cycle.
DayPlace PlaceOnDec9(const OccurrenceRule& rule) { return PlaceOf(rule, DateOn(2026, 12, 9), DayNumber(2026, 12, 9)); }

TEST(DayPlaces, TheDatedKindsHaveAnOrderAndTheOthersAreOnOrPast) {
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Once, 2026, 12, 10)), DayPlace::Ahead);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Once, 2026, 12, 9)), DayPlace::On);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Once, 2025, 12, 10)), DayPlace::Past);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Monthly, 2030, 1, 10)), DayPlace::Ahead) << "the first day takes no part";
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Monthly, 2026, 1, 8)), DayPlace::Past);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Yearly, 2020, 12, 31)), DayPlace::Ahead);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Yearly, 2020, 11, 30)), DayPlace::Past);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Weekly, 2026, 12, 2)), DayPlace::On);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Weekly, 2026, 12, 10)), DayPlace::Past) << "no order within a week";
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Weekends, 2026, 12, 1)), DayPlace::Past);
    EXPECT_EQ(PlaceOnDec9(Rule(RepeatKind::Workdays, 2030, 12, 1)), DayPlace::On);
    EXPECT_EQ(PlaceOnDec9(Rule(static_cast<RepeatKind>(99), 2030, 12, 1)), DayPlace::On);
    EXPECT_FALSE(OccursOn(Rule(RepeatKind::Workdays, 2030, 12, 1), DateOn(2026, 12, 9), DayNumber(2026, 12, 9)))
        << "a day before the first is no occurrence";
    const OccurrenceRule leap = Rule(RepeatKind::Yearly, 2024, 2, 29);
    EXPECT_EQ(PlaceOf(leap, DateOn(2027, 3, 1), DayNumber(2027, 3, 1)), DayPlace::On);
    EXPECT_EQ(PlaceOf(leap, DateOn(2028, 3, 1), DayNumber(2028, 3, 1)), DayPlace::Past);
}

TEST(LocalMinutes, RoundTripOnBothSidesOfNineteenSeventy) {
    for (LocalMinute m : {LocalMinute{0}, LocalMinute{-1}, M(2026, 12, 8, 8, 30), M(1969, 12, 31, 23, 59),
                          M(2038, 1, 19, 3, 14), M(1, 1, 1, 0, 0)}) {
        LocalTime t = TimeOfMinute(m);
        EXPECT_EQ(MinuteOf(t), m);
        EXPECT_EQ(t.second, 0);
    }
    LocalTime t = TimeOfMinute(M(2026, 12, 6, 13, 5));
    EXPECT_EQ(t.weekday, 0);
    EXPECT_EQ(t.hour, 13);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(MinuteOf(At(2026, 12, 8, 8, 30, 59)), M(2026, 12, 8, 8, 30));  // seconds drop
    EXPECT_EQ(StartOfDay(M(1969, 12, 31, 23, 59)), M(1969, 12, 31, 0, 0));
}

TEST(Occurrences, OnceHasItsMomentAndNothingElse) {
    OccurrenceRule r = Rule(RepeatKind::Once, 2026, 12, 8);
    EXPECT_EQ(NextOccurrenceAfter(r, kNothingDone), M(2026, 12, 8, 8, 30));
    EXPECT_EQ(NextOccurrenceAfter(r, M(2026, 12, 8, 8, 29)), M(2026, 12, 8, 8, 30));
    EXPECT_EQ(NextOccurrenceAfter(r, M(2026, 12, 8, 8, 30)), kNoOccurrence);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2026, 12, 8, 8, 29)), kNoOccurrence);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2031, 1, 1, 0, 0)), M(2026, 12, 8, 8, 30));
}

TEST(Occurrences, RecurringKindsBeginOnTheirDate) {
    // 2026-12-09 is a Wednesday; asked from the Monday before.
    LocalMinute monday = M(2026, 12, 7, 9, 0);
    for (RepeatKind kind : {RepeatKind::Daily, RepeatKind::Weekly, RepeatKind::Workdays}) {
        OccurrenceRule r = Rule(kind, 2026, 12, 9);
        EXPECT_EQ(NextOccurrenceAfter(r, monday), M(2026, 12, 9, 8, 30)) << static_cast<int>(kind);
        EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2026, 12, 9, 8, 29)), kNoOccurrence);
    }
    EXPECT_EQ(NextOccurrenceAfter(Rule(RepeatKind::Monthly, 2026, 12, 9), kNothingDone), M(2026, 12, 9, 8, 30));
    EXPECT_EQ(NextOccurrenceAfter(Rule(RepeatKind::Yearly, 2026, 12, 9), monday - 400 * kMinutesPerDay),
              M(2026, 12, 9, 8, 30));
}

TEST(Occurrences, EachKindFallsOnItsDays) {
    LocalMinute from = M(2026, 12, 10, 12, 0);  // Thursday noon
    auto days = [&](RepeatKind kind, int y, int m, int d) {
        std::vector<int> out;
        for (LocalMinute t : Series(Rule(kind, y, m, d), from, 5)) out.push_back(TimeOfMinute(t).day);
        return out;
    };
    EXPECT_EQ(days(RepeatKind::Daily, 2026, 1, 1), (std::vector<int>{11, 12, 13, 14, 15}));
    EXPECT_EQ(days(RepeatKind::Workdays, 2026, 1, 1), (std::vector<int>{11, 14, 15, 16, 17}));
    EXPECT_EQ(days(RepeatKind::Weekends, 2026, 1, 1), (std::vector<int>{12, 13, 19, 20, 26}));
    EXPECT_EQ(days(RepeatKind::Weekly, 2026, 12, 2), (std::vector<int>{16, 23, 30, 6, 13}));
    EXPECT_EQ(days(RepeatKind::Monthly, 2026, 1, 10), (std::vector<int>{10, 10, 10, 10, 10}));
    EXPECT_EQ(Series(Rule(RepeatKind::Monthly, 2026, 1, 10), from, 2),
              (std::vector<LocalMinute>{M(2027, 1, 10, 8, 30), M(2027, 2, 10, 8, 30)}));
    EXPECT_EQ(Series(Rule(RepeatKind::Yearly, 2020, 12, 10), from, 2),
              (std::vector<LocalMinute>{M(2027, 12, 10, 8, 30), M(2028, 12, 10, 8, 30)}));
    // An unknown kind is every day, as the time-only comparison treats it.
    RuleFields unknown = Fields(RepeatKind::Daily, 2026, 1, 1, 8, 30);
    unknown.repeat = 42;
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(unknown), from), M(2026, 12, 11, 8, 30));
}

TEST(Occurrences, TheMinuteItselfAndMidnightCount) {
    OccurrenceRule daily = Rule(RepeatKind::Daily, 2026, 1, 1, 0, 0);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(daily, M(2026, 12, 8, 0, 0)), M(2026, 12, 8, 0, 0));
    EXPECT_EQ(NextOccurrenceAfter(daily, M(2026, 12, 8, 0, 0)), M(2026, 12, 9, 0, 0));
    EXPECT_EQ(NextOccurrenceAfter(daily, M(2026, 12, 7, 23, 59)), M(2026, 12, 8, 0, 0));
    OccurrenceRule late = Rule(RepeatKind::Weekly, 2026, 12, 9, 23, 59);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(late, M(2026, 12, 17, 0, 0)), M(2026, 12, 16, 23, 59));
}

TEST(Occurrences, MonthlyOnThe31stSkipsShortMonths) {
    OccurrenceRule r = Rule(RepeatKind::Monthly, 2026, 1, 31);
    std::vector<int> months;
    for (LocalMinute t : Series(r, M(2026, 1, 1, 0, 0), 7)) months.push_back(TimeOfMinute(t).month);
    EXPECT_EQ(months, (std::vector<int>{1, 3, 5, 7, 8, 10, 12}));
    EXPECT_EQ(CountOccurrences(r, M(2026, 1, 1, 0, 0), M(2026, 12, 31, 23, 59)), 7);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2026, 7, 30, 0, 0)), M(2026, 5, 31, 8, 30));
}

TEST(Occurrences, TwentyNinthOfFebruaryFallsOnFirstOfMarchInCommonYears) {
    OccurrenceRule r = Rule(RepeatKind::Yearly, 2024, 2, 29);
    EXPECT_EQ(Series(r, M(2024, 1, 1, 0, 0), 5),
              (std::vector<LocalMinute>{M(2024, 2, 29, 8, 30), M(2025, 3, 1, 8, 30), M(2026, 3, 1, 8, 30),
                                        M(2027, 3, 1, 8, 30), M(2028, 2, 29, 8, 30)}));
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2100, 3, 1, 8, 30)), M(2100, 3, 1, 8, 30));  // 2100 is common
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, M(2096, 12, 31, 0, 0)), M(2096, 2, 29, 8, 30));
    // A 31 December date never spills into a month 13.
    EXPECT_EQ(NextOccurrenceAfter(Rule(RepeatKind::Yearly, 2026, 12, 31), M(2027, 1, 1, 0, 0)), M(2027, 12, 31, 8, 30));
}

TEST(Occurrences, AWeekAwayCountsSevenAndNamesTheLatest) {
    OccurrenceRule r = Rule(RepeatKind::Daily, 2026, 1, 1);
    LocalMinute done = M(2026, 12, 1, 9, 0);
    LocalMinute back = M(2026, 12, 8, 10, 0);
    EXPECT_EQ(CountOccurrences(r, done, back), 7);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(r, back), M(2026, 12, 8, 8, 30));
    EXPECT_EQ(CountOccurrences(r, done, back, 3), 3);
    // Monday to Sunday away from a workdays reminder: five of them.
    EXPECT_EQ(CountOccurrences(Rule(RepeatKind::Workdays, 2026, 1, 1), M(2026, 12, 6, 23, 0), M(2026, 12, 13, 23, 0)),
              5);
    EXPECT_EQ(CountOccurrences(r, back, done), 0);  // a clock set back counts nothing
}

TEST(Occurrences, RecordsOffTheClockOrCalendarHaveNone) {
    for (int hour : {-1, 24}) {
        RuleFields item = Fields(RepeatKind::Daily, 2026, 1, 1, hour, 0);
        EXPECT_EQ(NextOccurrenceAfter(RuleOf(item), kNothingDone), kNoOccurrence);
    }
    RuleFields minute = Fields(RepeatKind::Once, 2026, 1, 1, 8, 60);
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(minute), kNothingDone), kNoOccurrence);
    EXPECT_EQ(NextOccurrenceAfter(Rule(RepeatKind::Monthly, 2026, 1, 0), kNothingDone), kNoOccurrence);
    RuleFields month13 = Fields(RepeatKind::Yearly, 2026, 13, 1, 8, 0);
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(month13), kNothingDone), kNoOccurrence);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(RuleOf(month13), M(2030, 1, 1, 0, 0)), kNoOccurrence);
    EXPECT_EQ(LatestOccurrenceAtOrBefore(Rule(RepeatKind::Daily, 2026, 1, 1), kNothingDone), kNoOccurrence);
}

TEST(Occurrences, MomentsBeyondTheCalendarHaveNothingBesideThem) {
    // Done-through moments from another writer's bytes may be anything.
    OccurrenceRule daily = Rule(RepeatKind::Daily, 2026, 1, 1);
    const LocalMinute huge = kNoOccurrence - 5, tiny = kNothingDone + 5;
    EXPECT_EQ(NextOccurrenceAfter(daily, huge), kNoOccurrence);
    EXPECT_EQ(NextOccurrenceAfter(daily, tiny), M(2026, 1, 1, 8, 30));
    EXPECT_EQ(LatestOccurrenceAtOrBefore(daily, tiny), kNoOccurrence);
    LocalMinute last = LatestOccurrenceAtOrBefore(daily, huge);
    ASSERT_NE(last, kNoOccurrence);
    EXPECT_EQ(TimeOfMinute(last).year, 2147483647);
    EXPECT_EQ(CountOccurrences(daily, huge, huge), 0);
    RuleFields wild = Fields(RepeatKind::Daily, 2026, 1, 1, 83820290, -7);
    EXPECT_TRUE(RuleOf(wild).none);
}

TEST(Occurrences, ExtremeFieldsStayWithinTheCalendar) {
    RuleFields far = Fields(RepeatKind::Weekly, 2147483647, 12, 31, 8, 0);
    LocalMinute last = MinuteOn(RuleOf(far).firstDay, 8, 0);
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(far), M(2026, 1, 1, 0, 0)), last);
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(far), last), kNoOccurrence);  // the calendar ends there
    RuleFields early = Fields(RepeatKind::Daily, -2147483647 - 1, 1, 1, 8, 0);
    EXPECT_EQ(NextOccurrenceAfter(RuleOf(early), M(2026, 1, 1, 0, 0)), M(2026, 1, 1, 8, 0));
    EXPECT_EQ(LatestOccurrenceAtOrBefore(RuleOf(early), MinuteOn(RuleOf(early).firstDay, 8, 0) + 5),
              MinuteOn(RuleOf(early).firstDay, 8, 0));
}

}  // namespace
}  // namespace vt
