#include "assistant/settings/HotkeyBinding.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/CoreFakes.h"

namespace vt {
namespace {

// The defaults, extended keys as the hotkey control reads the arrow block's arrows.
constexpr std::uint32_t kCtrlLeft = 0x0A25, kCtrlRight = 0x0A27, kCtrlDown = 0x0A28, kCtrlUp = 0x0A26;
constexpr std::uint32_t kCtrlAltLeft = 0x0625;

using FakeRegistrar = test::FakeHotkeyRegistrar;

}  // namespace

TEST(HotkeyValue, DefaultsAreTheCtrlArrowsOfTheMenu) {
    EXPECT_EQ(DefaultHotkeys(), (HotkeyValues{kCtrlLeft, kCtrlRight, kCtrlDown, kCtrlUp}));
    EXPECT_EQ(HotkeyMenuText(HotkeySlot::Left, kCtrlLeft), "左声道\tCtrl+ 左");
    EXPECT_EQ(HotkeyMenuText(HotkeySlot::Right, kCtrlRight), "右声道\tCtrl+ 右");
    EXPECT_EQ(HotkeyMenuText(HotkeySlot::Stereo, kCtrlDown), "立体声\tCtrl+ 下");
    EXPECT_EQ(HotkeyMenuText(HotkeySlot::Mute, kCtrlUp), "静音\tCtrl+ 上");
    EXPECT_EQ(HotkeyMenuText(HotkeySlot::Mute, 0), "静音") << "none: no shortcut column";
    EXPECT_STREQ(SlotInfo(HotkeySlot::Stereo).atomName, "Streo");
    EXPECT_STREQ(SlotInfo(HotkeySlot::Mute).valueName, "HotkeyMute");
}

TEST(HotkeyValue, TextNamesModifiersThenTheKey) {
    EXPECT_EQ(HotkeyText(kCtrlAltLeft), "Ctrl+Alt+ 左");
    EXPECT_EQ(HotkeyText(0x0374), "Ctrl+Shift+ F5");
    EXPECT_EQ(HotkeyText(0x0441), "Alt+ A");
    EXPECT_EQ(HotkeyText(0x0074), "F5") << "a key alone";
    EXPECT_EQ(HotkeyText(0x0A25), "Ctrl+ 左") << "the extended-key bit is not shown";
    EXPECT_EQ(HotkeyText(0x0260), "Ctrl+ Num 0");
    EXPECT_EQ(HotkeyText(0x02E2), "Ctrl+ 0xE2") << "a key without a name";
    EXPECT_EQ(HotkeyText(0), "");
}

TEST(HotkeyValue, StoredValuesRoundTripAndNonsenseMeansTheDefault) {
    for (std::uint32_t value : {kCtrlAltLeft, 0x0A27u, 0x0374u, 0x0074u, 0x0FDEu})
        EXPECT_EQ(HotkeyFromStored(HotkeySlot::Right, value), value) << value;
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Left, 0u), 0u) << "0 is none, not the default";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Left, 0x0225u), 0x0225u) << "without the extended-key bit: the same keys";
    EXPECT_TRUE(SameCombination(HotkeyFromStored(HotkeySlot::Left, 0x0225u), kCtrlLeft));
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Left, std::nullopt), kCtrlLeft) << "missing";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x1025u), kCtrlUp) << "unknown modifier bit";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x8025u), kCtrlUp) << "unknown modifier bit";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x0200u), kCtrlUp) << "modifiers and no key";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x0211u), kCtrlUp) << "Ctrl as its own key";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x025Bu), kCtrlUp) << "the Windows key as the key";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0x10225u), kCtrlUp) << "beyond the two bytes";
    EXPECT_EQ(HotkeyFromStored(HotkeySlot::Mute, 0xFFFFFFFFu), kCtrlUp);
}

TEST(HotkeyValue, RegistrationIgnoresTheExtendedKeyBit) {
    EXPECT_EQ(HotkeyModifiers(0x0F25), kModCtrl | kModAlt | kModShift);
    EXPECT_EQ(HotkeyKey(0x0F25), 0x25u);
    EXPECT_EQ(HotkeyLParam(kCtrlLeft), 0x00250002u) << "as WM_HOTKEY carries Ctrl+Left";
    EXPECT_EQ(HotkeyLParam(0x0225), 0x00250002u);
    EXPECT_TRUE(SameCombination(0x0225, kCtrlLeft));
    EXPECT_FALSE(SameCombination(kCtrlAltLeft, kCtrlLeft));
}

TEST(HotkeyBindings, StartRegistersTheDefaultsAndDispatchesAsBefore) {
    FakeRegistrar windows;
    HotkeyBindings bindings(windows);
    HotkeyOutcomes outcomes = bindings.Apply(DefaultHotkeys());
    for (HotkeyOutcome outcome : outcomes) EXPECT_EQ(outcome, HotkeyOutcome::InForce);
    EXPECT_EQ(windows.ours.size(), 4u);
    EXPECT_EQ(bindings.SlotForLParam(0x00250002), HotkeySlot::Left);
    EXPECT_EQ(bindings.SlotForLParam(0x00280002), HotkeySlot::Stereo);
    EXPECT_EQ(bindings.SlotForLParam(0x00260002), HotkeySlot::Mute);
    EXPECT_FALSE(bindings.SlotForLParam(0x00250003)) << "Ctrl+Alt+Left is nobody's";
    EXPECT_FALSE(bindings.SlotForLParam(0x00250000)) << "Left alone";
    EXPECT_FALSE(bindings.SlotForLParam(0)) << "a slot without a hotkey matches nothing";
}

TEST(HotkeyBindings, ARefusedCombinationKeepsThePreviousOneInForce) {
    FakeRegistrar windows;
    HotkeyBindings bindings(windows);
    bindings.Apply(DefaultHotkeys());
    windows.heldElsewhere.insert(0x00250003);  // Ctrl+Alt+Left
    HotkeyValues asked = DefaultHotkeys();
    asked[0] = kCtrlAltLeft;
    HotkeyOutcomes outcomes = bindings.Apply(asked);
    EXPECT_EQ(outcomes[0], HotkeyOutcome::Refused);
    EXPECT_EQ(bindings.InForce()[0], kCtrlLeft);
    EXPECT_EQ(windows.ours[HotkeySlot::Left], 0x00250002u) << "Ctrl+Left registered again";
    EXPECT_EQ(RefusedHotkeys(asked, outcomes), (std::vector<std::uint32_t>{kCtrlAltLeft}));
    EXPECT_EQ(bindings.SlotForLParam(0x00250002), HotkeySlot::Left);
}

TEST(HotkeyBindings, AtStartARefusedDefaultLeavesTheSlotEmptyAndIsNamed) {
    FakeRegistrar windows;
    windows.heldElsewhere = {0x00250002, 0x00260002};
    HotkeyBindings bindings(windows);
    HotkeyOutcomes outcomes = bindings.Apply(DefaultHotkeys());
    EXPECT_EQ(bindings.InForce(), (HotkeyValues{0, kCtrlRight, kCtrlDown, 0}));
    std::vector<std::uint32_t> refused = RefusedHotkeys(DefaultHotkeys(), outcomes);
    EXPECT_EQ(HotkeyConflictText(refused), "热键“Ctrl+ 左”、“Ctrl+ 上”已被其他程序占用，可在“设置”中更换。");
    EXPECT_EQ(HotkeyConflictText({kCtrlLeft}), "热键“Ctrl+ 左”已被其他程序占用，可在“设置”中更换。");
    EXPECT_EQ(HotkeyConflictText({}), "") << "no balloon when all are free";
}

TEST(HotkeyBindings, RowsCanSwapClearAndRepeatWithoutTouchingTheOthers) {
    FakeRegistrar windows;
    HotkeyBindings bindings(windows);
    bindings.Apply(DefaultHotkeys());
    windows.calls.clear();
    HotkeyValues swapped = {kCtrlRight, kCtrlLeft, kCtrlDown, kCtrlUp};
    HotkeyOutcomes outcomes = bindings.Apply(swapped);
    EXPECT_EQ(outcomes[0], HotkeyOutcome::InForce);
    EXPECT_EQ(outcomes[1], HotkeyOutcome::InForce);
    EXPECT_EQ(bindings.InForce(), swapped);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"unregister 0", "unregister 1", "register 0", "register 1"}))
        << "unchanged rows are left alone";

    windows.calls.clear();
    HotkeyValues cleared = swapped;
    cleared[3] = 0;
    bindings.Apply(cleared);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"unregister 3"}));
    EXPECT_FALSE(bindings.SlotForLParam(0x00260002)) << "Ctrl+Up is free again";

    HotkeyValues same = cleared;
    same[2] = kCtrlRight;  // the same as row 0
    outcomes = bindings.Apply(same);
    EXPECT_EQ(outcomes[2], HotkeyOutcome::Duplicate);
    EXPECT_EQ(bindings.InForce()[2], kCtrlDown);
}

TEST(HotkeyBindings, NonsenseFromTheControlCountsAsNone) {
    FakeRegistrar windows;
    HotkeyBindings bindings(windows);
    bindings.Apply(DefaultHotkeys());
    HotkeyValues asked = DefaultHotkeys();
    asked[1] = 0x0600;  // Ctrl+Alt pressed, no key yet
    bindings.Apply(asked);
    EXPECT_EQ(bindings.InForce()[1], 0u);
    EXPECT_EQ(windows.ours.count(HotkeySlot::Right), 0u);
}

}  // namespace vt
