// The countdown form's "当": the condition chosen, checked, armed and
// watched on the one-second timer, and the last minute once it holds.
#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

class ConditionForm : public MainWindowTest {
protected:
    void Second(int times = 1) {
        for (int i = 0; i < times; ++i) {
            ++m_seconds;
            Tick();
        }
    }
    void OpenProgramList() {
        Send(WM_COMMAND, MAKEWPARAM(IDC_JOB_PROGRAM, CBN_DROPDOWN), reinterpret_cast<LPARAM>(Item(IDC_JOB_PROGRAM)));
    }
};

TEST_F(ConditionForm, ArmedItWaitsForTheProgramAndItsExitBeginsTheLastMinute) {
    SendDlgItemMessageW(Main(), IDC_WHEN, BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_WHEN);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_MINUTES)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_JOB_PROGRAM)));
    auto boxes = Answering([&] { Click(IDC_SETTIME); });
    ASSERT_EQ(boxes.size(), 1u) << "no program named";
    EXPECT_EQ(boxes[0].caption, L"Vantrel");

    m_jobs.Running({"svchost.exe", "Thunder.exe", "svchost.exe", "setup.tmp"});
    OpenProgramList();
    EXPECT_EQ(SendMessageW(Item(IDC_JOB_PROGRAM), CB_GETCOUNT, 0, 0), 2);
    m_jobs.asked = 0;
    Tick(3);
    EXPECT_EQ(m_jobs.asked, 0) << "nothing is sampled before the wait is armed";

    SetWindowTextW(Item(IDC_JOB_PROGRAM), L"thunder");
    EXPECT_TRUE(Answering([&] { Click(IDC_SETTIME); }).empty());
    EXPECT_EQ(Status(), L"[已暂停]thunder.exe 退出后关机");
    Click(1);
    EXPECT_EQ(Status(), L"[等待中]Thunder.exe 退出后关机");
    EXPECT_EQ(m_dialog->MenuItemText(ID_TRAY_STATUS), L"[等待中]Thunder.exe 退出后关机");
    EXPECT_EQ(Text(Item(1)), L"暂停计时");

    m_jobs.Running({"svchost.exe"});
    Second(4);
    EXPECT_EQ(Status(), L"[等待中]Thunder.exe 退出后关机") << "gone for less than 5 seconds";
    Second();
    EXPECT_EQ(Status(), L"[运行中/]系统距离关机还有1分0秒");
    Second();
    EXPECT_EQ(Status(), L"[运行中-]系统距离关机还有59秒");

    // Kept for the next start.
    CreateMainWindow();
    EXPECT_EQ(Text(Item(IDC_JOB_PROGRAM)), L"thunder");
}

TEST_F(ConditionForm, TheCommandLinesRequestsSetTheFormAndStart) {
    CountdownRequest request;
    request.minutes = 5;
    request.action = EndAction::Restart;
    EXPECT_TRUE(m_dialog->CarryOut(request));
    EXPECT_EQ(MinutesBox(), L"5");
    EXPECT_EQ(Status(), L"[运行中/]系统距离重启还有5分0秒");
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_END_ACTION, CB_GETCURSEL, 0, 0), 1);

    request = {};
    request.way = CountdownWay::Condition;
    request.condition = {JobConditionKind::CpuIdle, "", 7};
    EXPECT_TRUE(m_dialog->CarryOut(request));
    EXPECT_EQ(Status(), L"[等待中]CPU 空闲7分钟后重启");
    EXPECT_EQ(SendDlgItemMessageW(Main(), IDC_WHEN, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(Item(IDC_JOB_MINUTES)), L"7");

    EXPECT_TRUE(m_dialog->CarryOut(CountdownRequest{true}));
    EXPECT_EQ(Text(Item(1)), L"开始计时");
    EXPECT_EQ(Status(), L"[已暂停]CPU 空闲7分钟后重启");
}

}  // namespace
}  // namespace vt::test
