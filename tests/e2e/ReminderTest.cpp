// Reminders as a user meets them in the real program: a reminder due at
// start-up alerts, is put off and reaches Notify.dat at exit; a damaged
// Notify.dat is kept aside and the user is told where; across runs on
// different days (the clock moved through TZ, which Wine honours) each
// occurrence rings once, and a late alert says which one it answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "assistant/res/resource.h"
#include "shared/win/Encoding.h"
#include "tests/e2e/Driver.h"
#include "tests/support/NotifyRecord.h"

namespace vt::e2e {
namespace {

using test::GetRecordInt;
using test::kRecordSize;
using test::kStateOffset;
using test::kTicksOffset;

// One Notify.dat record as a copy from before the done-through block writes it.
std::string Reminder(RepeatKind kind, const SYSTEMTIME& at, const std::wstring& title, const std::wstring& content,
                     ReminderState state = ReminderState::Ready) {
    return test::NotifyRecord(kind, {at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute}, win::ToGbk(title).Bytes(),
                              win::ToGbk(content).Bytes(), state);
}

// A reminder of kind Once in state Ready.
std::string OnceReminder(const SYSTEMTIME& at, const std::wstring& title, const std::wstring& content) {
    return Reminder(RepeatKind::Once, at, title, content);
}

// Minutes since 1970-01-01 0:00 of a local date and time, as the block
// stores the done-through moment.
long long LocalMinuteOf(const SYSTEMTIME& t) {
    FILETIME ft;
    SYSTEMTIME day = t;
    day.wSecond = day.wMilliseconds = 0;
    SystemTimeToFileTime(&day, &ft);
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    const unsigned long long k1970 = 116444736000000000ULL;  // 1970-01-01 in 100 ns since 1601
    return static_cast<long long>((u.QuadPart - k1970) / 600000000ULL);
}

// The done-through block: tag, moment, FNV-1a of the 12 bytes before.
void PutDoneBlock(std::string& rec, long long minute) {
    std::memcpy(&rec[kDoneBlockOffset], "VtDn", 4);
    for (int i = 0; i < 8; ++i)
        rec[kDoneBlockOffset + 4 + i] = static_cast<char>((static_cast<unsigned long long>(minute) >> (8 * i)) & 0xFF);
    std::uint32_t h = 2166136261u;
    for (size_t i = 0; i < 12; ++i) {
        h ^= static_cast<unsigned char>(rec[kDoneBlockOffset + i]);
        h *= 16777619u;
    }
    test::PutRecordInt(rec, kDoneBlockOffset + 12, static_cast<std::int32_t>(h));
}

bool HasDoneBlock(const std::string& rec) { return rec.compare(kDoneBlockOffset, 4, "VtDn") == 0; }

SYSTEMTIME Shifted(const SYSTEMTIME& t, long long minutes) {
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    u.QuadPart += static_cast<unsigned long long>(minutes * 600000000LL);
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    SYSTEMTIME out;
    FileTimeToSystemTime(&ft, &out);
    return out;
}

std::wstring AlertCaption(const std::wstring& title, int hour, int minute) {
    wchar_t caption[128];
    swprintf(caption, 128, L"%ls - 时间到了！(%d:%02d)", title.c_str(), hour, minute);
    return caption;
}

using ReminderEndToEnd = AssistantTest;

// The alert of the reminder "开会" due at the minute of at, once it opens.
HWND WaitMeetingAlert(const Process& p, const SYSTEMTIME& at) {
    return p.WaitWindow(AlertCaption(L"开会", at.wHour, at.wMinute));
}

TEST_F(ReminderEndToEnd, AReminderDueAtStartAlertsIsPutOffAndIsSavedReadyAtExit) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string original = OnceReminder(now, L"开会", L"十点在三楼会议室开周会");
    WriteFileBytes(m_dir + L"Notify.dat", original);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    HWND alert = WaitMeetingAlert(p, now);
    ASSERT_NE(alert, nullptr) << "the alert opens by itself, the manager window hidden";
    EXPECT_EQ(ItemText(alert, IDC_ALERT_CONTENT), L"十点在三楼会议室开周会");

    PressButton(alert, IDCANCEL);  // "在忙，等一会"
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(alert); }));
    EXPECT_TRUE(p.Running());

    PostCommand(main, ID_TRAY_EXIT);  // 退出
    EXPECT_EQ(p.WaitExit(), 0u);
    std::string saved = ReadFileBytes(m_dir + L"Notify.dat");
    ASSERT_EQ(saved.size(), kRecordSize);
    EXPECT_EQ(GetRecordInt(saved, kStateOffset), 0) << "put off (snoozed) is written as ready at exit";
    EXPECT_GE(GetRecordInt(saved, kTicksOffset), 1) << "the ticks it spent alerting";
    EXPECT_TRUE(saved.compare(0, kStateOffset, original, 0, kStateOffset) == 0);
    EXPECT_TRUE(HasDoneBlock(saved)) << "the zero area after alertTicks took the done-through block";
    EXPECT_TRUE(saved.compare(kDoneBlockOffset + kDoneBlockSize, std::string::npos, original,
                              kDoneBlockOffset + kDoneBlockSize, std::string::npos) == 0);
    EXPECT_FALSE(FileExists(m_dir + L"Notify.dat.tmp"));
}

TEST_F(ReminderEndToEnd, ADamagedFileIsKeptAsideAndTheUserIsToldWhere) {
    SYSTEMTIME later = {};
    later.wYear = 2036;
    later.wMonth = 1;
    later.wDay = 1;
    std::string damaged = OnceReminder(later, L"将来", L"");
    damaged += std::string(100, 'U');
    WriteFileBytes(m_dir + L"Notify.dat", damaged);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    HWND box = p.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"只读出了1条提醒"), std::wstring::npos);
    EXPECT_NE(text.find(m_dir + L"Notify.dat.bak"), std::wstring::npos);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat.bak"), damaged);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    const std::string saved = ReadFileBytes(m_dir + L"Notify.dat");
    ASSERT_EQ(saved.size(), kRecordSize);
    EXPECT_TRUE(saved.compare(0, kDoneBlockOffset, damaged, 0, kDoneBlockOffset) == 0) << "the whole record is kept";
    EXPECT_TRUE(HasDoneBlock(saved));
    EXPECT_TRUE(saved.compare(kDoneBlockOffset + kDoneBlockSize, std::string::npos, damaged,
                              kDoneBlockOffset + kDoneBlockSize, kRecordSize - kDoneBlockOffset - kDoneBlockSize) == 0);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat.bak"), damaged) << "the copy is left alone";
}

TEST_F(ReminderEndToEnd, ALogoffCanceledElsewhereLeavesTheTrayIconAndTheRemindersRunning) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteFileBytes(m_dir + L"Notify.dat", OnceReminder(now, L"开会", L"三楼"));
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    HWND alert = WaitMeetingAlert(p, now);
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(main); }));

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_FALSE(HasTrayIcon(main));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(alert); })) << "the alert closed at the way out";
    // Another program refuses the logoff.
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(HasTrayIcon(main));
    HWND again = WaitMeetingAlert(p, now);
    ASSERT_NE(again, nullptr) << "the reminder whose alert was closed fires again";
    PressButton(again, IDCANCEL);  // "在忙，等一会"
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(again); })) << "and its answer is taken";

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat").size(), kRecordSize);
}

TEST_F(ReminderEndToEnd, AFolderWhereNoReminderCanBeKeptIsNamedOnceAtStart) {
    SYSTEMTIME later = {};
    later.wYear = 2036;
    later.wMonth = 1;
    later.wDay = 1;
    const std::string original = OnceReminder(later, L"将来", L"");
    WriteFileBytes(m_dir + L"Notify.dat", original);
    // No new file can go beside it, and another program holds Notify.dat so
    // that it can be read but not written (Wine lets root write anything a
    // permission would refuse).
    ASSERT_TRUE(CreateDirectoryW((m_dir + L"Notify.dat.tmp").c_str(), nullptr));
    HANDLE lock =
        CreateFileW((m_dir + L"Notify.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    // The message itself, and that it comes once, are the reminder
    // window's (tests/win/reminders); here: the program goes on around it.
    HWND box = p.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(HasTrayIcon(main)) << "everything else as ever";

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(p.FindWindowTitled(L"Vantrel") == nullptr);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat"), original);
    RemoveDirectoryW((m_dir + L"Notify.dat.tmp").c_str());
}

// Runs of the program on chosen days: each run's local clock is the real one
// moved by a whole number of minutes through TZ, which Wine takes from the
// Unix environment the program starts with, or a chosen moment (libfaketime).
class ReminderDays : public AssistantTest {
protected:
    // The local moment of a run whose clock is `offset` minutes from UTC.
    static SYSTEMTIME LocalAt(long long offset) {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        return Shifted(utc, offset);
    }
    // The offset from UTC (-24 h to 0) that puts the local clock near noon,
    // so that no run of a test crosses midnight; a run a day later takes
    // this plus 24 h.
    static long long NoonOffset() {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        long long offset = 12 * 60 - (utc.wHour * 60 + utc.wMinute);
        return offset > 0 ? offset - 24 * 60 : offset;
    }
    // Starts the program with its local clock `offset` minutes from UTC.
    HWND StartAt(Process& p, long long offset) {
        int west = static_cast<int>(-offset);  // POSIX counts west of Greenwich
        int magnitude = west < 0 ? -west : west;
        char tz[40];
        snprintf(tz, sizeof tz, "TZ=VTZ%c%d:%02d", west < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
        if (!p.StartFromUnix(m_dir + L"Vantrel.exe", {tz})) return nullptr;
        return WaitMainWindow(p);
    }
    // Starts the program with its local clock running from `moment`
    // ("2026-12-07 09:00:00"), set by libfaketime for this run alone.
    HWND StartOn(Process& p, const char* moment) {
        char lib[MAX_PATH] = "";
        if (!GetEnvironmentVariableA("VT_FAKETIME_LIB", lib, MAX_PATH)) return nullptr;
        if (!p.StartFromUnix(m_dir + L"Vantrel.exe",
                             {std::string("LD_PRELOAD=") + lib, std::string("FAKETIME=@") + moment, "NO_FAKE_STAT=1"}))
            return nullptr;
        return WaitMainWindow(p);
    }
    // Yes to "嗯，我知道了" and to its confirmation.
    static void Acknowledge(const Process& p, HWND alert) {
        PressButton(alert, IDOK);
        HWND confirm = p.WaitWindow(L"提醒确认：");
        ASSERT_NE(confirm, nullptr);
        PressButton(confirm, IDYES);
        ASSERT_TRUE(WaitFor([&] { return !IsVisible(alert); }));
    }
    // No alert within a few of the manager's one-second ticks.
    static bool NoAlertFor(const Process& p, DWORD ms) {
        Sleep(ms);
        for (HWND w : p.TopLevelWindows(true))
            if (WindowText(w).find(L"时间到了") != std::wstring::npos) return false;
        return true;
    }
    static void Exit(Process& p, HWND main) {
        PostCommand(main, ID_TRAY_EXIT);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
    // A run at the offset that ends without opening an alert.
    ::testing::AssertionResult QuietRunAt(long long offset) {
        Process p;
        HWND main = StartAt(p, offset);
        if (!main) return ::testing::AssertionFailure() << "the program did not start";
        const bool quiet = NoAlertFor(p, 3500);
        Exit(p, main);
        if (!quiet) return ::testing::AssertionFailure() << "an alert opened";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(ReminderDays, ADailyReminderAcknowledgedOnOneDayRingsOnceOnTheNextWithTheMissedNote) {
    const long long dayD = NoonOffset(), dayD1 = dayD + 24 * 60;
    SYSTEMTIME at = Shifted(LocalAt(dayD), -1);  // a minute before the run: due at once
    WriteFileBytes(m_dir + L"Notify.dat", Reminder(RepeatKind::Daily, at, L"喝水", L"起来走走"));
    const std::wstring caption = AlertCaption(L"喝水", at.wHour, at.wMinute);

    {  // Day D: it rings, the user acknowledges it.
        Process p;
        HWND main = StartAt(p, dayD);
        ASSERT_NE(main, nullptr);
        HWND alert = p.WaitWindow(caption);
        ASSERT_NE(alert, nullptr);
        Acknowledge(p, alert);
        Exit(p, main);
        EXPECT_TRUE(HasDoneBlock(ReadFileBytes(m_dir + L"Notify.dat")));
    }
    SYSTEMTIME d1 = LocalAt(dayD1);
    {  // Day D+1, after its time: it rings again, and says it is late.
        Process p;
        HWND main = StartAt(p, dayD1);
        ASSERT_NE(main, nullptr);
        HWND alert = p.WaitWindow(caption);
        ASSERT_NE(alert, nullptr) << "the daily reminder comes back on its next day";
        wchar_t note[64];
        swprintf(note, 64, L"错过的提醒：%d月%d日 %d:%02d\r\n", d1.wMonth, d1.wDay, at.wHour, at.wMinute);
        EXPECT_EQ(ItemText(alert, IDC_ALERT_CONTENT), std::wstring(note) + L"起来走走");
        Acknowledge(p, alert);
        Exit(p, main);
    }
    // Day D+1 once more: nothing is left to ring.
    EXPECT_TRUE(QuietRunAt(dayD1)) << "a restart does not repeat an acknowledged occurrence";
}

TEST_F(ReminderDays, AWeeklyReminderDatedTomorrowDoesNotRingToday) {
    const long long today = NoonOffset();
    SYSTEMTIME now = LocalAt(today);
    SYSTEMTIME tomorrow = Shifted(now, 24 * 60);
    tomorrow.wHour = 0;
    tomorrow.wMinute = 0;
    std::string rec = Reminder(RepeatKind::Weekly, tomorrow, L"周会", L"");
    // As the editor saves it with "准备中": nothing done before today.
    SYSTEMTIME midnight = now;
    midnight.wHour = midnight.wMinute = 0;
    PutDoneBlock(rec, LocalMinuteOf(midnight) - 1);
    WriteFileBytes(m_dir + L"Notify.dat", rec);

    EXPECT_TRUE(QuietRunAt(today)) << "today is not its weekday, and it begins tomorrow";
    EXPECT_TRUE(ReadFileBytes(m_dir + L"Notify.dat") == rec) << "nothing about it changed";
}

TEST_F(ReminderDays, AnOldFileOfExpiredRemindersGivesNoAlertAtStart) {
    const long long today = NoonOffset();
    SYSTEMTIME now = LocalAt(today);
    SYSTEMTIME earlier = Shifted(now, -90);  // today, long before the start
    SYSTEMTIME lastMonth = Shifted(now, -30 * 24 * 60);
    std::string file = Reminder(RepeatKind::Daily, earlier, L"早", L"", ReminderState::Expired);
    file += Reminder(RepeatKind::Workdays, lastMonth, L"班", L"", ReminderState::Expired);
    file += Reminder(RepeatKind::Once, earlier, L"一次", L"", ReminderState::Expired);
    WriteFileBytes(m_dir + L"Notify.dat", file);

    EXPECT_TRUE(QuietRunAt(today)) << "no flood of alerts after the upgrade";
    const std::string saved = ReadFileBytes(m_dir + L"Notify.dat");
    ASSERT_EQ(saved.size(), file.size());
    for (size_t r = 0; r < 3; ++r) {
        const std::string rec = saved.substr(r * kRecordSize, kRecordSize);
        EXPECT_TRUE(rec.compare(0, kDoneBlockOffset, file, r * kRecordSize, kDoneBlockOffset) == 0) << r;
        EXPECT_TRUE(HasDoneBlock(rec)) << r;
    }
}

// Monday 2026-12-07 9:00: a daily reminder at 0:00 rings late and is
// acknowledged; the next start finds the clock set back to Sunday 9:00, and
// the one after that runs from Sunday 23:59:50 into Monday, where a reminder
// of that minute shows that midnight came and rang.
TEST_F(ReminderDays, AnOccurrenceAcknowledgedComesNeverBackWhenTheClockIsSetBack) {
    const SYSTEMTIME weekAgo = {2026, 11, 1, 30, 0, 0, 0, 0}, monday = {2026, 12, 1, 7, 0, 0, 0, 0};
    WriteFileBytes(m_dir + L"Notify.dat", Reminder(RepeatKind::Daily, weekAgo, L"零点", L"日结"));
    const std::wstring caption = AlertCaption(L"零点", 0, 0);
    {
        Process p;
        HWND main = StartOn(p, "2026-12-07 09:00:00");
        ASSERT_NE(main, nullptr) << "libfaketime (VT_FAKETIME_LIB) is needed";
        HWND alert = p.WaitWindow(caption);
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(ItemText(alert, IDC_ALERT_CONTENT), L"错过的提醒：12月7日 0:00\r\n日结");
        Acknowledge(p, alert);
        Exit(p, main);
    }
    ASSERT_TRUE(HasDoneBlock(ReadFileBytes(m_dir + L"Notify.dat")));
    {
        Process p;
        HWND main = StartOn(p, "2026-12-06 09:00:00");
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(NoAlertFor(p, 3500)) << "Sunday 9:00";
        Exit(p, main);
    }
    WriteFileBytes(m_dir + L"Notify.dat",
                   ReadFileBytes(m_dir + L"Notify.dat") + Reminder(RepeatKind::Once, monday, L"对照", L""));
    Process p;
    HWND main = StartOn(p, "2026-12-06 23:59:50");
    ASSERT_NE(main, nullptr);
    ASSERT_NE(p.WaitWindow(AlertCaption(L"对照", 0, 0), 30000), nullptr) << "Monday 0:00 came";
    EXPECT_FALSE(WaitFor([&] { return p.FindWindowTitled(caption) != nullptr; }, 3000)) << "Monday 0:00 was done";
    Exit(p, main);
}

}  // namespace
}  // namespace vt::e2e
