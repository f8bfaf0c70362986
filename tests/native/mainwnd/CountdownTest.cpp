#include "assistant/mainwnd/Countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {

namespace {

Countdown Started() {
    Countdown c;
    c.StartStop();
    return c;
}

}  // namespace

TEST(CountdownMessages, RangeMessageNamesTheBoxRange) {
    EXPECT_EQ(OutOfRangeMessage(), "“请填入一个在1和65535之间的整数。”");
}

TEST(CountdownReadMinutes, NotANumberKeepsMinutesOutOfRangeTakesThem) {
    Countdown c;
    EXPECT_EQ(c.ReadMinutes("abc"), MinutesRead::NotANumber);
    EXPECT_EQ(c.Minutes(), 1u);
    EXPECT_EQ(c.ReadMinutes("70000"), MinutesRead::OutOfRange);
    EXPECT_EQ(c.Minutes(), 70000u);
    EXPECT_EQ(c.ReadMinutes(""), MinutesRead::NotANumber);
    EXPECT_EQ(c.Minutes(), 70000u);
    EXPECT_EQ(c.ReadMinutes(" 5 "), MinutesRead::Ok);
    EXPECT_EQ(c.Minutes(), 5u);
}

TEST(CountdownSpin, StepsStayWithinTheSpinRange) {
    Countdown c;
    EXPECT_EQ(c.SpinStep(1, +1), 2u);
    EXPECT_EQ(c.Minutes(), 2u);
    EXPECT_EQ(c.SpinStep(1, -1), 1u);
    EXPECT_EQ(c.SpinStep(32767, +1), 32767u);
    EXPECT_EQ(c.SpinStep(2147483647, +1), 32767u);
}

TEST(CountdownSpin, PositionAfterTypingIsInsideTheRange) {
    Countdown c;
    c.ReadMinutes("300");
    EXPECT_EQ(c.SpinPosition(), 300);
    c.ReadMinutes("40000");
    EXPECT_EQ(c.SpinPosition(), 32767);
    c.ReadMinutes("65536");  // low 16 bits are 0
    EXPECT_EQ(c.SpinPosition(), 1);
    c.ReadMinutes("65538");
    EXPECT_EQ(c.SpinPosition(), 2);
}

TEST(CountdownSetTime, LoadsMinutesAndKeepsRunningState) {
    Countdown c = Started();
    for (int i = 0; i < 50; ++i) c.Tick();
    ASSERT_EQ(c.Seconds(), 10);
    c.ReadMinutes("2");
    EXPECT_EQ(c.SetTime(), SetTimeResult::Set);
    EXPECT_EQ(c.Seconds(), 120);
    EXPECT_FALSE(c.Paused());
    c.Tick();
    EXPECT_EQ(c.Seconds(), 119);

    Countdown stopped;
    stopped.ReadMinutes("3");
    stopped.SetTime();
    EXPECT_EQ(stopped.Seconds(), 180);
    EXPECT_TRUE(stopped.Paused());
}

TEST(CountdownSetTime, RefusesZeroMinutesWithoutChange) {
    Countdown c;
    EXPECT_EQ(c.ReadMinutes("0"), MinutesRead::OutOfRange);
    EXPECT_EQ(c.SetTime(), SetTimeResult::ZeroMinutes);
    EXPECT_EQ(c.Seconds(), 60);
}

TEST(CountdownSetTime, HugeMinutesLimitToTheLargestWholeMinutes) {
    Countdown c;
    c.ReadMinutes("35791394");  // the last count that fits exactly
    c.SetTime();
    EXPECT_EQ(c.Seconds(), 35791394 * 60);

    for (const char* text : {"35791395", "71582789", "4294967295", "99999999999"}) {
        c.ReadMinutes(text);
        c.SetTime();
        EXPECT_EQ(c.Seconds(), 2147483640) << text;
        EXPECT_FALSE(c.Tick()) << text;  // stopped, and never negative
    }
    c.StartStop();
    EXPECT_FALSE(c.Tick());
    EXPECT_EQ(c.Seconds(), 2147483639);
}

TEST(CountdownStartStop, AsksUnderTenSecondsOnlyWhenStarting) {
    Countdown c = Started();
    for (int i = 0; i < 52; ++i) c.Tick();
    ASSERT_EQ(c.Seconds(), 8);
    EXPECT_FALSE(c.NeedsShortTimeQuestion());  // stopping never asks
    c.StartStop();
    EXPECT_TRUE(c.Paused());
    EXPECT_TRUE(c.NeedsShortTimeQuestion());
    // Declining leaves everything as it is: the window simply does not commit.
    EXPECT_EQ(c.Seconds(), 8);

    Countdown fresh;
    EXPECT_FALSE(fresh.NeedsShortTimeQuestion());  // 60 seconds
}

TEST(CountdownStartStop, LabelNamesTheNextAction) {
    Countdown c;
    EXPECT_STREQ(c.StartStopLabel(), "开始计时");
    c.StartStop();
    EXPECT_STREQ(c.StartStopLabel(), "暂停计时");
    c.StartStop();
    EXPECT_STREQ(c.StartStopLabel(), "开始计时");
}

TEST(CountdownTick, StoppedCountdownDoesNotMove) {
    Countdown c;
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(c.Tick());
    EXPECT_EQ(c.Seconds(), 60);
}

TEST(CountdownTick, StartedCountdownOfNSecondsEndsOnTickNPlusOne) {
    for (const char* minutes : {"1", "2"}) {
        Countdown c;
        c.ReadMinutes(minutes);
        c.SetTime();
        const int n = c.Seconds();
        c.StartStop();
        for (int i = 1; i <= n; ++i) ASSERT_FALSE(c.Tick()) << minutes << " tick " << i;
        EXPECT_EQ(c.Seconds(), 0);
        EXPECT_TRUE(c.Tick()) << minutes;
    }
}

TEST(CountdownStatus, TextsForStoppedAndRunning) {
    EXPECT_EQ(Countdown::StatusText(true, 60, '/'), "[已暂停]定时关机的时间为1分0秒");
    EXPECT_EQ(Countdown::StatusText(false, 59, '/'), "[运行中/]系统距离关机还有59秒");
    EXPECT_EQ(Countdown::StatusText(false, 3600, '-'), "[运行中-]系统距离关机还有1小时0分0秒");
    EXPECT_EQ(Countdown::StatusText(true, 90000, '|'), "[已暂停]定时关机的时间为25小时0分0秒");
    EXPECT_EQ(Countdown::StatusText(true, 4200000, '|'), "[已暂停]定时关机的时间为1166小时40分0秒");
    EXPECT_EQ(Countdown::StatusText(true, 3661, '|'), "[已暂停]定时关机的时间为1小时1分1秒");
    EXPECT_EQ(Countdown::StatusText(true, 0, '|'), "[已暂停]定时关机的时间为0秒");
}

TEST(CountdownStatus, SpinnerTurnsOneStepPerRunningRefresh) {
    Countdown c;
    EXPECT_EQ(c.NextStatusText(), "[已暂停]定时关机的时间为1分0秒");
    c.StartStop();
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) seen.push_back(c.NextStatusText());
    const char* expected[] = {"/", "-", "\\", "|", "/", "-"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(seen[i], std::string("[运行中") + expected[i] + "]系统距离关机还有1分0秒");
    // Stopped refreshes do not turn it.
    c.StartStop();
    c.NextStatusText();
    c.StartStop();
    EXPECT_EQ(c.NextStatusText(), "[运行中\\]系统距离关机还有1分0秒");
}

TEST(CountdownWarning, OnceWhenAMinuteOrLessIsLeftAndAgainAfterSetTime) {
    Countdown c;
    c.ReadMinutes("3");
    c.SetTime();
    c.StartStop();
    int warnings = 0, warnedAt = -1;
    for (int i = 0; i < 200 && !c.Tick(); ++i) {
        if (c.OneMinuteWarningDue()) {
            ++warnings;
            warnedAt = c.Seconds();
        }
    }
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(warnedAt, 60) << "61 ticks before the end";

    // A one-minute countdown is warned on its first tick; stopping and
    // starting again does not repeat it, Set time arms it again.
    Countdown d;
    d.StartStop();
    d.Tick();
    EXPECT_TRUE(d.OneMinuteWarningDue());
    d.Tick();
    EXPECT_FALSE(d.OneMinuteWarningDue()) << "only the tick it happened on";
    d.StartStop();
    d.Tick();
    d.StartStop();
    d.Tick();
    EXPECT_FALSE(d.OneMinuteWarningDue());
    d.SetTime();
    d.Tick();
    EXPECT_TRUE(d.OneMinuteWarningDue());

    Countdown stopped;
    for (int i = 0; i < 3; ++i) stopped.Tick();
    EXPECT_FALSE(stopped.OneMinuteWarningDue()) << "a stopped countdown warns of nothing";
    EXPECT_NE(std::string(kOneMinuteWarning).find("“暂停计时”"), std::string::npos);
    EXPECT_NE(std::string(kOneMinuteWarning).find(kStopLabel), std::string::npos);
}

}  // namespace vt

namespace vt {

TEST(CountdownEndAction, TextsNameTheActionAndKeepTodaysForShutDown) {
    EXPECT_EQ(Countdown::StatusText(true, 60, '/', EndAction::ShutDown), "[已暂停]定时关机的时间为1分0秒");
    EXPECT_EQ(Countdown::StatusText(true, 90, '/', EndAction::Restart), "[已暂停]定时重启的时间为1分30秒");
    EXPECT_EQ(Countdown::StatusText(false, 59, '/', EndAction::Sleep), "[运行中/]系统距离睡眠还有59秒");
    EXPECT_EQ(Countdown::StatusText(false, 3600, '-', EndAction::Hibernate), "[运行中-]系统距离休眠还有1小时0分0秒");
    EXPECT_EQ(Countdown::StatusText(true, 5, '|', EndAction::LogOff), "[已暂停]定时注销的时间为5秒");

    EXPECT_EQ(OneMinuteWarning(EndAction::ShutDown), kOneMinuteWarning);
    EXPECT_EQ(OneMinuteWarning(EndAction::Restart), "还有1分钟电脑就要重启啦～不想重启的话，请在菜单中点“暂停计时”。");
    EXPECT_EQ(ShortTimeQuestion(EndAction::ShutDown), kShortTimeQuestion);
    EXPECT_EQ(ShortTimeQuestion(EndAction::Sleep),
              "您当前设置的时间小于10秒，如果现在开始系统将在10秒内睡眠，您确定要这样做吗？");
    EXPECT_EQ(IdleStatusText(EndAction::ShutDown), "倒计时关机未执行");
    EXPECT_EQ(IdleStatusText(EndAction::Hibernate), "倒计时休眠未执行");
}

TEST(CountdownEndAction, TheRunningCountdownFollowsTheChosenAction) {
    Countdown c;
    c.SetAction(EndAction::Restart);
    c.StartStop();
    EXPECT_EQ(c.NextStatusText(), "[运行中/]系统距离重启还有1分0秒");
    c.SetAction(EndAction::ShutDown);
    EXPECT_EQ(c.NextStatusText(), "[运行中-]系统距离关机还有1分0秒");
}

TEST(CountdownRearm, StopsWithTheCountLastLoaded) {
    Countdown c;
    c.LoadSeconds(5400);
    c.StartStop();
    for (int i = 0; i < 5399; ++i) c.Tick();
    c.Rearm();
    EXPECT_TRUE(c.Paused());
    EXPECT_EQ(c.Seconds(), 5400);
    c.ReadMinutes("2");
    c.SetTime();
    c.StartStop();
    c.Tick();
    c.Rearm();
    EXPECT_EQ(c.Seconds(), 120) << "Set time loads the count rearming goes back to";
    c.StartStop();
    for (int i = 0; i < 61; ++i) c.Tick();
    bool warned = false;
    for (int i = 0; i < 60 && !c.Tick(); ++i) warned = warned || c.OneMinuteWarningDue();
    EXPECT_FALSE(warned) << "already warned in this run";
    c.Rearm();
    c.StartStop();
    for (int i = 0; i < 61; ++i) warned = warned || (c.Tick(), c.OneMinuteWarningDue());
    EXPECT_TRUE(warned) << "a rearmed countdown warns again";
}

}  // namespace vt
