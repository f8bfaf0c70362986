#include "assistant/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include "tests/support/CoreFakes.h"

namespace vt {
namespace {

constexpr RegistryHive HKCU = RegistryHive::CurrentUser;

// The settings key in memory, DWORDs put in and read back by name.
struct SettingsKey : test::FakeRegistry {
    void Put(const std::string& name, std::uint32_t value) { PutDword(HKCU, SettingsStore::kKey, name, value); }
    std::optional<std::uint32_t> Get(const std::string& name) {
        std::uint32_t value = 0;
        if (!ReadDword(HKCU, SettingsStore::kKey, name, value)) return std::nullopt;
        return value;
    }
};

}  // namespace

TEST(SettingsStore, AnEmptyKeyGivesTheDefaults) {
    SettingsKey reg;
    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, DefaultHotkeys());
    EXPECT_EQ(settings.endAction, EndAction::ShutDown);
    EXPECT_EQ(settings.clockMinute, 0u);
}

TEST(SettingsStore, WhatIsSavedIsLoadedPerUser) {
    SettingsKey reg;
    SettingsStore store(reg);
    store.SaveHotkey(HotkeySlot::Left, 0x0625);
    store.SaveHotkey(HotkeySlot::Mute, 0);
    store.SaveEndAction(EndAction::Hibernate);
    store.SaveClockMinute(23 * 60 + 30);
    EXPECT_EQ(reg.Get("HotkeyLeft"), 0x0625u);
    EXPECT_EQ(reg.Get("EndAction"), 4u);
    EXPECT_EQ(reg.Get("CountdownClock"), 23u * 60 + 30);
    for (const auto& [where, value] : reg.values) {
        EXPECT_EQ(std::get<0>(where), HKCU);
        EXPECT_TRUE(value.isDword);
    }

    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, (HotkeyValues{0x0625, 0x0A27, 0x0A28, 0}));
    EXPECT_EQ(settings.endAction, EndAction::Hibernate);
    EXPECT_EQ(settings.clockMinute, 23u * 60 + 30);
}

// Every start begins with one minute: what earlier versions kept of the
// countdown is neither read nor touched.
TEST(SettingsStore, TheLastMinutesAreNotKept) {
    SettingsKey reg;
    reg.Put("CountdownMinutes", 45);
    reg.Put("CountdownAtClock", 1);
    reg.Put("CountdownClock", 8 * 60 + 30);
    SettingsStore store(reg);
    EXPECT_EQ(store.Load().clockMinute, 8u * 60 + 30) << "the time of day is kept";
    store.SaveClockMinute(9 * 60);
    store.SaveEndAction(EndAction::Restart);
    EXPECT_EQ(reg.Get("CountdownMinutes"), 45u) << "left alone";
    EXPECT_EQ(reg.Get("CountdownAtClock"), 1u) << "left alone";
    EXPECT_EQ(reg.values.size(), 4u) << "nothing else written";
}

TEST(SettingsStore, ValuesThatMakeNoSenseReadAsTheirDefaults) {
    SettingsKey reg;
    reg.Put("HotkeyRight", 0x0200);   // no key
    reg.Put("HotkeyStereo", 0x4028);  // unknown modifier
    reg.Put("EndAction", 5);
    reg.Put("CountdownClock", 24 * 60);
    reg.PutString(HKCU, SettingsStore::kKey, "HotkeyLeft", "Ctrl+Left");  // not a DWORD
    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, DefaultHotkeys());
    EXPECT_EQ(settings.endAction, EndAction::ShutDown);
    EXPECT_EQ(settings.clockMinute, 0u) << "no such minute of the day";

    reg.Put("CountdownClock", 24 * 60 - 1);
    EXPECT_EQ(SettingsStore(reg).Load().clockMinute, 23u * 60 + 59);
}

TEST(SettingsStore, TheConditionAndThresholdsGoRoundAndBadOnesReadAsDefaults) {
    SettingsKey reg;
    Settings fresh = SettingsStore(reg).Load();
    EXPECT_EQ(fresh.jobCondition.kind, JobConditionKind::ProgramExit);
    EXPECT_EQ(fresh.jobCondition.program, "");
    EXPECT_EQ(fresh.thresholds.networkKBps, 20u);
    EXPECT_EQ(fresh.thresholds.cpuPercent, 10u);

    SettingsStore store(reg);
    store.SaveJobCondition({JobConditionKind::ProgramExit, "迅雷 Thunder.exe", 7});
    store.SaveThresholds({64, 25});
    Settings loaded = SettingsStore(reg).Load();
    EXPECT_EQ(loaded.jobCondition.program, "迅雷 Thunder.exe");
    EXPECT_EQ(loaded.jobCondition.minutes, 7u);
    EXPECT_EQ(loaded.thresholds.networkKBps, 64u);
    EXPECT_EQ(loaded.thresholds.cpuPercent, 25u);
    store.SaveJobCondition({JobConditionKind::CpuIdle, "", 90});
    EXPECT_EQ(SettingsStore(reg).Load().jobCondition.kind, JobConditionKind::CpuIdle);

    reg.Put("JobCondition", 4);  // no such kind
    reg.Put("JobMinutes", 0);
    reg.Put("NetworkIdleKBps", 0);
    reg.Put("CpuIdlePercent", 100);
    reg.Put("JobProgram", 12);  // not a string
    loaded = SettingsStore(reg).Load();
    EXPECT_EQ(loaded.jobCondition.kind, JobConditionKind::ProgramExit);
    EXPECT_EQ(loaded.jobCondition.program, "");
    EXPECT_EQ(loaded.thresholds.networkKBps, 20u);
    EXPECT_EQ(loaded.thresholds.cpuPercent, 10u);
    reg.Put("JobCondition", 1);
    EXPECT_EQ(SettingsStore(reg).Load().jobCondition.minutes, 30u) << "无人使用电脑's default";
}

TEST(EndAction, NamesAndStoredNumbers) {
    const char* names[] = {"关机", "重启", "注销", "睡眠", "休眠"};
    std::uint32_t number = 0;
    for (EndAction action : kEndActions) {
        EXPECT_STREQ(EndActionName(action), names[number]);
        EXPECT_EQ(EndActionFromValue(number), action);
        ++number;
    }
    EXPECT_FALSE(EndActionFromValue(5));
    EXPECT_FALSE(EndActionFromValue(0xFFFFFFFF));
    EXPECT_TRUE(EndsLogon(EndAction::LogOff));
    EXPECT_FALSE(EndsLogon(EndAction::Sleep));
    EXPECT_FALSE(EndsLogon(EndAction::Hibernate));
}

}  // namespace vt
