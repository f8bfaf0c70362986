// The countdown form of the real main window: minutes box, spin button,
// "设置时间", "开始计时", the status line and the messages they raise.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "shared/win/AppDirectory.h"
#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

constexpr wchar_t kNotANumber[] = L"“请填入一个正整数。”";
constexpr wchar_t kOutOfRange[] = L"“请填入一个在1和65535之间的整数。”";
constexpr wchar_t kZeroMinutes[] = L"您的关机时间必须大与0分钟！";
constexpr wchar_t kShortTime[] = L"您当前设置的时间小于10秒，如果现在开始系统将在10秒内关机，您确定要这样做吗？";

class CountdownForm : public MainWindowTest {
protected:
    int SpinPosition() { return LOWORD(SendMessageW(Item(IDC_SPIN), UDM_GETPOS, 0, 0)); }
    // An arrow key on the spin button: the control itself reports UDN_DELTAPOS.
    void PressSpin(UINT key) {
        SendMessageW(Item(IDC_SPIN), WM_KEYDOWN, key, 0);
        SendMessageW(Item(IDC_SPIN), WM_KEYUP, key, 0);
    }
    // A tick makes the status show the countdown.
    std::wstring StatusAfterTick() {
        Tick();
        return Status();
    }
};

TEST_F(CountdownForm, StartsStoppedWithOneMinuteAndCountsOnceStarted) {
    EXPECT_EQ(Text(Main()), L"关机管理器");
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_EQ(MinutesBox(), L"1");
    EXPECT_EQ(SpinPosition(), 1);
    EXPECT_EQ(Status(), L"Static");  // the template's text until the first tick
    EXPECT_EQ(StatusAfterTick(), L"[已暂停]定时关机的时间为1分0秒");
    Click(1);  // 开始计时
    EXPECT_EQ(Status(), L"[运行中/]系统距离关机还有1分0秒");
    EXPECT_EQ(Text(Item(1)), L"暂停计时");
    EXPECT_EQ(StatusAfterTick(), L"[运行中-]系统距离关机还有59秒");
    EXPECT_EQ(StatusAfterTick(), L"[运行中\\]系统距离关机还有58秒");
    Command(ID_TRAY_STARTSTOP);  // the tray item stops it as well
    EXPECT_EQ(Text(Item(1)), L"开始计时");
    EXPECT_EQ(StatusAfterTick(), L"[已暂停]定时关机的时间为58秒");
}

TEST_F(CountdownForm, TypedMinutesMoveTheSpinAndSetTimeLoadsThem) {
    auto boxes = Answering([&] {
        TypeMinutes(L"125");
        EXPECT_EQ(SpinPosition(), 125);
        Click(IDC_SETTIME);
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为2小时5分0秒");

    // Loaded while running: the countdown goes on from the new value.
    Click(1);
    Tick(3);
    Answering([&] {
        TypeMinutes(L" 2 ");
        Click(IDC_SETTIME);
    });
    EXPECT_EQ(StatusAfterTick(), L"[运行中-]系统距离关机还有1分59秒");
}

TEST_F(CountdownForm, SpinArrowsStepTheBoxBetweenOneAnd32767) {
    PressSpin(VK_UP);
    EXPECT_EQ(MinutesBox(), L"2");
    EXPECT_EQ(SpinPosition(), 2);
    PressSpin(VK_DOWN);
    PressSpin(VK_DOWN);
    EXPECT_EQ(MinutesBox(), L"1");
    EXPECT_EQ(SpinPosition(), 1);

    Answering([&] { TypeMinutes(L"32767"); });
    PressSpin(VK_UP);
    EXPECT_EQ(MinutesBox(), L"32767");
    // The box holds what the spin wrote, and Set time takes it.
    PressSpin(VK_DOWN);
    EXPECT_EQ(MinutesBox(), L"32766");
    Answering([&] { Click(IDC_SETTIME); });
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为546小时6分0秒");
}

TEST_F(CountdownForm, BadTextComplainsAtOnceAndHandsTheBoxBackSelected) {
    ShowForm();
    Answering([&] { TypeMinutes(L"5"); });
    auto boxes = Answering([&] { TypeMinutes(L"12a"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNotANumber);
    EXPECT_EQ(boxes[0].caption, win::ProgramName());
    EXPECT_EQ(SpinPosition(), 5);  // the last good minutes stay

    // "设置时间" clicked: the same complaint, then the box has the focus
    // with all its text selected, and the last good minutes are used.
    SetFocus(Item(IDC_SETTIME));
    boxes = Answering([&] { Click(IDC_SETTIME); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNotANumber);
    EXPECT_EQ(GetFocus(), Item(IDC_MINUTES));
    DWORD start = 1, end = 0;
    SendMessageW(Item(IDC_MINUTES), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为5分0秒");

    // Emptying the box is an edit too, and gets the same answer at once.
    boxes = Answering([&] { TypeMinutes(L""); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNotANumber);
}

TEST_F(CountdownForm, ZeroGetsTheRangeMessageThenItsOwnAndChangesNothing) {
    ShowForm();
    auto boxes = Answering([&] {
        TypeMinutes(L"0");
        Click(IDC_SETTIME);
    });
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, kOutOfRange);  // the edit
    EXPECT_EQ(boxes[1].text, kOutOfRange);  // Set time's read
    EXPECT_EQ(boxes[1].caption, win::ProgramName());
    EXPECT_EQ(boxes[2].text, kZeroMinutes);
    EXPECT_EQ(boxes[2].caption, L"Vantrel");
    EXPECT_FALSE(boxes[2].hasCancel);
    EXPECT_EQ(SpinPosition(), 1);
    EXPECT_EQ(StatusAfterTick(), L"[已暂停]定时关机的时间为1分0秒");
}

TEST_F(CountdownForm, OutOfRangeMinutesAreStillTakenAfterTheMessage) {
    auto boxes = Answering([&] {
        TypeMinutes(L"70000");
        Click(IDC_SETTIME);
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kOutOfRange);
    EXPECT_EQ(SpinPosition(), 70000 & 0xFFFF);
    EXPECT_EQ(Status(), L"[已暂停]定时关机的时间为1166小时40分0秒");

    // Past what the seconds counter holds: never a wrapped or negative count.
    Answering([&] {
        TypeMinutes(L"4294967295");
        Click(IDC_SETTIME);
    });
    Click(1);
    Tick();
    EXPECT_TRUE(m_log.empty()) << "a huge value must not shut down at once";
    EXPECT_NE(Status().find(L"系统距离关机还有596523小时"), std::wstring::npos);
}

TEST_F(CountdownForm, StartingWithUnderTenSecondsAsksFirst) {
    Click(1);
    Tick(52);
    Click(1);  // stopped at 8 seconds
    auto boxes = Answering([&] { Click(1); }, {{IDCANCEL}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kShortTime);
    EXPECT_EQ(boxes[0].caption, L"Vantrel");
    EXPECT_TRUE(boxes[0].hasCancel);
    EXPECT_EQ(StatusAfterTick(), L"[已暂停]定时关机的时间为8秒");

    boxes = Answering([&] { Command(ID_TRAY_STARTSTOP); }, {{IDOK}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Text(Item(1)), L"暂停计时");
    EXPECT_NE(StatusAfterTick().find(L"系统距离关机还有7秒"), std::wstring::npos);
}

TEST_F(CountdownForm, StartConfirmedTwiceThroughTheTrayStillEndsRunning) {
    Click(1);
    Tick(55);
    Click(1);  // stopped at 5 seconds
    // While the question is open the tray menu still works: the user starts
    // the countdown there and confirms both questions.
    auto boxes = Answering(
        [&] { Click(1); },
        {{IDOK, [&](HWND) { PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(ID_TRAY_STARTSTOP, 0), 0); }}, {IDOK}});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, kShortTime);
    EXPECT_EQ(Text(Item(1)), L"暂停计时");
    EXPECT_NE(StatusAfterTick().find(L"[运行中"), std::wstring::npos);
}

TEST_F(CountdownForm, KeepsTickingWhileAMessageBoxIsOpen) {
    Click(1);
    std::wstring before = Status();
    std::wstring during;
    // The real one-second timer, while the box of "倒计时关机未执行" is up.
    auto boxes = Answering([&] { Command(ID_TRAY_STATUS); }, {{IDOK, [&](HWND) {
                                                                   for (int i = 0; i < 500; ++i) {
                                                                       wchar_t text[256] = {};
                                                                       GetDlgItemTextW(Main(), IDC_STATUS, text, 256);
                                                                       during = text;
                                                                       if (during.find(L"58秒") != std::wstring::npos)
                                                                           break;
                                                                       Sleep(10);
                                                                   }
                                                               }}});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"欢迎使用本软件！");
    EXPECT_EQ(before, L"[运行中/]系统距离关机还有1分0秒");
    EXPECT_NE(during.find(L"系统距离关机还有58秒"), std::wstring::npos) << during.c_str();
}

TEST_F(CountdownForm, RunningCountdownCanEndWhileAMessageBoxIsOpen) {
    Click(1);
    auto boxes =
        Answering([&] { Command(ID_TRAY_STATUS); }, {{IDOK, [&](HWND) {
                                                          for (int i = 0; i < 61; ++i)
                                                              PostMessageW(Main(), WM_TIMER, kCountdownTimerId, 0);
                                                          Sleep(200);
                                                      }}});
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.front(), "privilege");
    EXPECT_NE(std::find(m_log.begin(), m_log.end(), "exit 13"), m_log.end());
    EXPECT_TRUE(TakeQuitMessage());
}

// Only the countdown's own timer counts down: a timer of another id on the
// same window leaves the status alone.
TEST_F(CountdownForm, OnlyTheCountdownTimerTicks) {
    Click(1);  // 开始计时
    EXPECT_EQ(StatusAfterTick(), L"[运行中-]系统距离关机还有59秒");
    Send(WM_TIMER, kCountdownTimerId + 1, 0);
    EXPECT_EQ(Status(), L"[运行中-]系统距离关机还有59秒");
    EXPECT_EQ(StatusAfterTick(), L"[运行中\\]系统距离关机还有58秒");
}

// The window and the tray carry the program icon at both sizes, and the
// icon dragged from a minimised window is the big one.
TEST_F(CountdownForm, WindowCarriesTheProgramIconAtBothSizes) {
    auto big = reinterpret_cast<HICON>(Send(WM_GETICON, ICON_BIG, 0));
    auto smallIcon = reinterpret_cast<HICON>(Send(WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(big, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_NE(big, smallIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(Send(WM_QUERYDRAGICON)), big);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(smallIcon, &info));
    BITMAP mask = {};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

}  // namespace
}  // namespace vt::test
