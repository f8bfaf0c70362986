#include "assistant/mainwnd/LastMinute.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace vt {

TEST(LastMinute, TextsNameTheAction) {
    const char* titles[] = {"即将关机", "即将重启", "即将注销", "即将睡眠", "即将休眠"};
    const char* buttons[] = {"立即关机", "立即重启", "立即注销", "立即睡眠", "立即休眠"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(LastMinuteTitle(kEndActions[i]), titles[i]);
        EXPECT_EQ(ActNowLabel(kEndActions[i]), buttons[i]);
    }
    EXPECT_EQ(SecondsNote(EndAction::Restart), "秒后重启");
    EXPECT_EQ(SecondsText(60), "60");
    EXPECT_EQ(SecondsText(0), "0");
    EXPECT_EQ(SecondsText(-1), "0") << "the tick that ends the count";
}

TEST(LastMinute, PostponingAddsTenMinutesWithoutOverflow) {
    EXPECT_EQ(SecondsAfterPostpone(42), 642);
    EXPECT_EQ(SecondsAfterPostpone(0), 600);
    EXPECT_EQ(SecondsAfterPostpone(-1), 600);
    EXPECT_EQ(SecondsAfterPostpone(INT_MAX - 10), INT_MAX);
}

TEST(LastMinute, TheWindowShowsOnceAsTheLastMinuteBeginsAndHidesWhenItIsLeft) {
    LastMinuteWatch watch;
    using S = LastMinuteStep;
    std::vector<S> steps;
    // A running countdown through its last minute, put off, then stopped.
    for (auto [running, seconds] : std::vector<std::pair<bool, int>>{
             {true, 62}, {true, 61}, {true, 60}, {true, 59}, {true, 30}, {true, 630}, {true, 629}})
        steps.push_back(watch.Next(running, seconds));
    EXPECT_EQ(steps, (std::vector<S>{S::None, S::None, S::Show, S::Update, S::Update, S::Hide, S::None}));

    EXPECT_EQ(watch.Next(false, 50), S::None) << "a stopped countdown has no last minute";
    EXPECT_EQ(watch.Next(true, 50), S::Show) << "started again inside the minute";
    EXPECT_EQ(watch.Next(false, 50), S::Hide) << "取消 stops it";
    EXPECT_EQ(watch.Next(true, 0), S::Show);
    EXPECT_EQ(watch.Next(true, -1), S::Hide) << "the end itself";
}

TEST(LastMinute, StandsAtTheBottomRightOfTheWorkArea) {
    PopupArea area{0, 0, 1024, 728};  // a taskbar 40 pixels high at the bottom
    PopupOrigin at = PlaceAboveTray(200, 100, area, 8);
    EXPECT_EQ(at.x, 1024 - 8 - 200);
    EXPECT_EQ(at.y, 728 - 8 - 100);
    PopupArea left{100, 0, 1024, 768};  // taskbar on the left
    EXPECT_EQ(PlaceAboveTray(200, 100, left, 8).y, 768 - 8 - 100);
    PopupOrigin tooSmall = PlaceAboveTray(300, 200, PopupArea{50, 40, 250, 140}, 8);
    EXPECT_EQ(tooSmall.x, 50);
    EXPECT_EQ(tooSmall.y, 40);
}

}  // namespace vt
