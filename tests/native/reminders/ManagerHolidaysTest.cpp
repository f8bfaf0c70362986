// The holiday schedule in the reminder manager: read with the reminders,
// taken up again when the file changes, the years it lacks told once, and
// the list's next-occurrence cell in such a year.
#include <gtest/gtest.h>

#include "assistant/reminders/ReminderManager.h"
#include "assistant/reminders/ReminderRowView.h"
#include "assistant/reminders/ReminderTexts.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::MakeReminder;

test::Bytes B(const std::string& s) { return test::Bytes(s.begin(), s.end()); }

const char kNationalDay2026[] =
    "years 2026-2026\n2026-10-01 off\n2026-10-02 off\n2026-10-05 off\n2026-10-06 off\n2026-10-07 off\n"
    "2026-10-10 work\n";

class ManagerHolidays : public ::testing::Test {
protected:
    ManagerHolidays() : manager(fs, "app/Notify.dat", clock) {
        fs.files["app/Holidays.txt"] = B(kNationalDay2026);
        clock.Set(2026, 9, 30, 12, 0);
    }
    LocalTime Next(int row) { return TimeOfMinute(manager.Book().ProgressAt(row)->next); }

    test::MemoryFileSystem fs;
    test::FakeClock clock;
    ReminderManager manager;
};

TEST_F(ManagerHolidays, LoadReadsTheScheduleAndAChangedFileIsTakenUpWithinAMinute) {
    manager.Load();
    manager.Add(MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, "w", ReminderState::Expired));
    manager.Add(MakeReminder(RepeatKind::Workdays, 2026, 9, 1, 8, 30, "m", ReminderState::Expired));
    EXPECT_EQ(Next(0).day, 8) << "after the National Day holiday";
    EXPECT_EQ(Next(1).day, 1);
    EXPECT_TRUE(manager.OnTimer().changedRows.empty());

    // The updater puts a schedule without the holiday in place.
    fs.files["app/Holidays.txt"] = B("years 2026-2026\n");
    clock.Set(2026, 9, 30, 12, 0, 30);
    EXPECT_EQ(Next(0).day, 8) << "looked at once a minute";
    manager.OnTimer();
    clock.Set(2026, 9, 30, 12, 1);
    TickResult tick = manager.OnTimer();
    EXPECT_EQ(tick.changedRows, (std::vector<int>{0}));
    EXPECT_EQ(Next(0).month, 10);
    EXPECT_EQ(Next(0).day, 1);
    EXPECT_EQ(tick.uncoveredYear, 0);
}

TEST_F(ManagerHolidays, AnUncoveredYearIsToldOncePerRun) {
    clock.Set(2026, 12, 31, 12, 0);
    manager.Load();
    manager.Add(MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, "w", ReminderState::Expired));
    manager.Add(MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 9, 0, "v", ReminderState::Expired));
    TickResult tick = manager.OnTimer();
    EXPECT_EQ(tick.uncoveredYear, 2027);
    EXPECT_EQ(UncoveredYearMessage(tick.uncoveredYear), "2027年的法定节假日安排尚未获取，暂按周一至周五提醒。");
    EXPECT_EQ(Next(0).year, 2027);
    EXPECT_EQ(Next(0).day, 1) << "Friday 1 January: Monday to Friday for want of the schedule";
    clock.Set(2026, 12, 31, 12, 1);
    EXPECT_EQ(manager.OnTimer().uncoveredYear, 0) << "once per year and run";
}

TEST_F(ManagerHolidays, NoBalloonWhileTheNextOccurrenceLiesInACoveredYear) {
    manager.Load();
    manager.Add(MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, "w", ReminderState::Expired));
    manager.Add(MakeReminder(RepeatKind::Workdays, 2027, 3, 1, 8, 30, "m", ReminderState::Expired));
    EXPECT_EQ(manager.OnTimer().uncoveredYear, 0);
}

TEST(NextCell, ProvisionalWorkdaysAreMarkedInAnUncoveredYear) {
    const HolidaySchedule schedule = HolidaySchedule::Parse(kNationalDay2026);
    const LocalTime now = test::At(2026, 12, 31, 12, 0);
    const ReminderItem w = MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30);
    const LocalMinute jan1 = MinuteOf(test::At(2027, 1, 1, 8, 30));
    const LocalMinute oct8 = MinuteOf(test::At(2026, 10, 8, 8, 30));
    EXPECT_EQ(CellOf(w, kNextColumn, jan1, now, &schedule), "1月1日 8:30（暂按周一至周五）");
    EXPECT_EQ(CellsOf(w, jan1, now, &schedule).next, "1月1日 8:30（暂按周一至周五）");
    EXPECT_EQ(CellOf(w, kNextColumn, oct8, now, &schedule), "10月8日 8:30");
    EXPECT_EQ(CellOf(w, kNextColumn, oct8, now, nullptr), "10月8日 8:30（暂按周一至周五）") << "no schedule known";
    EXPECT_EQ(CellOf(w, kNextColumn, kNoOccurrence, now, &schedule), "");
    const ReminderItem m = MakeReminder(RepeatKind::Workdays, 2026, 9, 1, 8, 30);
    EXPECT_EQ(CellOf(m, kNextColumn, jan1, now, &schedule), "1月1日 8:30");
    EXPECT_EQ(CellOf(w, 2, jan1, now, &schedule), "每个法定工作日");
}

}  // namespace
}  // namespace vt
