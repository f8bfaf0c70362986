// The two Chinese-calendar kinds on the real program, its clock set by
// libfaketime: 每个法定工作日 follows Holidays.txt beside the program (and
// Monday to Friday in a year it lacks, with a balloon that says why), and
// 每年农历 rings on its lunar date each year. Each test runs alone, on the
// day tests/CMakeLists.txt gives it (VT_FAKE_CLOCK), which the programs it
// starts inherit; ctest -R CalendarClock runs them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"
#include "tests/support/NotifyRecord.h"

namespace vt::e2e {
namespace {

// A record as a copy from before the done-through block writes it, Expired:
// it counts as done up to its first load, so only occurrences after the
// program's start ring. An ASCII title needs no code page.
std::string Record(RepeatKind kind, int year, int month, int day, int hour, int minute, const char* title) {
    return test::NotifyRecord(kind, {year, month, day, hour, minute}, title, "", ReminderState::Expired);
}

// The National Day holiday of 2026 and the Saturday worked after it.
const char kSchedule2026[] =
    "# source 国务院办公厅关于2026年部分节假日安排的通知，2025-11-04\r\n"
    "years 2026-2026\r\n"
    "2026-09-20 work\r\n2026-10-01 off\r\n2026-10-02 off\r\n2026-10-03 off\r\n2026-10-04 off\r\n"
    "2026-10-05 off\r\n2026-10-06 off\r\n2026-10-07 off\r\n2026-10-10 work\r\n";

class DISABLED_CalendarDays : public AssistantTest {
protected:
    // Starts the program on the day of the test, which the clock must show.
    HWND StartOn(Process& p, int year, int month, int day) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        EXPECT_EQ(now.wYear * 10000 + now.wMonth * 100 + now.wDay, year * 10000 + month * 100 + day)
            << "run through ctest -R CalendarClock, which sets the clock";
        return Start(p);
    }
    void Files(const std::string& notify, const char* schedule = kSchedule2026) {
        ASSERT_TRUE(WriteFileBytes(m_dir + L"Notify.dat", notify));
        ASSERT_TRUE(WriteFileBytes(m_dir + L"Holidays.txt", schedule));
    }
    static void Exit(Process& p, HWND main) {
        PostCommand(main, ID_TRAY_EXIT);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
    static bool AlertShown(const Process& p, const std::wstring& title) {
        for (HWND w : p.TopLevelWindows(true))
            if (WindowText(w) == title + L" - 时间到了！(8:00)") return true;
        return false;
    }
    // Both reminders are due at 8:00, ten seconds after the start: the one
    // that must ring shows, then the other has had the same ticks.
    static void ExpectRingsAndSilent(const Process& p, const std::wstring& rings, const std::wstring& silent) {
        EXPECT_TRUE(WaitFor([&] { return AlertShown(p, rings); }, 30000)) << rings << " did not ring";
        Sleep(3000);
        EXPECT_FALSE(AlertShown(p, silent)) << silent << " rang";
    }
};

TEST_F(DISABLED_CalendarDays, StatutoryWorkdaysStaySilentOnNationalDay) {
    Files(Record(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 0, "official") +
          Record(RepeatKind::Workdays, 2026, 9, 1, 8, 0, "weekday"));
    Process p;
    HWND main = StartOn(p, 2026, 10, 1);  // a Thursday
    ASSERT_NE(main, nullptr);
    ExpectRingsAndSilent(p, L"weekday", L"official");
    Exit(p, main);
}

TEST_F(DISABLED_CalendarDays, StatutoryWorkdaysRingOnTheSaturdayWorked) {
    Files(Record(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 0, "official") +
          Record(RepeatKind::Workdays, 2026, 9, 1, 8, 0, "weekday"));
    Process p;
    HWND main = StartOn(p, 2026, 10, 10);
    ASSERT_NE(main, nullptr);
    ExpectRingsAndSilent(p, L"official", L"weekday");
    Exit(p, main);
}

// Set on 中秋 2026 (25 September): 八月十五 falls on 15 September in 2027.
const std::string kMidAutumn =
    Record(RepeatKind::LunarYearly, 2026, 9, 25, 8, 0, "moon") + Record(RepeatKind::Daily, 2026, 9, 1, 8, 0, "daily");

TEST_F(DISABLED_CalendarDays, LunarMidAutumnStaysSilentOnItsGregorianDate) {
    Files(kMidAutumn);
    Process p;
    HWND main = StartOn(p, 2027, 9, 25);
    ASSERT_NE(main, nullptr);
    ExpectRingsAndSilent(p, L"daily", L"moon");
    Exit(p, main);
}

TEST_F(DISABLED_CalendarDays, LunarMidAutumnRingsOnItsLunarDateOf2027) {
    Files(kMidAutumn);
    Process p;
    HWND main = StartOn(p, 2027, 9, 15);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return AlertShown(p, L"moon"); }, 30000)) << "八月十五 of 2027";
    Exit(p, main);
}

TEST_F(DISABLED_CalendarDays, AYearWithoutScheduleIsMondayToFridayAndTheBalloonSaysWhy) {
    Files(Record(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 0, "official"));
    Process p;
    HWND main = StartOn(p, 2027, 1, 1);  // a Friday; the file stops at 2026
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(BalloonShown(L"2027年的法定节假日安排尚未获取，暂按周一至周五提醒。", 8000));
    EXPECT_TRUE(WaitFor([&] { return AlertShown(p, L"official"); }, 30000));
    Exit(p, main);
}

}  // namespace
}  // namespace vt::e2e
