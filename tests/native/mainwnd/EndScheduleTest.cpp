#include "assistant/mainwnd/EndSchedule.h"

#include <gtest/gtest.h>

#include "assistant/mainwnd/Countdown.h"

namespace vt {
namespace {

using S = LastMinuteStep;
using Carried = std::vector<CarriedOccurrence>;
const CarriedOccurrence kA{1, 1000}, kB{2, 2000};

TEST(EndSchedule, TheEarlierEndIsInForceAndAReminderDueWithinItsMinuteRidesOnIt) {
    EndSchedule ends;
    ends.SetCountdown(true, 300, EndAction::Sleep);
    ends.OnReminderDue(ReminderPowerAction::Restart, kA, "下班");
    EndView view = ends.Next();
    EXPECT_EQ(view.step, S::Show);
    EXPECT_EQ(view.action, EndAction::Restart);
    EXPECT_EQ(view.reason, "下班");
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kB, "");
    for (int i = 0; i < 60; ++i) ASSERT_EQ(ends.Tick().step, EndStep::None) << i;
    EndOrder end = ends.Tick();  // the 61st second, as a countdown ends
    EXPECT_EQ(end.step, EndStep::EndReminder);
    EXPECT_EQ(end.action, EndAction::Restart);
    EXPECT_EQ(end.carried, (Carried{kA, kB}));

    // the countdown first: it takes the reminder, and says why its last minute began
    ends.SetCountdown(true, 20, EndAction::Sleep, "Thunder.exe 已退出");
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    view = ends.Next();
    EXPECT_EQ(view.action, EndAction::Sleep);
    EXPECT_EQ(view.reason, "Thunder.exe 已退出");
    EXPECT_EQ(ends.ActNow().step, EndStep::EndCountdown);
    EXPECT_EQ(ends.TakeCountdownRiders(), Carried{kA});
    EXPECT_EQ(ends.OnReminderDue(ReminderPowerAction::Lock, kB, "").carried, Carried{kB}) << "locked at once";
    EXPECT_EQ(ends.Next().step, S::Update);
}

TEST(EndSchedule, PostponeCancelAndActNowWorkOnTheEndInForce) {
    EndSchedule ends;
    ends.SetCountdown(true, 40, EndAction::ShutDown);
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    EXPECT_EQ(ends.Postpone().step, EndStep::PostponeCountdown);
    EXPECT_EQ(ends.Cancel().step, EndStep::StopCountdown);
    EXPECT_TRUE(ends.TakeCountdownRiders().empty()) << "cancelled with the countdown";
    ends.SetCountdown(false, 40, EndAction::ShutDown);

    ends.OnReminderDue(ReminderPowerAction::Hibernate, kB, "");
    EXPECT_EQ(ends.Next().step, S::Show);
    EXPECT_EQ(ends.Postpone().step, EndStep::None);
    EXPECT_EQ(ends.Next().step, S::Hide);
    for (int i = 0; i < 600; ++i) ends.Tick();
    EXPECT_EQ(ends.Next().step, S::Show) << "its next last minute";
    ends.SetCountdown(true, 30, EndAction::Restart);
    EXPECT_EQ(ends.Next().step, S::Show) << "the countdown came first: the window says so";
    ends.SetCountdown(false, 30, EndAction::Restart);  // stopped from the tray
    EXPECT_EQ(ends.Next().action, EndAction::Hibernate);
    EndOrder now = ends.ActNow();
    EXPECT_EQ(now.step, EndStep::EndReminder);
    EXPECT_EQ(now.carried, Carried{kB});
    EXPECT_EQ(ends.Next().step, S::Hide);

    ends.OnReminderDue(ReminderPowerAction::LogOff, kA, "");
    ends.Cancel();
    for (int i = 0; i < 70; ++i) EXPECT_EQ(ends.Tick().step, EndStep::None);
}

TEST(EndSchedule, AWakeFromSleepGivesALastMinuteItsWholeMinuteAgain) {
    EndSchedule ends;
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    for (int i = 0; i < 55; ++i) ends.Tick();
    ends.OnResume();
    EXPECT_EQ(ends.Next().seconds, 60);

    Countdown countdown;
    countdown.LoadSeconds(62);
    countdown.StartStop();
    countdown.OnResume();
    EXPECT_EQ(countdown.Seconds(), 62) << "not yet in its last minute";
    countdown.Tick(), countdown.Tick(), countdown.Tick();
    countdown.OnResume();
    EXPECT_EQ(countdown.Seconds(), 60);
    countdown.Postpone();
    EXPECT_EQ(countdown.Seconds(), 660);
}

}  // namespace
}  // namespace vt
