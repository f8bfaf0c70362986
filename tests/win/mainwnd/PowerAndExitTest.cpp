// The ways out through the power calls: the countdown's end, the three power
// commands, Windows ending the logon, and monitor off, which is no way out.
#include <algorithm>

#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

class PowerAndExit : public MainWindowTest {
protected:
    static std::string ShowInfoWrite() { return std::string("write HKLM\\") + SettingsStore::kKey + "\\ShowInfo = 0"; }
    // What PrepareExit leaves in the log when the machine-wide key is writable:
    // settings first (a Run value an x86 copy left in the 32-bit view goes
    // before all), then the reminders.
    EventLog PrepareExitWrites() const {
        return {"delete HKLM32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel",
                std::string("write HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel = \"") + kExePath +
                    "\"",
                "delete HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel", ShowInfoWrite(),
                "save reminders"};
    }
    EventLog PowerSequence(std::uint32_t flags) const {
        EventLog log{"privilege"};
        for (const std::string& entry : PrepareExitWrites()) log.push_back(entry);
        log.push_back("exit " + std::to_string(flags));
        return log;
    }
    // After PrepareExit: no tray icon, the form hidden.
    void ExpectPutAway() {
        EXPECT_FALSE(HasTrayIcon(Main()));
        EXPECT_FALSE(IsWindowVisible(Main()));
        EXPECT_TRUE(IsWindow(Main()));  // hidden, not destroyed
    }
};

TEST_F(PowerAndExit, CountdownEndSavesEverythingThenShutsDownAndQuits) {
    ShowForm();
    const bool trayAtStart = HasTrayIcon(Main());
    Click(1);
    Tick(60);
    EXPECT_TRUE(m_log.empty());
    EXPECT_NE(Status().find(L"系统距离关机还有0秒"), std::wstring::npos);
    EXPECT_FALSE(TakeQuitMessage());

    Tick();
    EXPECT_EQ(m_log, PowerSequence(0x0D));
    ExpectPutAway();
    if (!trayAtStart) ADD_FAILURE() << "no tray icon to begin with: the shell did not take it";
    EXPECT_FALSE(KillTimer(Main(), kCountdownTimerId)) << "the countdown timer should be stopped";
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(PowerAndExit, PowerCommandsSaveEverythingFirstAndQuitWithTheirFlags) {
    const std::pair<int, std::uint32_t> commands[] = {
        {ID_TRAY_SHUTDOWN, 0x0C}, {ID_TRAY_REBOOT, 0x06}, {ID_TRAY_LOGOFF, 0x04}};
    for (auto [id, flags] : commands) {
        SCOPED_TRACE(id);
        CreateMainWindow();
        ShowForm();
        Command(id);
        EXPECT_EQ(m_log, PowerSequence(flags));
        ExpectPutAway();
        EXPECT_TRUE(TakeQuitMessage());
    }
}

TEST_F(PowerAndExit, LogonEndingRunsPrepareExitAndAgrees) {
    ShowForm();
    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(m_log, PrepareExitWrites());
    ExpectPutAway();
    // Windows ends the process; the program itself does not quit.
    EXPECT_FALSE(TakeQuitMessage());

    // The logoff was cancelled elsewhere: the countdown still runs.
    Click(1);
    Tick();
    EXPECT_NE(Status().find(L"59秒"), std::wstring::npos);
}

TEST_F(PowerAndExit, UntickedAutorunIsDeletedFromBothHivesAtExit) {
    Command(ID_TRAY_AUTORUN);
    Command(ID_TRAY_EXIT);
    EXPECT_EQ(m_log, (EventLog{"delete HKLM32\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel",
                               "delete HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel",
                               "delete HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Vantrel",
                               ShowInfoWrite(), "save reminders"}));
    EXPECT_TRUE(TakeQuitMessage());
}

HWND g_hookTarget = nullptr;
std::vector<LPARAM> g_monitorPower;

LRESULT CALLBACK WatchSysCommand(int code, WPARAM wParam, LPARAM lParam) {
    auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_hookTarget && call->message == WM_SYSCOMMAND &&
        (call->wParam & 0xFFF0) == SC_MONITORPOWER)
        g_monitorPower.push_back(call->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PowerAndExit, MonitorOffGoesThroughTheWindowAndLeavesEverythingRunning) {
    ShowForm();
    Click(1);
    g_hookTarget = Main();
    g_monitorPower.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchSysCommand, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Command(ID_TRAY_MONITOROFF);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(g_monitorPower, std::vector<LPARAM>{2});
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(TakeQuitMessage());
    Tick();
    EXPECT_NE(Status().find(L"59秒"), std::wstring::npos);
}

TEST_F(PowerAndExit, SystemCommandsPassOnButCloseAndEscOnlyHide) {
    ShowForm();
    Send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(Main()));
    Send(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(Main()));
    Send(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_FALSE(IsWindowVisible(Main()));
    ShowForm();
    Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);  // Esc
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_TRUE(m_log.empty());
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(PowerAndExit, CanceledLogoffBringsBackTheTrayIconAndTheReminderManager) {
    ASSERT_TRUE(HasTrayIcon(Main())) << "the shell did not take the icon to begin with";
    Command(ID_TRAY_REMINDERS);  // its window, to watch its caption
    HWND manager = m_dialog->Reminders().Hwnd();
    ASSERT_TRUE(manager);
    ShowWindow(manager, SW_HIDE);
    auto managerTicks = [&] {
        // The manager's tick, on the main window's second, writes its clock
        // into its caption.
        SetWindowTextW(manager, L"-");
        Tick();
        return Text(manager) != L"-";
    };
    ASSERT_TRUE(managerTicks());

    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, 0), TRUE);
    ExpectPutAway();
    EXPECT_FALSE(managerTicks()) << "nothing fires while the logon is ending";
    Send(WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(HasTrayIcon(Main()));
    EXPECT_TRUE(managerTicks()) << "the reminders fire again";
    EXPECT_FALSE(TakeQuitMessage());

    // A second logoff is prepared for as the first was, and a real end
    // brings nothing back.
    m_log.clear();
    EXPECT_EQ(Send(WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(m_log, PrepareExitWrites());
    Send(WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(HasTrayIcon(Main()));
    EXPECT_FALSE(managerTicks());
}

TEST_F(PowerAndExit, EndSessionWithoutAQueryChangesNothing) {
    Send(WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(HasTrayIcon(Main()));
    EXPECT_FALSE(TakeQuitMessage());
}

TEST_F(PowerAndExit, RunningCountdownAsksToStayAwakeUntilStoppedOrEnded) {
    EXPECT_TRUE(m_power.executionStates.empty()) << "a stopped countdown asks for nothing";
    Click(1);  // 开始计时
    EXPECT_EQ(m_power.executionStates, (std::vector<std::uint32_t>{kStayAwake}));
    Command(ID_TRAY_STARTSTOP);  // 暂停计时 from the menu
    EXPECT_EQ(m_power.executionStates, (std::vector<std::uint32_t>{kStayAwake, kMaySleep}));
    Click(1);
    Tick(61);
    EXPECT_EQ(m_power.executionStates, (std::vector<std::uint32_t>{kStayAwake, kMaySleep, kStayAwake, kMaySleep}));
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(PowerAndExit, TheLastMinuteOpensWithoutTheKeyboardAndItsButtonsPutOffStopAndEnd) {
    ShowForm();
    TypeMinutes(L"2");
    Click(IDC_SETTIME);
    Click(1);
    Tick(59);
    EXPECT_EQ(m_dialog->LastMinute().Hwnd(), nullptr) << "61 s left";
    Tick();
    HWND last = m_dialog->LastMinute().Hwnd();
    ASSERT_TRUE(last && IsWindowVisible(last));
    EXPECT_EQ(GetForegroundWindow(), Main()) << "shown without taking the keyboard";
    EXPECT_EQ(Text(last), L"即将关机");

    vt::test::Click(last, IDC_LM_POSTPONE);
    EXPECT_FALSE(IsWindowVisible(last));
    EXPECT_NE(Status().find(L"[运行中"), std::wstring::npos);
    Tick(600);
    ASSERT_TRUE(IsWindowVisible(last)) << "its next last minute";
    vt::test::Click(last, IDC_LM_CANCEL);
    EXPECT_FALSE(IsWindowVisible(last));
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STARTSTOP), L"开始计时");
    EXPECT_EQ(m_power.executionStates.back(), kMaySleep);

    Click(1);  // 60 s left: at once in the last minute; reloading leaves it
    EXPECT_TRUE(IsWindowVisible(last));
    Click(IDC_SETTIME);
    EXPECT_FALSE(IsWindowVisible(last));
    Tick(70);
    Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(Text(GetDlgItem(last, IDC_LM_SECONDS)), L"60") << "woken: the whole minute again";
    m_log.clear();  // the picker's time kept by 设置时间
    vt::test::Click(last, IDC_LM_ACT_NOW);
    EXPECT_EQ(m_log, PowerSequence(0x0D));
    EXPECT_FALSE(IsWindowVisible(last));
    EXPECT_TRUE(TakeQuitMessage());
}

}  // namespace
}  // namespace vt::test
