#include "assistant/mainwnd/ClockTarget.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

LocalTime At(int hour, int minute, int second) {
    LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 29;  // a day on which much of Europe moves its clocks: the rule counts 24 hours
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

}  // namespace

TEST(ClockTarget, LaterTodayOrTomorrowWhenPassed) {
    EXPECT_EQ(SecondsUntilNext(At(8, 0, 0), 23, 30), (15 * 60 + 30) * 60);
    EXPECT_EQ(SecondsUntilNext(At(23, 45, 0), 23, 30), (23 * 60 + 45) * 60);
    EXPECT_EQ(SecondsUntilNext(At(12, 0, 1), 12, 0), 24 * 3600 - 1);
}

TEST(ClockTarget, AroundMidnight) {
    EXPECT_EQ(SecondsUntilNext(At(23, 59, 30), 0, 0), 30);
    EXPECT_EQ(SecondsUntilNext(At(0, 0, 0), 0, 0), 24 * 3600) << "the moment itself has come: tomorrow";
    EXPECT_EQ(SecondsUntilNext(At(0, 0, 0), 23, 59), (23 * 60 + 59) * 60);
    EXPECT_EQ(SecondsUntilNext(At(23, 59, 59), 23, 59), 24 * 3600 - 59);
}

TEST(ClockTarget, TheSameMinute) {
    EXPECT_EQ(SecondsUntilNext(At(23, 29, 59), 23, 30), 1);
    EXPECT_EQ(SecondsUntilNext(At(23, 30, 0), 23, 30), 24 * 3600) << "never 0: that would end at the next tick";
    EXPECT_EQ(SecondsUntilNext(At(23, 30, 15), 23, 30), 24 * 3600 - 15);
    for (int s = 0; s < 60; ++s) {
        std::int32_t seconds = SecondsUntilNext(At(6, 7, s), 6, 7);
        EXPECT_GE(seconds, 1);
        EXPECT_LE(seconds, 24 * 3600);
    }
}

}  // namespace vt
