#include "assistant/mainwnd/PowerActions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CoreFakes.h"

namespace vt {

namespace {

// The window's side, writing into the power calls' log, so the order across
// them shows.
struct Recorder : IExitHost {
    std::vector<std::string> log;
    test::RecordingPower power{log};
    void PrepareExit() override { log.push_back("prepare"); }
    void StopTimer() override { log.push_back("stop timer"); }
    void Quit() override { log.push_back("quit"); }
    void SaveReminders() override { log.push_back("save reminders"); }
    void RearmCountdown() override { log.push_back("rearm"); }
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PowerCommands, SaveEverythingBeforeAskingWindowsThenQuit) {
    for (std::uint32_t flags : {kExitShutDown, kExitRestart, kExitLogOff}) {
        Recorder r;
        RunPowerCommand(r.power, r, flags);
        EXPECT_EQ(r.log, (Log{"privilege", "prepare", "exit " + std::to_string(flags), "quit"}));
        EXPECT_TRUE(flags & 4) << "forced: " << flags;
    }
}

TEST(CountdownEnd, ShutsDownAndPowersOffThenStopsTheTimerAndQuits) {
    Recorder r;
    EndCountdown(r.power, r);
    EXPECT_EQ(r.log, (Log{"privilege", "prepare", "exit 13", "stop timer", "quit"}));
}

TEST(CountdownEnd, ClearsTheRequestToStayAwake) {
    Recorder r;
    EndCountdown(r.power, r);
    EXPECT_EQ(r.power.executionStates, (std::vector<std::uint32_t>{kMaySleep}));
    EXPECT_EQ(ExecutionStateFor(true), 0x80000001u) << "ES_CONTINUOUS | ES_SYSTEM_REQUIRED, display free";
    EXPECT_EQ(ExecutionStateFor(false), 0x80000000u) << "ES_CONTINUOUS alone";
}

TEST(CountdownEnd, RestartAndLogOffEndTheProgramLikeTheirMenuCommands) {
    Recorder restart;
    EndCountdown(restart.power, restart, EndAction::Restart);
    EXPECT_EQ(restart.log, (Log{"privilege", "prepare", "exit 6", "stop timer", "quit"}));
    Recorder logoff;
    EndCountdown(logoff.power, logoff, EndAction::LogOff);
    EXPECT_EQ(logoff.log, (Log{"privilege", "prepare", "exit 4", "stop timer", "quit"}));
    EXPECT_EQ(logoff.power.executionStates, (std::vector<std::uint32_t>{kMaySleep}));
}

TEST(CountdownEnd, SleepAndHibernateSaveTheRemindersAndLeaveTheProgramRunning) {
    Recorder sleep;
    EndCountdown(sleep.power, sleep, EndAction::Sleep);
    EXPECT_EQ(sleep.log, (Log{"rearm", "privilege", "save reminders", "sleep"}));
    EXPECT_EQ(sleep.power.executionStates, (std::vector<std::uint32_t>{kMaySleep})) << "no request to stay awake left";
    Recorder hibernate;
    EndCountdown(hibernate.power, hibernate, EndAction::Hibernate);
    EXPECT_EQ(hibernate.log, (Log{"rearm", "privilege", "save reminders", "hibernate"}));
    // A reminder's end leaves the countdown and its request to stay awake alone.
    Recorder reminder;
    RunEndAction(reminder.power, reminder, EndAction::Sleep);
    RunEndAction(reminder.power, reminder, EndAction::ShutDown);
    EXPECT_EQ(reminder.log,
              (Log{"privilege", "save reminders", "sleep", "privilege", "prepare", "exit 13", "stop timer", "quit"}));
    EXPECT_TRUE(reminder.power.executionStates.empty());
}

TEST(SuspendCommands, PrivilegeAndRemindersFirstNoWayOut) {
    Recorder r;
    RunSuspend(r.power, r, false);
    RunSuspend(r.power, r, true);
    EXPECT_EQ(r.log, (Log{"privilege", "save reminders", "sleep", "privilege", "save reminders", "hibernate"}));
}

}  // namespace vt
