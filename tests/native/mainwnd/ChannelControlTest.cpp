#include "assistant/mainwnd/ChannelControl.h"

#include <gtest/gtest.h>

#include "FakeVolumeDevice.h"
#include "tests/support/CoreFakes.h"

namespace vt {

using test::FakeVolumeDevice;

namespace {

std::uint32_t Hotkey(std::uint32_t modifiers, std::uint32_t key) { return modifiers | key << 16; }

}  // namespace

TEST(ChannelActions, UseTheLouderSavedLevel) {
    struct Row {
        std::uint32_t saved, left, right, both;
    };
    for (const Row& r :
         {Row{0x80008000, 0x8000, 0x80000000, 0x80008000}, Row{0xC0004000, 0xC000, 0xC0000000, 0xC000C000},
          Row{0x4000C000, 0xC000, 0xC0000000, 0xC000C000}, Row{0, 0, 0, 0}}) {
        EXPECT_EQ(VolumeForAction(ChannelAction::LeftOnly, r.saved), r.left) << std::hex << r.saved;
        EXPECT_EQ(VolumeForAction(ChannelAction::RightOnly, r.saved), r.right) << std::hex << r.saved;
        EXPECT_EQ(VolumeForAction(ChannelAction::Both, r.saved), r.both) << std::hex << r.saved;
        EXPECT_EQ(VolumeForAction(ChannelAction::Mute, r.saved), 0u) << std::hex << r.saved;
    }
}

TEST(ChannelControl, LeftThenBothRestoresTheLevelAfterSampling) {
    FakeVolumeDevice dev;
    dev.volume = 0x80008000;
    ChannelControl cc(dev);
    cc.Init();
    cc.Apply(ChannelAction::LeftOnly);
    EXPECT_EQ(dev.volume, 0x8000u);
    cc.Sample();  // right channel silent: the reference stays
    EXPECT_EQ(cc.SavedVolume(), 0x80008000u);
    cc.Apply(ChannelAction::Both);
    EXPECT_EQ(dev.volume, 0x80008000u);
}

TEST(ChannelControl, UnevenStartBecomesBothAtTheLouderLevel) {
    FakeVolumeDevice dev;
    dev.volume = 0xC0004000;
    ChannelControl cc(dev);
    cc.Init();
    cc.Apply(ChannelAction::Both);
    EXPECT_EQ(dev.volume, 0xC000C000u);
}

TEST(ChannelControl, MuteDoesNotToggleAndBothBringsSoundBack) {
    FakeVolumeDevice dev;
    dev.volume = 0x60006000;
    ChannelControl cc(dev);
    cc.Init();
    cc.Apply(ChannelAction::Mute);
    cc.Sample();
    cc.Apply(ChannelAction::Mute);
    cc.Sample();
    EXPECT_EQ(dev.volume, 0u);
    cc.Apply(ChannelAction::Both);
    EXPECT_EQ(dev.volume, 0x60006000u);
}

TEST(ChannelControl, SamplingFollowsOutsideChangesOnlyWithBothChannelsAudible) {
    FakeVolumeDevice dev;
    dev.volume = 0x10001000;
    ChannelControl cc(dev);
    cc.Init();
    dev.volume = 0x20003000;  // changed in the mixer
    cc.Sample();
    EXPECT_EQ(cc.SavedVolume(), 0x20003000u);
    for (std::uint32_t oneSilent : {0x00003000u, 0x20000000u, 0u}) {
        dev.volume = oneSilent;
        cc.Sample();
        EXPECT_EQ(cc.SavedVolume(), 0x20003000u) << std::hex << oneSilent;
    }
    cc.Apply(ChannelAction::RightOnly);
    EXPECT_EQ(dev.volume, 0x30000000u);
}

TEST(ChannelControl, ReferenceAtStartIsTakenEvenWithASilentChannel) {
    FakeVolumeDevice dev;
    dev.volume = 0x00005000;
    ChannelControl cc(dev);
    cc.Init();
    EXPECT_EQ(cc.SavedVolume(), 0x5000u);
    cc.Apply(ChannelAction::Both);
    EXPECT_EQ(dev.volume, 0x50005000u);
}

TEST(ChannelControl, WithoutADeviceNothingIsTakenForAVolume) {
    FakeVolumeDevice dev;
    dev.present = false;
    ChannelControl cc(dev);
    cc.Init();
    EXPECT_EQ(cc.SavedVolume(), 0u);
    cc.Sample();
    EXPECT_EQ(cc.SavedVolume(), 0u);
    for (ChannelAction a :
         {ChannelAction::LeftOnly, ChannelAction::RightOnly, ChannelAction::Both, ChannelAction::Mute})
        cc.Apply(a);
    EXPECT_EQ(dev.sets, (std::vector<std::uint32_t>{0, 0, 0, 0}));
}

// WM_HOTKEY's lParam as Windows delivers it, decoded against the combinations
// in force: the defaults, or whatever the settings put in their place.
class ChannelHotkey : public ::testing::Test {
protected:
    void SetUp() override { m_bindings.Apply(DefaultHotkeys()); }
    test::FakeHotkeyRegistrar m_windows;
    HotkeyBindings m_bindings{m_windows};
};

TEST_F(ChannelHotkey, CtrlArrowsMapToTheFourActions) {
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x25)), ChannelAction::LeftOnly);
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x27)), ChannelAction::RightOnly);
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x28)), ChannelAction::Both);
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x26)), ChannelAction::Mute);
    for (HotkeySlot slot : kHotkeySlots)
        EXPECT_EQ(ActionOfSlot(slot), ActionFromHotkey(m_bindings, HotkeyLParam(DefaultHotkeys()[SlotIndex(slot)])));
}

TEST_F(ChannelHotkey, AnythingElseIsIgnored) {
    // MOD_ALT 1, MOD_SHIFT 4, MOD_WIN 8; Ctrl with another modifier does not count.
    for (std::uint32_t mods : {0u, 1u, 3u, 4u, 6u, 8u, 0x4002u})
        EXPECT_FALSE(ActionFromHotkey(m_bindings, Hotkey(mods, 0x25)).has_value()) << mods;
    for (std::uint32_t key : {0x00u, 0x24u, 0x29u, 0x125u, 0xFFFFu})
        EXPECT_FALSE(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, key)).has_value()) << key;
}

TEST_F(ChannelHotkey, ARemappedRowAnswersItsNewCombinationOnly) {
    HotkeyValues asked = DefaultHotkeys();
    asked[SlotIndex(HotkeySlot::Mute)] = 0x0674;  // Ctrl+Alt+F5
    asked[SlotIndex(HotkeySlot::Left)] = 0;       // none
    m_bindings.Apply(asked);
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl | kModAlt, 0x74)), ChannelAction::Mute);
    EXPECT_FALSE(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x26)).has_value()) << "Ctrl+Up is nobody's now";
    EXPECT_FALSE(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x25)).has_value());
    EXPECT_FALSE(ActionFromHotkey(m_bindings, 0).has_value()) << "a row without a hotkey matches nothing";
    EXPECT_EQ(ActionFromHotkey(m_bindings, Hotkey(kModCtrl, 0x27)), ChannelAction::RightOnly);
}

}  // namespace vt
