#include "assistant/mainwnd/JobWait.h"

#include <gtest/gtest.h>

#include "assistant/mainwnd/Countdown.h"
#include "tests/support/FakeJobSampler.h"

namespace vt {
namespace {

TEST(JobWait, StoppedItNamesTheConditionArmedItWaitsAndOnlyItsLastMinuteGivesTheReason) {
    test::FakeJobSampler sampler;
    JobWait wait;
    wait.Load({JobConditionKind::UserIdle, "", 30}, {}, sampler, 0);
    EXPECT_EQ(wait.StatusText(EndAction::Restart), "[已暂停]无人使用电脑30分钟后重启");
    EXPECT_EQ(sampler.asked, 0);

    // A new condition while armed is waited for at once.
    wait.Arm({}, sampler, 0);
    wait.Load({JobConditionKind::ProgramExit, "C:\\Tools\\ffmpeg", 5}, {}, sampler, 0);
    EXPECT_TRUE(wait.Armed());
    EXPECT_EQ(wait.StatusText(EndAction::ShutDown), "[等待中]ffmpeg.exe 退出后关机（尚未运行）");
    EXPECT_EQ(wait.WarningText(EndAction::ShutDown), OneMinuteWarning(EndAction::ShutDown));

    sampler.Running({"FFMPEG.EXE"});
    sampler.windowAppeared = true;
    EXPECT_FALSE(wait.Tick(sampler, 1));
    sampler.Running({});
    EXPECT_FALSE(wait.Tick(sampler, 5));
    EXPECT_TRUE(wait.Tick(sampler, 6));
    EXPECT_FALSE(wait.Armed());
    EXPECT_EQ(wait.WarningText(EndAction::ShutDown).rfind("FFMPEG.EXE 已退出，还有1分钟", 0), 0u);

    // Waiting again, or another way, is no longer that last minute.
    wait.Arm({}, sampler, 7);
    EXPECT_EQ(wait.WarningText(EndAction::ShutDown), OneMinuteWarning(EndAction::ShutDown));
    wait.Unload();
    EXPECT_FALSE(wait.Loaded());
    EXPECT_FALSE(wait.Armed());
}

}  // namespace
}  // namespace vt
