#include "assistant/mainwnd/JobCondition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FakeJobSampler.h"

namespace vt {
namespace {

using test::FakeJobSampler;

constexpr std::uint64_t kStart = 1000;  // any point of the monotonic clock

JobCondition Program(const std::string& name) { return {JobConditionKind::ProgramExit, name, 30}; }
JobCondition Waiting(JobConditionKind kind, std::uint32_t minutes) { return {kind, "", minutes}; }

// A watch armed at kStart and a clock that the test moves on.
struct Wait {
    explicit Wait(const JobCondition& condition, IdleThresholds thresholds = {}, FakeJobSampler atArming = {})
        : system(atArming) {
        watch.Arm(condition, thresholds, system, now);
    }
    // One tick a second up to and including `until` seconds after arming;
    // the second of the first tick that held, or 0.
    std::uint64_t TickUntil(std::uint64_t until) {
        while (now < kStart + until)
            if (watch.Tick(system, ++now)) return now - kStart;
        return 0;
    }
    FakeJobSampler system;
    JobWatch watch;
    std::uint64_t now = kStart;
};

TEST(JobConditionValues, KindsKeepTheirStoredNumbersAndNames) {
    EXPECT_EQ(JobConditionKindFromValue(0), JobConditionKind::ProgramExit);
    EXPECT_EQ(JobConditionKindFromValue(3), JobConditionKind::CpuIdle);
    EXPECT_FALSE(JobConditionKindFromValue(4));
    EXPECT_STREQ(JobConditionKindName(JobConditionKind::UserIdle), "无人使用电脑");
    EXPECT_STREQ(JobConditionKindName(JobConditionKind::CpuIdle), "CPU 空闲");
    EXPECT_EQ(DefaultJobMinutes(JobConditionKind::UserIdle), 30u);
    EXPECT_EQ(DefaultJobMinutes(JobConditionKind::NetworkIdle), 5u);
}

TEST(JobConditionValues, StoredValuesOutOfRangeFallBackToTheirDefaults) {
    const JobCondition unknownKind = JobConditionFromStored(9, "x.exe", 0);
    EXPECT_EQ(unknownKind.kind, JobConditionKind::ProgramExit);
    EXPECT_EQ(JobConditionFromStored(1, "", 0).minutes, 30u);
    EXPECT_EQ(JobConditionFromStored(2, "", 65536).minutes, 5u);
    EXPECT_EQ(JobConditionFromStored(2, "", 65535).minutes, 65535u);
    EXPECT_EQ(JobConditionFromStored(3, "", 1).minutes, 1u);

    const IdleThresholds low = IdleThresholdsFromStored(1, 1), high = IdleThresholdsFromStored(1048576, 99);
    EXPECT_EQ(low.networkKBps, 1u);
    EXPECT_EQ(low.cpuPercent, 1u);
    EXPECT_EQ(high.networkKBps, 1048576u);
    EXPECT_EQ(high.cpuPercent, 99u);
    const IdleThresholds out = IdleThresholdsFromStored(0, 100), beyond = IdleThresholdsFromStored(1048577, 0);
    EXPECT_EQ(out.networkKBps, 20u);
    EXPECT_EQ(out.cpuPercent, 10u);
    EXPECT_EQ(beyond.networkKBps, 20u);
    EXPECT_EQ(beyond.cpuPercent, 10u);
}

TEST(JobConditionValues, AProgramNeedsANameTheOthersMinutesInRange) {
    EXPECT_EQ(ProgramFileName("  \"C:\\Program Files\\Thunder\\Thunder.exe\" "), "Thunder.exe");
    EXPECT_EQ(ProgramFileName("tools/render"), "render");
    EXPECT_TRUE(IsValid(Program("迅雷")));
    EXPECT_FALSE(IsValid(Program(" \"\" ")));
    EXPECT_FALSE(IsValid(Program("C:\\Tools\\")));
    EXPECT_FALSE(IsValid(Waiting(JobConditionKind::UserIdle, 0)));
    EXPECT_TRUE(IsValid(Waiting(JobConditionKind::NetworkIdle, 65535)));
    EXPECT_FALSE(IsValid(Waiting(JobConditionKind::CpuIdle, 65536)));
}

TEST(JobConditionChoices, ProgramsSortedOnceEachWithoutLetterCaseAndOnlyExecutables) {
    EXPECT_EQ(ProgramChoices({"svchost.exe", "Thunder.exe", "[System Process]", "System", "explorer.EXE", "SVCHOST.EXE",
                              "thunder.exe", ".exe", "阿里旺旺.exe"}),
              (std::vector<std::string>{"explorer.EXE", "svchost.exe", "Thunder.exe", "阿里旺旺.exe"}));
}

TEST(ProgramExitCondition, HoldsFiveSecondsAfterTheLastProcessOfThatNameWasSeen) {
    Wait wait(Program("thunder"));  // ".exe" left out, another letter case
    wait.system.Running({"explorer.exe", "THUNDER.EXE"});
    wait.system.windowAppeared = true;
    EXPECT_EQ(wait.TickUntil(10), 0u);
    wait.system.Running({"explorer.exe", "thunder.exe.bak", "thunde.exe"});
    EXPECT_EQ(wait.TickUntil(100), 15u);
    EXPECT_FALSE(wait.watch.Armed());
    EXPECT_TRUE(wait.system.held.empty());
    EXPECT_EQ(wait.watch.WarningText(EndAction::ShutDown),
              "THUNDER.EXE 已退出，还有1分钟电脑就要关机啦～不想关机的话，请在菜单中点“暂停计时”。");
}

TEST(ProgramExitCondition, AProgramThatRestartsItselfCountsAsRunning) {
    Wait wait(Program("Render.exe"));
    wait.system.Running({"render.exe"});
    EXPECT_EQ(wait.TickUntil(kProgramLookSeconds), 0u);
    const std::uint64_t seen = wait.now - kStart;
    // A new process in place of the old one, at once or within four seconds.
    for (int round = 0; round < 5; ++round) {
        wait.system.Running({"render.exe"});
        EXPECT_EQ(wait.TickUntil(wait.now - kStart + 1), 0u);
        wait.system.Running({});
        EXPECT_EQ(wait.TickUntil(wait.now - kStart + 4), 0u);
    }
    EXPECT_TRUE(wait.watch.Armed());
    EXPECT_EQ(wait.TickUntil(wait.now - kStart + 1), seen + 26);
}

TEST(ProgramExitCondition, NotRunningAtArmingIsAcceptedAndWaitsForItToRunAndEnd) {
    Wait wait(Program("Thunder"));
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]Thunder.exe 退出后关机（尚未运行）");
    EXPECT_EQ(wait.TickUntil(600), 0u);  // it never ran: it has not exited either
    // Looked for at arming, then now and again.
    EXPECT_EQ(wait.system.looks, 1 + 600 / static_cast<int>(kProgramLookSeconds));
    // Started with a window: seen on the next tick.
    wait.system.Running({"Thunder.exe"});
    wait.system.windowAppeared = true;
    EXPECT_EQ(wait.TickUntil(601), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::Restart), "[等待中]Thunder.exe 退出后重启");
    EXPECT_FALSE(wait.system.watchingStarts);
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(700), 606u);
    EXPECT_EQ(wait.system.looks, 22 + 5);  // one a tick once seen, until gone
}

TEST(ProgramExitCondition, AProgramStartedWithoutAWindowIsSeenAtTheNextLook) {
    Wait wait(Program("backup"));
    EXPECT_EQ(wait.TickUntil(10), 0u);
    wait.system.Running({"backup.exe"});
    EXPECT_EQ(wait.TickUntil(kProgramLookSeconds - 1), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]backup.exe 退出后关机（尚未运行）");
    EXPECT_EQ(wait.TickUntil(kProgramLookSeconds), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]backup.exe 退出后关机");
    EXPECT_EQ(wait.system.looks, 2);
    // Disarmed before it was seen: the hints are let go.
    Wait disarmed(Program("backup"));
    EXPECT_TRUE(disarmed.system.watchingStarts);
    disarmed.watch.Disarm();
    EXPECT_FALSE(disarmed.system.watchingStarts);
}

TEST(ProgramExitCondition, ARunningProgramIsHeldNotLookedForEachTick) {
    FakeJobSampler running;
    running.Running({"explorer.exe", "job.exe", "job.exe"});
    Wait wait(Program("job.exe"), {}, running);
    EXPECT_EQ(wait.system.held.size(), 2u);
    EXPECT_EQ(wait.TickUntil(600), 0u);
    EXPECT_EQ(wait.system.looks, 1);
    // Both processes end together and another starts: looked at afresh,
    // the new one is held.
    wait.system.Running({"JOB.EXE"});
    EXPECT_EQ(wait.TickUntil(601), 0u);
    EXPECT_EQ(wait.system.looks, 2);
    EXPECT_EQ(wait.system.held, wait.system.live);
    // Whether the held one runs cannot be told: each tick looks instead.
    wait.system.heldAnswers = false;
    EXPECT_EQ(wait.TickUntil(700), 0u);
    EXPECT_EQ(wait.system.looks, 2 + 99);
    wait.system.heldAnswers = true;
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(800), 705u);
    EXPECT_TRUE(wait.system.held.empty());

    // Disarmed while holding: let go.
    Wait disarmed(Program("job.exe"), {}, running);
    EXPECT_FALSE(disarmed.system.held.empty());
    disarmed.watch.Disarm();
    EXPECT_TRUE(disarmed.system.held.empty());
}

TEST(ProgramExitCondition, AProgramThatCannotBeHeldIsLookedForEachTick) {
    FakeJobSampler refusing;
    refusing.holdable = false;
    refusing.Running({"setup.exe"});
    Wait wait(Program("setup.exe"), {}, refusing);
    EXPECT_EQ(wait.TickUntil(60), 0u);
    EXPECT_EQ(wait.system.looks, 61);
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(100), 65u);
}

TEST(ProgramExitCondition, AFailedSnapshotIsNeverAnExit) {
    FakeJobSampler failing;
    failing.processes.reset();  // the very first look fails
    failing.holdable = false;   // every tick looks
    Wait wait(Program("job.exe"), {}, failing);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]job.exe 退出后关机");
    wait.system.Running({"job.exe"});
    EXPECT_EQ(wait.TickUntil(kProgramLookSeconds), 0u);
    wait.system.processes.reset();
    EXPECT_EQ(wait.TickUntil(60), 0u);
    // The program may have run until the last failed look.
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(64), 0u);
    wait.system.processes.reset();
    EXPECT_EQ(wait.TickUntil(65), 0u);
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(100), 70u);
}

TEST(ProgramExitCondition, ASleepOrAStalledTimerGivesTheProgramItsFiveSecondsAgain) {
    FakeJobSampler running;
    running.Running({"job.exe"});
    Wait wait(Program("job.exe"), {}, running);
    wait.system.Running({});
    EXPECT_EQ(wait.TickUntil(2), 0u);
    wait.watch.OnResume(wait.now += 3600);
    EXPECT_EQ(wait.TickUntil(3606), 0u);
    EXPECT_EQ(wait.TickUntil(3700), 3607u);

    Wait stalled(Program("job.exe"), {}, running);
    stalled.system.Running({});
    stalled.now += 100;  // no tick for 100 seconds
    EXPECT_EQ(stalled.TickUntil(200), 106u);
}

TEST(UserIdleCondition, CountsIdleTimeFromArmingAndRestartsOnInput) {
    Wait wait(Waiting(JobConditionKind::UserIdle, 30));
    wait.system.inputAgeMs = 3600 * 1000;  // idle long before the wait began
    EXPECT_EQ(wait.TickUntil(720), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]无人使用电脑30分钟后关机（已空闲12分钟）");
    wait.system.inputAgeMs = 0;  // someone came back
    EXPECT_EQ(wait.TickUntil(721), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::LogOff), "[等待中]无人使用电脑30分钟后注销（已空闲0分钟）");
    wait.system.inputAgeMs = 1799 * 1000;
    EXPECT_EQ(wait.TickUntil(3000), 0u);
    wait.system.inputAgeMs = 1800 * 1000;
    EXPECT_EQ(wait.TickUntil(3001), 3001u);
    EXPECT_EQ(wait.watch.WarningText(EndAction::Sleep),
              "电脑已无人使用30分钟，还有1分钟电脑就要睡眠啦～不想睡眠的话，请在菜单中点“暂停计时”。");
}

TEST(UserIdleCondition, TheTimeAsleepOrUnknownIsNeverIdleTime) {
    Wait wait(Waiting(JobConditionKind::UserIdle, 1));
    wait.system.inputAgeMs = 30 * 1000;
    EXPECT_EQ(wait.TickUntil(30), 0u);
    // Eight hours asleep: the last input is that old when the computer wakes.
    wait.watch.OnResume(wait.now += 8 * 3600);
    wait.system.inputAgeMs = 8 * 3600 * 1000;
    EXPECT_EQ(wait.TickUntil(8 * 3600 + 59), 0u);
    wait.system.inputAgeMs.reset();
    EXPECT_EQ(wait.TickUntil(8 * 3600 + 90), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]无人使用电脑1分钟后关机");
    wait.system.inputAgeMs = 8 * 3600 * 1000;
    EXPECT_EQ(wait.TickUntil(8 * 3600 + 200), 8u * 3600 + 150);
}

// Bytes a second, each second from arming on.
std::uint64_t FeedNetwork(Wait& wait, std::uint64_t bytesPerSecond, int seconds) {
    for (int i = 0; i < seconds; ++i) {
        *wait.system.networkBytes += bytesPerSecond;
        if (wait.watch.Tick(wait.system, ++wait.now)) return wait.now - kStart;
    }
    return 0;
}

TEST(NetworkIdleCondition, QuietOnlyBelowTheThresholdForTheWholeTime) {
    Wait wait(Waiting(JobConditionKind::NetworkIdle, 5), IdleThresholds{20, 10});
    wait.system.networkBytes = 123456789;
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]网络空闲5分钟后关机");
    EXPECT_EQ(FeedNetwork(wait, 35 * 1024 + 1023, 60), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::ShutDown), "[等待中]网络空闲5分钟后关机（现在 35 KB/s）");
    EXPECT_EQ(FeedNetwork(wait, 20 * 1024, 600), 0u);  // at the threshold is not below it
    EXPECT_EQ(FeedNetwork(wait, 20 * 1024 - 1, 299), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::Hibernate), "[等待中]网络空闲5分钟后休眠（现在 19 KB/s）");
    EXPECT_EQ(FeedNetwork(wait, 20 * 1024 - 1, 10), 960u);
    EXPECT_EQ(wait.watch.WarningText(EndAction::ShutDown),
              "网络已空闲5分钟，还有1分钟电脑就要关机啦～不想关机的话，请在菜单中点“暂停计时”。");
}

TEST(NetworkIdleCondition, CountersThatWrapOrGoBackRestartTheMeasure) {
    Wait wait(Waiting(JobConditionKind::NetworkIdle, 1));
    wait.system.networkBytes = 0xFFFFFFFFull - 1000;
    EXPECT_EQ(FeedNetwork(wait, 100, 50), 0u);
    wait.system.networkBytes = 10;  // a 32-bit counter wrapped
    EXPECT_EQ(FeedNetwork(wait, 100, 59), 0u);
    wait.system.networkBytes = 5;  // an adapter went away
    EXPECT_EQ(FeedNetwork(wait, 0, 30), 0u);
    wait.system.networkBytes.reset();  // the table could not be read
    EXPECT_EQ(wait.TickUntil(wait.now - kStart + 1), 0u);
    wait.system.networkBytes = 7;
    EXPECT_EQ(FeedNetwork(wait, 0, 60), 0u);
    EXPECT_EQ(FeedNetwork(wait, 0, 1), 201u);
}

TEST(NetworkIdleCondition, ASleepRestartsTheMeasure) {
    Wait wait(Waiting(JobConditionKind::NetworkIdle, 1));
    EXPECT_EQ(FeedNetwork(wait, 0, 50), 0u);
    wait.watch.OnResume(wait.now += 3600);
    EXPECT_EQ(FeedNetwork(wait, 0, 60), 0u);
    EXPECT_EQ(FeedNetwork(wait, 0, 1), 3711u);
}

// One second of processor time of which `busyPercent` was not idle.
std::uint64_t FeedCpu(Wait& wait, std::uint64_t busyPercent, int seconds) {
    for (int i = 0; i < seconds; ++i) {
        CpuTimes& t = *wait.system.cpuTimes;
        t.user += busyPercent * 100000 / 2;
        t.kernel += busyPercent * 100000 / 2 + (100 - busyPercent) * 100000;
        t.idle += (100 - busyPercent) * 100000;
        if (wait.watch.Tick(wait.system, ++wait.now)) return wait.now - kStart;
    }
    return 0;
}

TEST(CpuIdleCondition, IdleOnlyBelowTheThresholdForTheWholeTime) {
    Wait wait(Waiting(JobConditionKind::CpuIdle, 5));
    EXPECT_EQ(FeedCpu(wait, 12, 30), 0u);
    EXPECT_EQ(wait.watch.StatusText(EndAction::Restart), "[等待中]CPU 空闲5分钟后重启（现在 12 %）");
    EXPECT_EQ(FeedCpu(wait, 10, 400), 0u);  // at the threshold is not below it
    EXPECT_EQ(FeedCpu(wait, 9, 299), 0u);
    EXPECT_EQ(FeedCpu(wait, 9, 1), 730u);
    EXPECT_EQ(wait.watch.WarningText(EndAction::ShutDown),
              "CPU 已空闲5分钟，还有1分钟电脑就要关机啦～不想关机的话，请在菜单中点“暂停计时”。");
}

TEST(CpuIdleCondition, TimesThatGoBackOrMisreadRestartTheMeasure) {
    Wait wait(Waiting(JobConditionKind::CpuIdle, 1));
    EXPECT_EQ(FeedCpu(wait, 0, 50), 0u);
    wait.system.cpuTimes = CpuTimes{};  // the counters started again
    EXPECT_EQ(FeedCpu(wait, 0, 59), 0u);
    wait.system.cpuTimes->idle += 100000000;  // more idle time than time passed
    EXPECT_EQ(FeedCpu(wait, 0, 59), 0u);
    EXPECT_EQ(FeedCpu(wait, 0, 2), 170u);
}

TEST(JobWatchSampling, NothingIsAskedWhileDisarmedAndOnlyWhatTheConditionNeedsWhileArmed) {
    Wait wait(Waiting(JobConditionKind::CpuIdle, 5));
    wait.system.networkBytes.reset();
    wait.system.processes.reset();
    wait.system.inputAgeMs.reset();  // answers the CPU does not need
    EXPECT_EQ(FeedCpu(wait, 0, 299), 0u);
    const int sampled = 1 + 299 / static_cast<int>(kQuietSampleSeconds);  // arming, then every few ticks
    EXPECT_EQ(wait.system.asked, sampled);
    wait.watch.Disarm();
    EXPECT_EQ(wait.TickUntil(400), 0u);
    EXPECT_EQ(wait.system.asked, sampled);
}

}  // namespace
}  // namespace vt
