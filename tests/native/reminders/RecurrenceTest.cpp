#include "assistant/reminders/Recurrence.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::At;
using test::MakeReminder;

std::string Shown(const LocalTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

// r is not yet due (-1) at each moment of notYet, and due (1) at each of due.
void ExpectDueFrom(const ReminderItem& r, std::initializer_list<LocalTime> notYet,
                   std::initializer_list<LocalTime> due) {
    for (const LocalTime& t : notYet) EXPECT_EQ(CompareDue(t, r), -1) << Shown(t);
    for (const LocalTime& t : due) EXPECT_EQ(CompareDue(t, r), 1) << Shown(t);
}

TEST(CompareDue, TheWholeMinuteCountsAsDue) {
    ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30);
    ExpectDueFrom(r, {At(2026, 12, 7, 8, 29, 59), At(2026, 12, 7, 7, 59, 0)},
                  {At(2026, 12, 7, 8, 30, 0), At(2026, 12, 7, 8, 30, 59), At(2026, 12, 7, 9, 0, 0)});
}

TEST(CompareDue, OnceComparesTheWholeDateBeforeTheTime) {
    ReminderItem r = MakeReminder(RepeatKind::Once, 2026, 12, 6, 8, 30);
    ExpectDueFrom(r, {At(2026, 12, 5, 23, 59), At(2026, 12, 6, 8, 29), At(2025, 12, 31, 23, 59)},
                  {At(2026, 12, 6, 8, 30), At(2026, 12, 7, 0, 0), At(2027, 1, 1, 0, 0)});
}

TEST(CompareDue, YearlyIgnoresTheYear) {
    ReminderItem r = MakeReminder(RepeatKind::Yearly, 2020, 3, 15, 12, 0);
    ExpectDueFrom(r, {At(2031, 3, 14, 23, 0), At(2031, 3, 15, 11, 59), At(2031, 1, 1, 0, 0)},
                  {At(2031, 3, 15, 12, 0), At(2031, 4, 1, 0, 0)});
}

TEST(CompareDue, DaysOutsideTheRuleAnswerDue) {
    ReminderItem work = MakeReminder(RepeatKind::Workdays, 2026, 1, 1, 8, 0);
    ReminderItem weekend = MakeReminder(RepeatKind::Weekends, 2026, 1, 1, 8, 0);
    ReminderItem weekly = MakeReminder(RepeatKind::Weekly, 2026, 12, 9, 8, 0);  // a Wednesday
    // 2026-12-12 is a Saturday, 12-14 a Monday, 12-16 a Wednesday.
    EXPECT_EQ(CompareDue(At(2026, 12, 12, 0, 0), work), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 13, 7, 0), work), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 14, 7, 0), work), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 14, 7, 0), weekend), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 12, 7, 0), weekend), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 14, 7, 0), weekly), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 16, 7, 0), weekly), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 16, 8, 0), weekly), 1);
}

TEST(CompareDue, MidnightNeverLiesAheadForDayRules) {
    for (RepeatKind kind : {RepeatKind::Daily, RepeatKind::Workdays, RepeatKind::Weekends, RepeatKind::Weekly}) {
        ReminderItem r = MakeReminder(kind, 2026, 12, 9, 0, 0);
        for (int day = 7; day <= 13; ++day)
            ASSERT_EQ(CompareDue(At(2026, 12, day, 0, 0), r), 1) << static_cast<int>(kind) << " " << day;
    }
    EXPECT_EQ(CompareDue(At(2026, 7, 1, 0, 0), MakeReminder(RepeatKind::Monthly, 2026, 1, 1, 0, 0)), 1);
    EXPECT_EQ(CompareDue(At(2027, 1, 1, 0, 0), MakeReminder(RepeatKind::Yearly, 2026, 1, 1, 0, 0)), 1);
}

TEST(CompareDue, UnknownKindUsesTheTimeOnly) {
    ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 0);
    r.repeat = 99;
    ExpectDueFrom(r, {At(1999, 5, 5, 7, 59)}, {At(1999, 5, 5, 8, 0)});
}

// The comparison that re-arms an Expired reminder before its time on its day.
TEST(CompareDue, CalendarKindsAreMinusOneOnlyBeforeTheTimeOfTheirDays) {
    const ReminderItem moon = MakeReminder(RepeatKind::LunarYearly, 2026, 9, 25, 8, 30);
    EXPECT_EQ(CompareDue(test::At(2027, 9, 15, 8, 29), moon), -1);  // 八月十五 of 2027
    EXPECT_EQ(CompareDue(test::At(2027, 9, 15, 8, 30), moon), 1);
    EXPECT_EQ(CompareDue(test::At(2027, 9, 25, 8, 0), moon), 1) << "the Gregorian date is no longer its day";
    EXPECT_EQ(CompareDue(test::At(2030, 1, 1, 8, 0), MakeReminder(RepeatKind::LunarYearly, 1899, 1, 1, 9, 0)), 1);
    const ReminderItem official = MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30);
    EXPECT_EQ(CompareDue(test::At(2026, 10, 9, 8, 0), official), -1);  // a Friday
    EXPECT_EQ(CompareDue(test::At(2026, 10, 10, 8, 0), official), 1);  // Saturday: Monday to Friday here
}

// A yearly date the year lacks falls on the first of the next month, in
// the comparison as in the occurrences.
TEST(CompareDue, YearlyTwentyNinthOfFebruaryIsOnTheFirstOfMarchInACommonYear) {
    const ReminderItem leap = MakeReminder(RepeatKind::Yearly, 2024, 2, 29, 8, 30);
    ExpectDueFrom(leap, {At(2027, 3, 1, 8, 29), At(2027, 2, 28, 8, 31)}, {At(2027, 3, 1, 8, 30), At(2027, 3, 2, 0, 0)});
    ExpectDueFrom(leap, {At(2028, 2, 29, 8, 29), At(2028, 1, 1, 8, 30)}, {At(2028, 3, 1, 8, 0)});
}

TEST(DateOf, CarriesTheWeekdayOfTheStoredDate) {
    CalendarDate d = DateOf(MakeReminder(RepeatKind::Weekly, 2026, 12, 6, 8, 0));
    EXPECT_EQ(d.weekday, 0);
    EXPECT_EQ(DateOf(MakeReminder(RepeatKind::Weekly, 2100, 3, 1, 8, 0)).weekday, 1);
}

}  // namespace
}  // namespace vt
