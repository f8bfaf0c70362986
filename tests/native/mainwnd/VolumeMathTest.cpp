#include "assistant/mainwnd/VolumeMath.h"
#include "assistant/mainwnd/VolumePopupRules.h"

#include <gtest/gtest.h>

#include "FakeVolumeDevice.h"

namespace vt {

using test::FakeVolumeDevice;

TEST(VolumeConversion, LevelToPosition) {
    EXPECT_EQ(PositionFromLevel(65535), 0);
    EXPECT_EQ(PositionFromLevel(32768), 49);
    EXPECT_EQ(PositionFromLevel(32767), 50);
    EXPECT_EQ(PositionFromLevel(656), 98);
    EXPECT_EQ(PositionFromLevel(1), 99);
    EXPECT_EQ(PositionFromLevel(0), 100);
    // Single-precision arithmetic would give 39 here.
    EXPECT_EQ(PositionFromLevel(39321), 40);
    EXPECT_EQ(PositionFromLevel(0xFFFFFFFF), 0);
}

TEST(VolumeConversion, PositionToLevel) {
    // Single-precision arithmetic would give 65535 at the top.
    EXPECT_EQ(LevelFromPosition(0), 65534u);
    EXPECT_EQ(LevelFromPosition(1), 64879u);
    EXPECT_EQ(LevelFromPosition(50), 32767u);
    EXPECT_EQ(LevelFromPosition(99), 655u);
    EXPECT_EQ(LevelFromPosition(100), 0u);
    EXPECT_EQ(LevelFromPosition(-5), 65534u);
    EXPECT_EQ(LevelFromPosition(250), 0u);
}

TEST(VolumeConversion, EveryPositionSurvivesTheRoundTrip) {
    for (int p = kSliderMin; p <= kSliderMax; ++p) EXPECT_EQ(PositionFromLevel(LevelFromPosition(p)), p) << p;
}

TEST(VolumePopup, FillShowsMutedOnlyForTotalSilence) {
    FakeVolumeDevice dev;
    dev.volume = 0xFFFFFFFF;
    PopupFill fill = ReadPopupFill(dev);
    EXPECT_FALSE(fill.muted);
    EXPECT_EQ(fill.position, 0);

    dev.volume = 0x80000000;  // left silent, right 0x8000
    fill = ReadPopupFill(dev);
    EXPECT_FALSE(fill.muted);
    EXPECT_EQ(fill.position, 49);

    dev.volume = 0;
    EXPECT_TRUE(ReadPopupFill(dev).muted);

    dev.present = false;
    dev.volume = 0x80008000;
    EXPECT_TRUE(ReadPopupFill(dev).muted);
}

TEST(VolumePopup, SliderAndMuteSetBothChannelsAlike) {
    EXPECT_EQ(VolumeForSlider(0), 0xFFFEFFFEu);
    EXPECT_EQ(VolumeForSlider(50), 0x7FFF7FFFu);
    EXPECT_EQ(VolumeForSlider(100), 0u);  // silent, though not "muted"
    EXPECT_EQ(VolumeForMuteClick(true, 50), 0u);
    EXPECT_EQ(VolumeForMuteClick(false, 50), 0x7FFF7FFFu);
}

TEST(VolumePopup, SitsCentredAboveThePointer) {
    const PopupOrigin o = PlacePopup(500, 700, 61, 150);
    EXPECT_EQ(o.x, 470);
    EXPECT_EQ(o.y, 543);
    const PopupOrigin corner = PlacePopup(0, 0, 60, 150);  // no work area known
    EXPECT_EQ(corner.x, -30);
    EXPECT_EQ(corner.y, -157);
}

TEST(VolumePopup, StaysInsideTheWorkAreaNearItsEdges) {
    const PopupArea screen{0, 0, 1280, 984};  // taskbar at the bottom
    const PopupOrigin tray = PlacePopup(1270, 1000, 90, 225, screen);
    EXPECT_EQ(tray.x, 1190);  // along the right edge
    EXPECT_EQ(tray.y, 759);   // bottom edge on the work area's
    const PopupArea belowTopBar{0, 40, 1280, 1024};
    const PopupOrigin top = PlacePopup(640, 20, 90, 225, belowTopBar);
    EXPECT_EQ(top.x, 595);
    EXPECT_EQ(top.y, 40);  // below the pointer, not above the screen
    const PopupArea secondMonitor{-1920, 0, 0, 1080};
    const PopupOrigin left = PlacePopup(-1915, 500, 90, 225, secondMonitor);
    EXPECT_EQ(left.x, -1920);
    EXPECT_EQ(left.y, 268);
    const PopupOrigin tiny = PlacePopup(50, 50, 300, 300, PopupArea{0, 0, 200, 200});
    EXPECT_EQ(tiny.x, 0);
    EXPECT_EQ(tiny.y, 0);
}

TEST(VolumePopup, TrayClickRightAfterTheSelfHideClosesInsteadOfReopening) {
    const PopupHide byDeactivation{true, 5000};
    EXPECT_EQ(DecideTrayClick(true, {}, 1), TrayClick::Hide);
    EXPECT_EQ(DecideTrayClick(false, {}, 5100), TrayClick::Show);
    EXPECT_EQ(DecideTrayClick(false, byDeactivation, 5000), TrayClick::Ignore);
    EXPECT_EQ(DecideTrayClick(false, byDeactivation, 5299), TrayClick::Ignore);
    EXPECT_EQ(DecideTrayClick(false, byDeactivation, 5300), TrayClick::Show);
    EXPECT_EQ(DecideTrayClick(false, PopupHide{false, 5000}, 5100), TrayClick::Show)
        << "hidden some other way: the click opens it";
    // Across the tick count's wrap.
    EXPECT_EQ(DecideTrayClick(false, PopupHide{true, 0xFFFFFF00u}, 0x10), TrayClick::Ignore);
    EXPECT_EQ(DecideTrayClick(false, PopupHide{true, 0xFFFFFF00u}, 0x200), TrayClick::Show);
    // A tick count from before (a clock that seems to run back) is no recent hide.
    EXPECT_EQ(DecideTrayClick(false, byDeactivation, 4999), TrayClick::Show);
}

}  // namespace vt
