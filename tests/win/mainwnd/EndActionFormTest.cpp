// The countdown form's end action and time-of-day target, what the next
// start remembers, and sleep, hibernate and lock: none of them a way out.
#include <algorithm>

#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

class EndActionForm : public MainWindowTest {
protected:
    void ChooseAction(int index) {
        SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_SETCURSEL, index, 0);
        Send(WM_COMMAND, MAKEWPARAM(IDC_END_ACTION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(IDC_END_ACTION)));
    }
    void UseClock(bool on) {
        SendDlgItemMessageW(Main(), IDC_AT_CLOCK, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        Click(IDC_AT_CLOCK);
    }
    void PickTime(int hour, int minute) {
        SYSTEMTIME time = {};
        GetLocalTime(&time);
        time.wHour = static_cast<WORD>(hour);
        time.wMinute = static_cast<WORD>(minute);
        time.wSecond = 0;
        SendDlgItemMessageW(Main(), IDC_CLOCK, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }
    void At(int hour, int minute, int second = 0) {
        m_now.now.hour = hour;
        m_now.now.minute = minute;
        m_now.now.second = second;
    }
    void Store(const char* name, std::uint32_t value) {
        m_registry.PutDword(RegistryHive::CurrentUser, SettingsStore::kKey, name, value);
    }
    std::string Stored(const char* name) const {
        return m_registry.Text(RegistryHive::CurrentUser, SettingsStore::kKey, name).value_or("");
    }
    bool Logged(const std::string& entry) const { return std::find(m_log.begin(), m_log.end(), entry) != m_log.end(); }
};

TEST_F(EndActionForm, TheChosenActionNamesItselfInStatusTipAndMenu) {
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_GETCURSEL, 0, 0), 0) << "关机 by default";
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STATUS), L"倒计时关机未执行");
    ChooseAction(1);
    EXPECT_EQ(Status(), L"[已暂停]定时重启的时间为1分0秒");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STATUS), L"[已暂停]定时重启的时间为1分0秒");
    EXPECT_EQ(Stored("EndAction"), "1");
    Click(1);
    EXPECT_EQ(Status(), L"[运行中/]系统距离重启还有1分0秒");
    ChooseAction(0);
    EXPECT_NE(Status().find(L"系统距离关机还有1分0秒"), std::wstring::npos) << "关机 keeps today's text";
}

TEST_F(EndActionForm, ATimeOfDayLoadsTheSecondsUntilItsNextMoment) {
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_MINUTES)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLOCK)));
    UseClock(true);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_MINUTES)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLOCK)));

    At(8, 0);
    PickTime(23, 30);
    Click(IDC_SETTIME);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为15小时30分0秒");
    EXPECT_EQ(Stored("CountdownClock"), "1410");

    At(23, 45, 30);
    Click(IDC_SETTIME);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为23小时44分30秒") << "passed today: tomorrow";

    // Counted from the moment it starts, not from when it was set.
    At(22, 30);
    Click(1);
    EXPECT_EQ(Status(), L"[运行中/]系统距离关机还有1小时0分0秒");

    // The minutes box keeps working as before.
    Click(1);
    UseClock(false);
    TypeMinutes(L"5");
    Click(IDC_SETTIME);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为5分0秒");
    EXPECT_EQ(Stored("CountdownClock"), "1410") << "the picker's time stays kept";
    EXPECT_EQ(Stored("CountdownMinutes"), "") << "the minutes are not kept";
    EXPECT_EQ(Stored("CountdownAtClock"), "");
}

// Every start begins stopped with one minute, whatever an earlier version
// kept; the end action and the picker's time of day come back.
TEST_F(EndActionForm, TheNextStartHasTheActionAndTheTimeOfDayButOneMinute) {
    Store("EndAction", 4);
    Store("CountdownMinutes", 45);
    CreateMainWindow();
    EXPECT_EQ(MinutesBox(), L"1");
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_SPIN, UDM_GETPOS, 0, 0) & 0xFFFF, 1);
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STATUS), L"倒计时休眠未执行");
    Tick();
    EXPECT_EQ(Status(), L"[已暂停]定时休眠的时间为1分0秒");

    Store("EndAction", 99);  // nonsense: the default
    Store("CountdownAtClock", 1);
    Store("CountdownClock", 8 * 60 + 30);
    At(8, 0);
    CreateMainWindow();
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_AT_CLOCK, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the minutes first";
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_MINUTES)));
    SYSTEMTIME shown = {};
    SendDlgItemMessageW(Main(), IDC_CLOCK, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wHour, 8);
    EXPECT_EQ(shown.wMinute, 30);
    Tick();
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为1分0秒");
    UseClock(true);
    Click(IDC_SETTIME);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为30分0秒") << "the kept time of day";
}

TEST_F(EndActionForm, SleepAtTheEndKeepsTheProgramAndIsReadyAgain) {
    ChooseAction(3);
    Click(1);
    Tick(60);
    EXPECT_FALSE(Logged("sleep"));
    m_log.clear();
    Tick();
    EXPECT_EQ(m_log, (EventLog{"privilege", "save reminders", "sleep"}));
    EXPECT_EQ(m_power.executionStates.back(), kMaySleep);
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_TRUE(HasTrayIcon(Main()));
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_EQ(Status(), L"[已暂停]定时睡眠的时间为1分0秒");
    EXPECT_EQ(Text(Item(IDOK)), L"开始计时");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STARTSTOP), L"开始计时");
    Tick(3);
    EXPECT_EQ(Status(), L"[已暂停]定时睡眠的时间为1分0秒") << "stopped";

    ChooseAction(4);
    Click(1);
    Tick(61);
    EXPECT_TRUE(Logged("hibernate"));
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(EndActionForm, TraySleepHibernateAndLockLeaveTheProgramRunning) {
    Command(ID_TRAY_SLEEP);
    EXPECT_EQ(m_log, (EventLog{"privilege", "save reminders", "sleep"}));
    m_log.clear();
    Command(ID_TRAY_HIBERNATE);
    EXPECT_EQ(m_log, (EventLog{"privilege", "save reminders", "hibernate"}));
    m_log.clear();
    Command(ID_TRAY_LOCK);
    EXPECT_EQ(m_log, (EventLog{"lock"}));
    EXPECT_TRUE(HasTrayIcon(Main()));
    EXPECT_FALSE(TakeQuitMessage());
    Tick();
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为1分0秒");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_SLEEP), L"睡眠");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_HIBERNATE), L"休眠");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_LOCK), L"锁定");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_SETTINGS), L"设置...");
}

TEST_F(EndActionForm, HibernateIsGrayedWhereWindowsDoesNotAllowIt) {
    for (bool allowed : {false, true}) {
        m_power.hibernateAllowed = allowed;
        // The menu's own loop takes the cancel as soon as it runs.
        PostMessageW(Main(), WM_CANCELMODE, 0, 0);
        Send(WM_TRAYNOTIFY, 0, WM_RBUTTONUP);
        EXPECT_EQ(m_dialog->MenuItemGrayed(ID_TRAY_HIBERNATE), !allowed);
        EXPECT_FALSE(m_dialog->MenuItemGrayed(ID_TRAY_SLEEP));
        EXPECT_FALSE(m_dialog->MenuItemGrayed(ID_TRAY_LOCK));
    }
}

}  // namespace
}  // namespace vt::test
