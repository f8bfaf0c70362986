#include <gtest/gtest.h>

#include <cstdint>

#include "updater/PumpPacer.h"

namespace vt {
namespace {

TEST(PumpPacer, DueFirstThenOncePerInterval) {
    std::uint64_t now = 5000;
    PumpPacer pacer([&now] { return now; });
    EXPECT_TRUE(pacer.Due());
    EXPECT_FALSE(pacer.Due());
    now += kPumpIntervalMs - 1;
    EXPECT_FALSE(pacer.Due());
    now += 1;
    EXPECT_TRUE(pacer.Due());
    // Counted from the last pump, not from a fixed grid: a late look does
    // not make the next one early.
    now += 3 * kPumpIntervalMs + 7;
    EXPECT_TRUE(pacer.Due());
    now += kPumpIntervalMs - 1;
    EXPECT_FALSE(pacer.Due());
}

TEST(PumpPacer, AClockStartingAtZeroAndARestartAreDueAtOnce) {
    std::uint64_t now = 0;
    PumpPacer pacer([&now] { return now; });
    EXPECT_TRUE(pacer.Due());
    EXPECT_FALSE(pacer.Due());
    pacer.Restart();
    EXPECT_TRUE(pacer.Due());
    EXPECT_FALSE(pacer.Due());
}

}  // namespace
}  // namespace vt
