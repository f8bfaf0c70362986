#include "assistant/mainwnd/EndSchedule.h"

#include <gtest/gtest.h>

#include "assistant/mainwnd/Countdown.h"

namespace vt {
namespace {

using S = LastMinuteStep;
const CarriedOccurrence kA{1, 1000}, kB{2, 2000};

TEST(EndSchedule, TheEarlierEndIsInForceAndALaterDueRidesOnIt) {
    EndSchedule ends;
    ends.SetCountdown(true, 300, EndAction::Sleep);
    EXPECT_EQ(ends.Next().step, S::None);
    ends.OnReminderDue(ReminderPowerAction::Restart, kA, "下班");
    EndView view = ends.Next();
    EXPECT_EQ(view.step, S::Show);
    EXPECT_EQ(view.action, EndAction::Restart);
    EXPECT_EQ(view.reason, "下班");
    // A second reminder within that minute goes with it; the countdown runs on.
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kB, "");
    for (int i = 0; i < 60; ++i) EXPECT_EQ(ends.Tick().step, EndStep::None) << i;
    EndOrder end = ends.Tick();
    EXPECT_EQ(end.step, EndStep::EndReminder) << "on the 61st second, as a countdown ends";
    EXPECT_EQ(end.action, EndAction::Restart);
    EXPECT_EQ(end.carried, (std::vector<CarriedOccurrence>{kA, kB}));
    ends.SetCountdown(true, 239, EndAction::Sleep);
    EXPECT_EQ(ends.Next().step, S::Hide);

    // The countdown 20 s away: the reminder's end is carried out with it.
    ends.SetCountdown(true, 20, EndAction::Sleep);
    EXPECT_EQ(ends.Next().step, S::Show);
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    view = ends.Next();
    EXPECT_EQ(view.step, S::Update);
    EXPECT_EQ(view.action, EndAction::Sleep);
    EXPECT_EQ(ends.ActNow().step, EndStep::EndCountdown);
    EXPECT_EQ(ends.TakeCountdownRiders(), std::vector<CarriedOccurrence>{kA});
}

TEST(EndSchedule, PostponeCancelAndActNowWorkOnTheEndInForce) {
    EndSchedule ends;
    ends.SetCountdown(true, 40, EndAction::ShutDown);
    ends.Next();
    EXPECT_EQ(ends.Postpone().step, EndStep::PostponeCountdown);
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    EXPECT_EQ(ends.Cancel().step, EndStep::StopCountdown) << "the countdown, 40 s away, is first";
    ends.SetCountdown(false, 40, EndAction::ShutDown);
    EXPECT_TRUE(ends.TakeCountdownRiders().empty()) << "cancelled with it";

    ends.OnReminderDue(ReminderPowerAction::Hibernate, kB, "");
    EXPECT_EQ(ends.Next().step, S::Show);
    EXPECT_EQ(ends.Postpone().step, EndStep::None);
    EXPECT_EQ(ends.Next().step, S::Hide) << "ten minutes more";
    for (int i = 0; i < 600; ++i) ends.Tick();
    EXPECT_EQ(ends.Next().step, S::Show) << "its next last minute";
    ends.SetCountdown(true, 30, EndAction::Restart);
    EXPECT_EQ(ends.Next().step, S::Show) << "the countdown came first: the window says so";
    EXPECT_EQ(ends.Cancel().step, EndStep::StopCountdown);
    ends.SetCountdown(false, 30, EndAction::Restart);
    EXPECT_EQ(ends.Next().action, EndAction::Hibernate);
    EndOrder now = ends.ActNow();
    EXPECT_EQ(now.step, EndStep::EndReminder);
    EXPECT_EQ(now.carried, std::vector<CarriedOccurrence>{kB});
    EXPECT_EQ(ends.Next().step, S::Hide);

    ends.OnReminderDue(ReminderPowerAction::LogOff, kA, "");
    EXPECT_EQ(ends.Cancel().step, EndStep::None);
    EXPECT_EQ(ends.Next().step, S::None) << "cancelled before it was shown";
    for (int i = 0; i < 70; ++i) EXPECT_EQ(ends.Tick().step, EndStep::None);
}

TEST(EndSchedule, LockIsAtOnceAndOnlyReminderlessDuesAreIgnored) {
    EndSchedule ends;
    EndOrder lock = ends.OnReminderDue(ReminderPowerAction::Lock, kA, "");
    EXPECT_EQ(lock.step, EndStep::Lock);
    EXPECT_EQ(lock.carried, std::vector<CarriedOccurrence>{kA});
    EXPECT_EQ(ends.OnReminderDue(ReminderPowerAction::None, kB, "").step, EndStep::None);
    EXPECT_EQ(ends.Next().step, S::None);
}

TEST(EndSchedule, AWakeFromSleepGivesTheWholeMinuteAgain) {
    EndSchedule ends;
    ends.OnReminderDue(ReminderPowerAction::ShutDown, kA, "");
    for (int i = 0; i < 55; ++i) ends.Tick();
    ends.OnResume();
    EXPECT_EQ(ends.Next().seconds, 60);

    Countdown countdown;
    countdown.LoadSeconds(61);
    countdown.OnResume();
    EXPECT_EQ(countdown.Seconds(), 61) << "stopped";
    countdown.StartStop();
    countdown.OnResume();
    EXPECT_EQ(countdown.Seconds(), 61) << "not yet in its last minute";
    countdown.Tick();
    countdown.Tick();
    countdown.OnResume();
    EXPECT_EQ(countdown.Seconds(), 60);
    countdown.Postpone();
    EXPECT_EQ(countdown.Seconds(), 660);
    EXPECT_TRUE(countdown.Running());
}

}  // namespace
}  // namespace vt
