#include "assistant/reminders/ReminderTicker.h"

#include <gtest/gtest.h>

#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderManager.h"
#include "shared/core/Text.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::FakeClock;
using test::MakeReminder;
using test::MemoryFileSystem;

// Drives one reminder through whole days, ticking at second 0 and 30 of
// every minute, and acknowledges each alert as soon as it opens. The log
// shows when it fired ("fire") and when it was re-armed ("rearm").
class DayRunner {
public:
    // The reminder is made in the editor as the first day begins.
    explicit DayRunner(const ReminderItem& item) : m_manager(m_fs, "Notify.dat", m_clock) {
        m_clock.Set(2026, 12, 7, 0, 0);
        m_manager.Add(item);
    }

    // Days from 2026-12-07 (a Monday) on; only the hours [fromHour, toHour).
    std::vector<std::string> Run(int days, int fromHour = 0, int toHour = 24) {
        std::vector<std::string> log;
        for (int d = 0; d < days; ++d)
            for (int h = fromHour; h < toHour; ++h)
                for (int m = 0; m < 60; ++m)
                    for (int s : {0, 30}) {
                        m_clock.Set(2026, 12, 7 + d, h, m, s);
                        Tick(log);
                    }
        return log;
    }

private:
    void Tick(std::vector<std::string>& log) {
        TickResult r = m_manager.OnTimer();
        const LocalTime& t = m_clock.now;
        for (int row : r.changedRows) {
            bool fired = HasState(*m_manager.Book().At(row), ReminderState::Alerting);
            log.push_back(Format("%02d %02d:%02d %s", t.day, t.hour, t.minute, fired ? "fire" : "rearm"));
        }
        for (const AlertRequest& alert : r.alerts) {
            if (!alert.missedNote.empty()) log.push_back(alert.missedNote);
            m_manager.OnAnswer(alert.id, kAnswerAcknowledged);
        }
    }

    MemoryFileSystem m_fs;
    FakeClock m_clock;
    ReminderManager m_manager;
};

using Log = std::vector<std::string>;

ReminderItem Expired(RepeatKind kind, int year, int month, int day) {
    return MakeReminder(kind, year, month, day, 8, 30, "t", ReminderState::Expired);
}

TEST(ReminderWeek, DailyReArmsEachNightAndFiresEachMorning) {
    Log log = DayRunner(Expired(RepeatKind::Daily, 2026, 1, 1)).Run(3);
    EXPECT_EQ(log, (Log{"07 00:00 rearm", "07 08:30 fire", "08 00:00 rearm", "08 08:30 fire", "09 00:00 rearm",
                        "09 08:30 fire"}));
}

TEST(ReminderWeek, WorkdaysFireMondayToFridayOnly) {
    Log log = DayRunner(Expired(RepeatKind::Workdays, 2026, 1, 1)).Run(7);
    Log expected;
    for (int d = 7; d <= 11; ++d) {
        expected.push_back(Format("%02d 00:00 rearm", d));
        expected.push_back(Format("%02d 08:30 fire", d));
    }
    EXPECT_EQ(log, expected);
}

TEST(ReminderWeek, WeekendsFireSaturdayAndSundayOnly) {
    Log log = DayRunner(Expired(RepeatKind::Weekends, 2026, 1, 1)).Run(7);
    EXPECT_EQ(log, (Log{"12 00:00 rearm", "12 08:30 fire", "13 00:00 rearm", "13 08:30 fire"}));
}

TEST(ReminderWeek, WeeklyFiresOnTheWeekdayOfItsDate) {
    Log log = DayRunner(Expired(RepeatKind::Weekly, 2026, 12, 2)).Run(7);  // a Wednesday
    EXPECT_EQ(log, (Log{"09 00:00 rearm", "09 08:30 fire"}));
}

TEST(ReminderWeek, MonthlyReArmsOnEarlierDaysAndFiresOnItsDay) {
    Log log = DayRunner(Expired(RepeatKind::Monthly, 2026, 1, 9)).Run(4);
    EXPECT_EQ(log, (Log{"07 00:00 rearm", "09 08:30 fire"}));
}

TEST(ReminderWeek, YearlyFiresOnItsDateAnyYear) {
    Log log = DayRunner(Expired(RepeatKind::Yearly, 1999, 12, 8)).Run(3);
    EXPECT_EQ(log, (Log{"07 00:00 rearm", "08 08:30 fire"}));
}

TEST(ReminderWeek, OnceFiresOnceAndStaysExpired) {
    Log log = DayRunner(Expired(RepeatKind::Once, 2026, 12, 8)).Run(4);
    EXPECT_EQ(log, (Log{"07 00:00 rearm", "08 08:30 fire"}));
}

TEST(ReminderWeek, ReadyOnADayOutsideItsRuleWaitsForItsNextDay) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    clock.Set(2026, 12, 12, 10, 0);  // a Saturday
    // 每个工作日 made that Saturday, 每个星期五 dated Friday 12-18, 每天 dated
    // tomorrow: none rings that day, each rings on its first day.
    manager.Add(MakeReminder(RepeatKind::Workdays, 2026, 12, 12, 8, 30));
    manager.Add(MakeReminder(RepeatKind::Weekly, 2026, 12, 18, 8, 30));
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 12, 13, 8, 30));
    std::vector<std::string> fired;
    for (int day = 12; day <= 18; ++day)
        for (int hour = day == 12 ? 10 : 0; hour < 24; ++hour) {
            clock.Set(2026, 12, day, hour, 30);
            for (int row : manager.OnTimer().changedRows)
                if (HasState(*manager.Book().At(row), ReminderState::Alerting))
                    fired.push_back(Format("%d %02d %d", row, day, hour));
        }
    EXPECT_EQ(fired, (std::vector<std::string>{"2 13 8", "0 14 8", "1 18 8"}));
}

TEST(ReminderWeek, PastOnceSavedAsReadyFiresAtTheNextTick) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    manager.Add(MakeReminder(RepeatKind::Once, 2020, 1, 1, 8, 30));
    clock.Set(2026, 12, 7, 7, 0);
    EXPECT_EQ(manager.OnTimer().changedRows, (std::vector<int>{0}));
}

TEST(ReminderWeek, MidnightReminderComesBackOnEachOfItsDays) {
    // Made at 0:00 on Monday 12-07 as 已过期: that day's 0:00 is done.
    Log daily = DayRunner(MakeReminder(RepeatKind::Daily, 2026, 12, 7, 0, 0, "t", ReminderState::Expired)).Run(3);
    EXPECT_EQ(daily, (Log{"08 00:00 rearm", "08 00:00 fire", "09 00:00 rearm", "09 00:00 fire"}));
    Log weekly = DayRunner(MakeReminder(RepeatKind::Weekly, 2026, 12, 9, 0, 0, "t", ReminderState::Expired)).Run(7);
    EXPECT_EQ(weekly, (Log{"09 00:00 rearm", "09 00:00 fire"}));
    Log weekends = DayRunner(MakeReminder(RepeatKind::Weekends, 2026, 1, 1, 0, 0, "t", ReminderState::Expired)).Run(7);
    EXPECT_EQ(weekends, (Log{"12 00:00 rearm", "12 00:00 fire", "13 00:00 rearm", "13 00:00 fire"}));
}

TEST(ReminderWeek, ADailyReminderComesBackWhenEveryTickOfTheDayIsAfterItsTime) {
    // The PC starts at 9:00 each day; the reminder is at 8:30.
    Log log = DayRunner(Expired(RepeatKind::Daily, 2026, 1, 1)).Run(3, 9, 24);
    EXPECT_EQ(log,
              (Log{"07 09:00 rearm", "07 09:00 fire", "错过的提醒：12月7日 8:30", "08 09:00 rearm", "08 09:00 fire",
                   "错过的提醒：12月8日 8:30", "09 09:00 rearm", "09 09:00 fire", "错过的提醒：12月9日 8:30"}));
}

TEST(ReminderMonths, MonthlyOnThe31stSkipsShortMonths) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    clock.Set(2026, 4, 1, 0, 0);
    manager.Add(MakeReminder(RepeatKind::Monthly, 2026, 1, 31, 8, 30));
    // Every day of April, then 1 May to 31 May at 8:30.
    for (int d = 1; d <= 30; ++d) {
        clock.Set(2026, 4, d, 8, 30);
        ASSERT_TRUE(manager.OnTimer().changedRows.empty()) << "April " << d;
    }
    for (int d = 1; d <= 30; ++d) {
        clock.Set(2026, 5, d, 23, 59);
        ASSERT_TRUE(manager.OnTimer().changedRows.empty()) << "May " << d;
    }
    clock.Set(2026, 5, 31, 8, 30);
    EXPECT_EQ(manager.OnTimer().changedRows, (std::vector<int>{0}));
}

TEST(ReminderMonths, LeapDayFallsOnFirstOfMarchAtItsTimeInACommonYear) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    clock.Set(2027, 1, 1, 12, 0);
    manager.Add(MakeReminder(RepeatKind::Yearly, 2024, 2, 29, 9, 0, "t", ReminderState::Expired));
    clock.Set(2027, 2, 28, 23, 59);
    EXPECT_EQ(manager.OnTimer().changedRows, (std::vector<int>{0}));  // re-armed
    clock.Set(2027, 3, 1, 0, 0);
    EXPECT_TRUE(manager.OnTimer().changedRows.empty());
    clock.Set(2027, 3, 1, 9, 0);
    EXPECT_EQ(manager.OnTimer().changedRows, (std::vector<int>{0}));  // fired
    EXPECT_TRUE(HasState(*manager.Book().At(0), ReminderState::Alerting));
}

TEST(ReminderTick, SeveralDueInOneMinuteTurnAlertingTogetherAndOpenInRowOrder) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    clock.Set(2026, 12, 7, 0, 0);
    for (const char* title : {"a", "b", "c"}) {
        ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, title);
        SetText(r.command, Gbk(std::string("C:\\") + title + ".exe"));
        SetText(r.music, Gbk(std::string("D:\\") + title + ".mp3"));
        manager.Add(r);
    }
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 31, "later"));

    clock.Set(2026, 12, 7, 8, 30, 0);
    TickResult first = manager.OnTimer();
    EXPECT_EQ(first.changedRows, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(first.alerts.empty()) << "alerts open one tick later";

    clock.Set(2026, 12, 7, 8, 30, 1);
    TickResult second = manager.OnTimer();
    EXPECT_TRUE(second.changedRows.empty());
    ASSERT_EQ(second.alerts.size(), 3u);
    const char* titles[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) {
        const AlertRequest& a = second.alerts[i];
        EXPECT_EQ(a.row, i);
        EXPECT_EQ(a.id, manager.Book().IdAt(i));
        EXPECT_EQ(a.title.Bytes(), titles[i]);
        EXPECT_EQ(a.captionSuffix, " - 时间到了！(8:30)");
        ASSERT_EQ(a.launches.size(), 2u);
        EXPECT_EQ(a.launches[0].file.Bytes(), std::string("\"C:\\") + titles[i] + ".exe\"");
        EXPECT_EQ(a.launches[1].file.Bytes(), std::string("\"D:\\") + titles[i] + ".mp3\"");
        EXPECT_EQ(manager.Book().At(i)->alertTicks, 1);
    }

    clock.Set(2026, 12, 7, 8, 30, 2);
    TickResult third = manager.OnTimer();
    EXPECT_TRUE(third.alerts.empty()) << "an alert opens once";
    EXPECT_EQ(manager.Book().At(0)->alertTicks, 2);
    EXPECT_EQ(third.caption, "提醒管理器  北京时间  2026-12-7  8:30:02 星期一");
}

TEST(ReminderTick, SnoozedAndUnknownStatesAreLeftAlone) {
    MemoryFileSystem fs;
    FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "s", ReminderState::Snoozed));
    ReminderItem odd = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30);
    odd.state = 9;
    manager.Add(odd);
    for (int h : {7, 9}) {
        clock.Set(2026, 12, 7, h, 0);
        TickResult r = manager.OnTimer();
        EXPECT_TRUE(r.changedRows.empty());
        EXPECT_TRUE(r.alerts.empty());
    }
    EXPECT_TRUE(HasState(*manager.Book().At(0), ReminderState::Snoozed));
    EXPECT_EQ(manager.Book().At(1)->state, 9);
}

}  // namespace
}  // namespace vt
