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

}  // namespace vt
