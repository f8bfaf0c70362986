// The manager's list with the two Chinese-calendar kinds: their rule texts in
// "周期", and a 每个法定工作日 reminder whose next occurrence lies in a year
// without holiday schedule marked in "下次提醒".
#include "assistant/reminders/ReminderRowView.h"
#include "tests/support/TestFiles.h"
#include "tests/win/reminders/ReminderWindowHarness.h"

namespace vt::test {
namespace {

using CalendarListTest = ReminderWindowTest;

TEST_F(CalendarListTest, RuleTextsAndTheProvisionalNextOccurrence) {
    ASSERT_TRUE(WriteFileBytes(m_dir + L"Holidays.txt", "years 2026-2026\n2026-12-25 off\n"));
    m_clock.Set(2026, 12, 24, 12, 0, 0);  // a Thursday
    WriteFile(FileOf({Reminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, L"上班", ReminderState::Expired),
                      Reminder(RepeatKind::LunarYearly, 2026, 9, 25, 8, 0, L"中秋", ReminderState::Expired),
                      Reminder(RepeatKind::Workdays, 2026, 9, 1, 8, 30, L"工作日", ReminderState::Expired)}));
    CreateManager();
    Tick();
    EXPECT_EQ(Cell(0, 2), L"每个法定工作日");
    EXPECT_EQ(Cell(1, 2), L"每年农历八月十五");
    // 25 December is off by this file, the weekend follows.
    EXPECT_EQ(Cell(0, kNextColumn), L"12月28日 8:30");
    EXPECT_EQ(Cell(1, kNextColumn), L"9月15日 8:00");
    EXPECT_EQ(Cell(2, kNextColumn), L"12月25日 8:30");
}

// After the last working day of 2026 the next one lies in 2027, which the
// file does not cover.
TEST_F(CalendarListTest, ANextOccurrenceInAYearWithoutScheduleIsMarkedProvisional) {
    ASSERT_TRUE(WriteFileBytes(m_dir + L"Holidays.txt", "years 2026-2026\n2026-12-25 off\n"));
    m_clock.Set(2026, 12, 31, 12, 0, 0);
    WriteFile(FileOf({Reminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, L"上班", ReminderState::Expired),
                      Reminder(RepeatKind::Workdays, 2026, 9, 1, 8, 30, L"工作日", ReminderState::Expired)}));
    CreateManager();
    Tick();
    EXPECT_EQ(Cell(0, kNextColumn), L"1月1日 8:30（暂按周一至周五）");
    EXPECT_EQ(Cell(1, kNextColumn), L"1月1日 8:30");
}

}  // namespace
}  // namespace vt::test
