#include "assistant/mainwnd/PowerActions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {

namespace {

// Both sides write into one log, so the order across them shows.
struct Recorder : IPowerActions, IExitHost {
    std::vector<std::string> log;
    void EnableShutdownPrivilege() override { log.push_back("privilege"); }
    void ExitSession(std::uint32_t flags) override { log.push_back("exit " + std::to_string(flags)); }
    void PrepareExit() override { log.push_back("prepare"); }
    void StopTimer() override { log.push_back("stop timer"); }
    void Quit() override { log.push_back("quit"); }
    void Suspend(bool hibernate) override { log.push_back(hibernate ? "hibernate" : "sleep"); }
    bool CanHibernate() override { return true; }
    void Lock() override { log.push_back("lock"); }
    void SaveReminders() override { log.push_back("save reminders"); }
    void RearmCountdown() override { log.push_back("rearm"); }
    // Apart from the log: where in the sequence it comes is of no concern.
    void SetExecutionState(std::uint32_t flags) override { executionStates.push_back(flags); }
    std::vector<std::uint32_t> executionStates;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PowerCommands, SaveEverythingBeforeAskingWindowsThenQuit) {
    for (std::uint32_t flags : {kExitShutDown, kExitRestart, kExitLogOff}) {
        Recorder r;
        RunPowerCommand(r, r, flags);
        EXPECT_EQ(r.log, (Log{"privilege", "prepare", "exit " + std::to_string(flags), "quit"}));
        EXPECT_TRUE(flags & 4) << "forced: " << flags;
    }
}

TEST(CountdownEnd, ShutsDownAndPowersOffThenStopsTheTimerAndQuits) {
    Recorder r;
    EndCountdown(r, r);
    EXPECT_EQ(r.log, (Log{"privilege", "prepare", "exit 13", "stop timer", "quit"}));
}

TEST(CountdownEnd, ClearsTheRequestToStayAwake) {
    Recorder r;
    EndCountdown(r, r);
    EXPECT_EQ(r.executionStates, (std::vector<std::uint32_t>{kMaySleep}));
    EXPECT_EQ(ExecutionStateFor(true), 0x80000001u) << "ES_CONTINUOUS | ES_SYSTEM_REQUIRED, display free";
    EXPECT_EQ(ExecutionStateFor(false), 0x80000000u) << "ES_CONTINUOUS alone";
}

TEST(CountdownEnd, RestartAndLogOffEndTheProgramLikeTheirMenuCommands) {
    Recorder restart;
    EndCountdown(restart, restart, EndAction::Restart);
    EXPECT_EQ(restart.log, (Log{"privilege", "prepare", "exit 6", "stop timer", "quit"}));
    Recorder logoff;
    EndCountdown(logoff, logoff, EndAction::LogOff);
    EXPECT_EQ(logoff.log, (Log{"privilege", "prepare", "exit 4", "stop timer", "quit"}));
    EXPECT_EQ(logoff.executionStates, (std::vector<std::uint32_t>{kMaySleep}));
}

TEST(CountdownEnd, SleepAndHibernateSaveTheRemindersAndLeaveTheProgramRunning) {
    Recorder sleep;
    EndCountdown(sleep, sleep, EndAction::Sleep);
    EXPECT_EQ(sleep.log, (Log{"rearm", "privilege", "save reminders", "sleep"}));
    EXPECT_EQ(sleep.executionStates, (std::vector<std::uint32_t>{kMaySleep})) << "no request to stay awake left";
    Recorder hibernate;
    EndCountdown(hibernate, hibernate, EndAction::Hibernate);
    EXPECT_EQ(hibernate.log, (Log{"rearm", "privilege", "save reminders", "hibernate"}));
}

TEST(SuspendCommands, PrivilegeAndRemindersFirstNoWayOut) {
    Recorder r;
    RunSuspend(r, r, false);
    RunSuspend(r, r, true);
    EXPECT_EQ(r.log, (Log{"privilege", "save reminders", "sleep", "privilege", "save reminders", "hibernate"}));
}

}  // namespace vt
