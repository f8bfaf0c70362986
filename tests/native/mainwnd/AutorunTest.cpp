#include "assistant/mainwnd/Autorun.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace vt {
namespace {

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProduct[] = "SOFTWARE\\Orvane\\Vantrel";
constexpr char kExe[] = "C:\\Program Files\\Vantrel\\Vantrel.exe";
constexpr char kQuotedExe[] = "\"C:\\Program Files\\Vantrel\\Vantrel.exe\"";

// Two hives in memory; a user without administrator rights cannot change
// the machine-wide one (reading it still works).
struct FakeRegistry : IRegistry {
    bool machineRefused = false;
    std::map<std::tuple<RegistryHive, std::string, std::string>, std::string> values;

    bool Refused(RegistryHive hive) const { return hive != RegistryHive::CurrentUser && machineRefused; }
    bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        return values.count({hive, key, name}) != 0;
    }
    bool ReadDword(RegistryHive, const std::string&, const std::string&, std::uint32_t&) override { return false; }
    bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                     const std::string& value) override {
        if (Refused(hive)) return false;
        values[{hive, key, name}] = value;
        return true;
    }
    bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) override {
        return WriteString(hive, key, name, "dword:" + std::to_string(value));
    }
    bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        if (Refused(hive)) return false;
        values.erase({hive, key, name});
        return true;
    }
    const std::string* Get(RegistryHive hive, const std::string& key, const std::string& name) const {
        auto it = values.find({hive, key, name});
        return it == values.end() ? nullptr : &it->second;
    }
    const std::string* Run(RegistryHive hive) const { return Get(hive, kRun, "Vantrel"); }
};

constexpr RegistryHive HKLM = RegistryHive::LocalMachine;
constexpr RegistryHive HKCU = RegistryHive::CurrentUser;
constexpr RegistryHive HKLM32 = RegistryHive::LocalMachine32;

}  // namespace

TEST(Autorun, RegisteredWhenEitherHiveHoldsTheRunValue) {
    FakeRegistry reg;
    Autorun autorun(reg);
    EXPECT_FALSE(autorun.IsRegistered());  // first run: the balloon shows
    reg.values[{HKCU, kRun, "Vantrel"}] = kQuotedExe;
    EXPECT_TRUE(autorun.IsRegistered());
    reg.values.clear();
    reg.values[{HKLM, kRun, "Vantrel"}] = kQuotedExe;
    EXPECT_TRUE(autorun.IsRegistered());
    reg.values[{HKLM, kRun, "Other"}] = "x";
    reg.values.erase({HKLM, kRun, "Vantrel"});
    EXPECT_FALSE(autorun.IsRegistered()) << "only the value named Vantrel counts";
}

TEST(Autorun, MachineWideQuotedPathReplacesAStaleUserEntry) {
    FakeRegistry reg;
    reg.values[{HKCU, kRun, "Vantrel"}] = "\"D:\\old\\Vantrel.exe\"";
    Autorun(reg).Save(true, kExe);
    ASSERT_NE(reg.Run(HKLM), nullptr);
    EXPECT_EQ(*reg.Run(HKLM), kQuotedExe);
    EXPECT_EQ(reg.Run(HKCU), nullptr) << "two Run entries would start two copies";
}

TEST(Autorun, RefusedMachineKeyFallsBackToTheUserKey) {
    FakeRegistry reg;
    reg.machineRefused = true;
    Autorun autorun(reg);
    autorun.Save(true, kExe);
    EXPECT_EQ(reg.Run(HKLM), nullptr);
    ASSERT_NE(reg.Run(HKCU), nullptr);
    EXPECT_EQ(*reg.Run(HKCU), kQuotedExe);
    // So the next start knows it is registered and shows no first-run balloon.
    EXPECT_TRUE(autorun.IsRegistered());

    autorun.SaveShowInfo(0);
    EXPECT_EQ(reg.Get(HKLM, kProduct, "ShowInfo"), nullptr);
    ASSERT_NE(reg.Get(HKCU, kProduct, "ShowInfo"), nullptr);
    EXPECT_EQ(*reg.Get(HKCU, kProduct, "ShowInfo"), "dword:0");
}

TEST(Autorun, ShowInfoGoesMachineWideWhenAllowed) {
    FakeRegistry reg;
    Autorun(reg).SaveShowInfo(0);
    ASSERT_NE(reg.Get(HKLM, kProduct, "ShowInfo"), nullptr);
    EXPECT_EQ(*reg.Get(HKLM, kProduct, "ShowInfo"), "dword:0");
    EXPECT_EQ(reg.Get(HKCU, kProduct, "ShowInfo"), nullptr);
}

TEST(Autorun, UntickedRemovesTheRunValueFromBothHives) {
    FakeRegistry reg;
    reg.values[{HKLM, kRun, "Vantrel"}] = kQuotedExe;
    reg.values[{HKCU, kRun, "Vantrel"}] = kQuotedExe;
    reg.values[{HKLM, kRun, "Other"}] = "\"C:\\other.exe\"";
    Autorun autorun(reg);
    autorun.Save(false, kExe);
    EXPECT_EQ(reg.Run(HKLM), nullptr);
    EXPECT_EQ(reg.Run(HKCU), nullptr);
    EXPECT_NE(reg.Get(HKLM, kRun, "Other"), nullptr) << "other programs' entries stay";
    EXPECT_FALSE(autorun.IsRegistered());
    autorun.Save(false, kExe);  // nothing left to delete: still fine
    EXPECT_FALSE(autorun.IsRegistered());
}

// An x64 copy replacing an x86 one on 64-bit Windows: the old copy's Run
// value sits in the 32-bit view of the machine-wide key.
TEST(Autorun, AnX86CopysRunValueCountsAndGivesWayToOurs) {
    FakeRegistry reg;
    reg.values[{HKLM32, kRun, "Vantrel"}] = kQuotedExe;
    Autorun autorun(reg);
    EXPECT_TRUE(autorun.IsRegistered()) << "the user chose autorun with the old copy";
    autorun.Save(true, kExe);
    EXPECT_EQ(reg.Run(HKLM32), nullptr) << "two Run values would start two copies at logon";
    ASSERT_NE(reg.Run(HKLM), nullptr);
    EXPECT_EQ(*reg.Run(HKLM), kQuotedExe);

    reg.values[{HKLM32, kRun, "Vantrel"}] = kQuotedExe;
    autorun.Save(false, kExe);
    EXPECT_EQ(reg.Run(HKLM32), nullptr);
    EXPECT_EQ(reg.Run(HKLM), nullptr);
    EXPECT_FALSE(autorun.IsRegistered());
}

}  // namespace vt
