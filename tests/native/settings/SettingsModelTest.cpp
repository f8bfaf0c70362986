#include "assistant/settings/SettingsModel.h"

#include <gtest/gtest.h>

#include "tests/support/CoreFakes.h"

namespace vt {
namespace {

constexpr RegistryHive HKCU = RegistryHive::CurrentUser;
constexpr std::uint32_t kCtrlLeft = 0x0A25, kCtrlRight = 0x0A27, kCtrlDown = 0x0A28, kCtrlUp = 0x0A26;
constexpr std::uint32_t kCtrlAltLeft = 0x0625, kCtrlAltRight = 0x0627;

class SettingsModelTest : public ::testing::Test {
protected:
    std::optional<std::string> Stored(const char* name) const {
        return m_registry.Text(HKCU, SettingsStore::kKey, name);
    }
    static std::uint32_t LParam(std::uint32_t value) { return HotkeyLParam(value); }

    std::vector<std::string> m_log;
    test::FakeRegistry m_registry{m_log};
    test::FakeHotkeyRegistrar m_windows;
};

TEST_F(SettingsModelTest, AutorunIsOnAtEveryStartAndReachesTheRegistryOnlyAtExit) {
    m_registry.PutString(RegistryHive::LocalMachine, Autorun::kRunKey, Autorun::kRunValue, "\"D:\\old.exe\"");
    SettingsModel settings(m_registry, m_windows);
    EXPECT_FALSE(settings.FirstRun());
    settings.SetAutoRun(false);
    EXPECT_TRUE(m_log.empty()) << "nothing written before the exit";
    settings.SaveOnExit("C:\\Vantrel.exe");
    EXPECT_FALSE(m_registry.HasValue(RegistryHive::LocalMachine, Autorun::kRunKey, Autorun::kRunValue));
    EXPECT_EQ(m_registry.Text(RegistryHive::LocalMachine, SettingsStore::kKey, "ShowInfo"), "0");

    SettingsModel next(m_registry, m_windows);
    EXPECT_TRUE(next.FirstRun());
    EXPECT_TRUE(next.AutoRun()) << "ticked again, whatever the last exit wrote";
    HotkeyOutcomes outcomes{};
    EXPECT_TRUE(next.CurrentChoice(outcomes).autoRun);
}

TEST_F(SettingsModelTest, ARefusedRowShowsWhatWasAskedAndIsNamedOnce) {
    m_registry.PutDword(HKCU, SettingsStore::kKey, "HotkeyRight", kCtrlAltRight);
    m_windows.heldElsewhere = {LParam(kCtrlLeft), LParam(kCtrlAltRight)};
    SettingsModel settings(m_registry, m_windows);
    EXPECT_EQ(settings.RegisterHotkeys(), "热键“Ctrl+ 左”、“Ctrl+Alt+ 右”已被其他程序占用，可在“设置”中更换。");
    EXPECT_EQ(settings.Hotkeys().InForce(), (HotkeyValues{0, 0, kCtrlDown, kCtrlUp}));

    HotkeyOutcomes outcomes{};
    SettingsChoice choice = settings.CurrentChoice(outcomes);
    EXPECT_EQ(choice.hotkeys, (HotkeyValues{kCtrlLeft, kCtrlAltRight, kCtrlDown, kCtrlUp}));
    EXPECT_EQ(outcomes, (HotkeyOutcomes{HotkeyOutcome::Refused, HotkeyOutcome::Refused, HotkeyOutcome::InForce,
                                        HotkeyOutcome::InForce}));
    EXPECT_TRUE(m_log.empty()) << "a refusal changes nothing kept";
}

TEST_F(SettingsModelTest, ApplyingKeepsWhatTookAndForgetsWhatWasRefused) {
    SettingsModel settings(m_registry, m_windows);
    ASSERT_EQ(settings.RegisterHotkeys(), "");
    m_windows.heldElsewhere = {LParam(kCtrlAltRight)};
    SettingsChoice choice{{kCtrlAltLeft, kCtrlAltRight, kCtrlDown, 0}, false, EndAction::Sleep};
    const HotkeyOutcomes outcomes = settings.ApplyChoice(choice);
    EXPECT_EQ(outcomes[1], HotkeyOutcome::Refused);
    EXPECT_EQ(settings.Hotkeys().InForce(), (HotkeyValues{kCtrlAltLeft, kCtrlRight, kCtrlDown, 0}));
    EXPECT_EQ(Stored("HotkeyLeft"), std::to_string(kCtrlAltLeft));
    EXPECT_EQ(Stored("HotkeyRight"), std::nullopt) << "the next start tries what was in force";
    EXPECT_EQ(Stored("HotkeyMute"), "0");
    EXPECT_EQ(Stored("EndAction"), "3");
    EXPECT_FALSE(settings.AutoRun());
    EXPECT_EQ(settings.GetEndAction(), EndAction::Sleep);

    HotkeyOutcomes shown{};
    EXPECT_EQ(settings.CurrentChoice(shown).hotkeys[1], kCtrlAltRight);
    EXPECT_EQ(shown[1], HotkeyOutcome::Refused);

    // Once the row takes something else, its refusal is forgotten.
    choice.hotkeys[1] = kCtrlRight;
    settings.ApplyChoice(choice);
    EXPECT_EQ(settings.CurrentChoice(shown).hotkeys[1], kCtrlRight);
    EXPECT_EQ(shown[1], HotkeyOutcome::InForce);
}

TEST_F(SettingsModelTest, EndActionAndTimeOfDayAreWrittenOnlyWhenTheyChange) {
    SettingsModel settings(m_registry, m_windows);
    EXPECT_FALSE(settings.SetEndAction(EndAction::ShutDown));
    settings.SetClockMinute(0);
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(settings.SetEndAction(EndAction::Hibernate));
    settings.SetClockMinute(22 * 60 + 15);
    settings.SetClockMinute(22 * 60 + 15);
    EXPECT_EQ(m_log.size(), 2u);

    SettingsModel next(m_registry, m_windows);
    EXPECT_EQ(next.GetEndAction(), EndAction::Hibernate);
    EXPECT_EQ(next.ClockMinute(), 22u * 60 + 15);
}

}  // namespace
}  // namespace vt
