#include "assistant/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace vt {
namespace {

constexpr char kKey[] = "Software\\Orvane\\Vantrel";

// DWORDs only; a value of another type is put in as missing from ReadDword.
struct DwordRegistry : IRegistry {
    std::map<std::tuple<RegistryHive, std::string, std::string>, std::uint32_t> dwords;
    std::map<std::tuple<RegistryHive, std::string, std::string>, std::string> strings;

    bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        return dwords.count({hive, key, name}) || strings.count({hive, key, name});
    }
    bool ReadDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t& value) override {
        auto it = dwords.find({hive, key, name});
        if (it == dwords.end()) return false;
        value = it->second;
        return true;
    }
    bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                     const std::string& value) override {
        strings[{hive, key, name}] = value;
        return true;
    }
    bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) override {
        dwords[{hive, key, name}] = value;
        return true;
    }
    bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        dwords.erase({hive, key, name});
        strings.erase({hive, key, name});
        return true;
    }
    void Put(const std::string& name, std::uint32_t value) { dwords[{RegistryHive::CurrentUser, kKey, name}] = value; }
    const std::uint32_t* Get(const std::string& name) const {
        auto it = dwords.find({RegistryHive::CurrentUser, kKey, name});
        return it == dwords.end() ? nullptr : &it->second;
    }
};

}  // namespace

TEST(SettingsStore, AnEmptyKeyGivesTheDefaults) {
    DwordRegistry reg;
    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, DefaultHotkeys());
    EXPECT_EQ(settings.endAction, EndAction::ShutDown);
    EXPECT_FALSE(settings.target.atClock);
    EXPECT_EQ(settings.target.minutes, 1u);
}

TEST(SettingsStore, WhatIsSavedIsLoadedPerUser) {
    DwordRegistry reg;
    SettingsStore store(reg);
    store.SaveHotkey(HotkeySlot::Left, 0x0625);
    store.SaveHotkey(HotkeySlot::Mute, 0);
    store.SaveEndAction(EndAction::Hibernate);
    store.SaveTarget({true, 45, 23 * 60 + 30});
    ASSERT_NE(reg.Get("HotkeyLeft"), nullptr);
    EXPECT_EQ(*reg.Get("HotkeyLeft"), 0x0625u);
    EXPECT_EQ(*reg.Get("EndAction"), 4u);
    for (const auto& [where, value] : reg.dwords) EXPECT_EQ(std::get<0>(where), RegistryHive::CurrentUser);

    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, (HotkeyValues{0x0625, 0x0A27, 0x0A28, 0}));
    EXPECT_EQ(settings.endAction, EndAction::Hibernate);
    EXPECT_TRUE(settings.target.atClock);
    EXPECT_EQ(settings.target.minutes, 45u);
    EXPECT_EQ(settings.target.clockMinute, 23u * 60 + 30);
}

TEST(SettingsStore, ValuesThatMakeNoSenseReadAsTheirDefaults) {
    DwordRegistry reg;
    reg.Put("HotkeyRight", 0x0200);   // no key
    reg.Put("HotkeyStereo", 0x4028);  // unknown modifier
    reg.Put("EndAction", 5);
    reg.Put("CountdownMinutes", 0);
    reg.Put("CountdownClock", 24 * 60);
    reg.Put("CountdownAtClock", 1);
    reg.strings[{RegistryHive::CurrentUser, kKey, "HotkeyLeft"}] = "Ctrl+Left";  // not a DWORD
    Settings settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.hotkeys, DefaultHotkeys());
    EXPECT_EQ(settings.endAction, EndAction::ShutDown);
    EXPECT_EQ(settings.target.minutes, 1u);
    EXPECT_FALSE(settings.target.atClock) << "no time of day to go with it";
    EXPECT_EQ(settings.target.clockMinute, 0u);

    reg.Put("CountdownMinutes", 65536);
    reg.Put("CountdownClock", 0);
    reg.Put("CountdownAtClock", 7);
    settings = SettingsStore(reg).Load();
    EXPECT_EQ(settings.target.minutes, 1u);
    EXPECT_FALSE(settings.target.atClock);
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
