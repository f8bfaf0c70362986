#include "assistant/reminders/Recurrence.h"

#include <gtest/gtest.h>

#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::At;
using test::MakeReminder;

TEST(CompareDue, TheWholeMinuteCountsAsDue) {
    ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 8, 29, 59), r), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 8, 30, 0), r), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 8, 30, 59), r), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 7, 59, 0), r), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 9, 0, 0), r), 1);
}

TEST(CompareDue, OnceComparesTheWholeDateBeforeTheTime) {
    ReminderItem r = MakeReminder(RepeatKind::Once, 2026, 12, 6, 8, 30);
    EXPECT_EQ(CompareDue(At(2026, 12, 5, 23, 59), r), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 6, 8, 29), r), -1);
    EXPECT_EQ(CompareDue(At(2026, 12, 6, 8, 30), r), 1);
    EXPECT_EQ(CompareDue(At(2026, 12, 7, 0, 0), r), 1);
    EXPECT_EQ(CompareDue(At(2027, 1, 1, 0, 0), r), 1);
    EXPECT_EQ(CompareDue(At(2025, 12, 31, 23, 59), r), -1);
}

TEST(CompareDue, YearlyIgnoresTheYear) {
    ReminderItem r = MakeReminder(RepeatKind::Yearly, 2020, 3, 15, 12, 0);
    EXPECT_EQ(CompareDue(At(2031, 3, 14, 23, 0), r), -1);
    EXPECT_EQ(CompareDue(At(2031, 3, 15, 11, 59), r), -1);
    EXPECT_EQ(CompareDue(At(2031, 3, 15, 12, 0), r), 1);
    EXPECT_EQ(CompareDue(At(2031, 4, 1, 0, 0), r), 1);
    EXPECT_EQ(CompareDue(At(2031, 1, 1, 0, 0), r), -1);
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
    for (RepeatKind kind : {RepeatKind::Daily, RepeatKind::Workdays, RepeatKind::Weekends,
                            RepeatKind::Weekly}) {
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
    EXPECT_EQ(CompareDue(At(1999, 5, 5, 7, 59), r), -1);
    EXPECT_EQ(CompareDue(At(1999, 5, 5, 8, 0), r), 1);
}

TEST(DateOf, CarriesTheWeekdayOfTheStoredDate) {
    CalendarDate d = DateOf(MakeReminder(RepeatKind::Weekly, 2026, 12, 6, 8, 0));
    EXPECT_EQ(d.weekday, 0);
    EXPECT_EQ(DateOf(MakeReminder(RepeatKind::Weekly, 2100, 3, 1, 8, 0)).weekday, 1);
}

}  // namespace
}  // namespace vt
