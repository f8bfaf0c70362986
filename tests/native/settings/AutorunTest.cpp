#include "assistant/settings/Autorun.h"

#include <gtest/gtest.h>

#include "tests/support/CoreFakes.h"

namespace vt {
namespace {

using test::FakeRegistry;

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kExe[] = "C:\\Program Files\\Vantrel\\Vantrel.exe";
constexpr char kQuotedExe[] = "\"C:\\Program Files\\Vantrel\\Vantrel.exe\"";

constexpr RegistryHive HKLM = RegistryHive::LocalMachine;
constexpr RegistryHive HKCU = RegistryHive::CurrentUser;
constexpr RegistryHive HKLM32 = RegistryHive::LocalMachine32;

// The Run value of one hive; nothing when it is missing.
std::optional<std::string> RunValue(const FakeRegistry& reg, RegistryHive hive) {
    return reg.Text(hive, kRun, "Vantrel");
}
// ShowInfo, a DWORD; nothing when it is missing or of another type.
std::optional<std::uint32_t> ShowInfo(FakeRegistry& reg, RegistryHive hive) {
    std::uint32_t value = 0;
    if (!reg.ReadDword(hive, SettingsStore::kKey, "ShowInfo", value)) return std::nullopt;
    return value;
}

}  // namespace

TEST(Autorun, RegisteredWhenEitherHiveHoldsTheRunValue) {
    FakeRegistry reg;
    Autorun autorun(reg);
    EXPECT_FALSE(autorun.IsRegistered());  // first run: the balloon shows
    reg.PutString(HKCU, kRun, "Vantrel", kQuotedExe);
    EXPECT_TRUE(autorun.IsRegistered());
    reg.values.clear();
    reg.PutString(HKLM, kRun, "Vantrel", kQuotedExe);
    EXPECT_TRUE(autorun.IsRegistered());
    reg.PutString(HKLM, kRun, "Other", "x");
    reg.values.erase({HKLM, kRun, "Vantrel"});
    EXPECT_FALSE(autorun.IsRegistered()) << "only the value named Vantrel counts";
}

TEST(Autorun, MachineWideQuotedPathReplacesAStaleUserEntry) {
    FakeRegistry reg;
    reg.PutString(HKCU, kRun, "Vantrel", "\"D:\\old\\Vantrel.exe\"");
    Autorun(reg).Save(true, kExe);
    ASSERT_NE(RunValue(reg, HKLM), std::nullopt);
    EXPECT_EQ(*RunValue(reg, HKLM), kQuotedExe);
    EXPECT_EQ(RunValue(reg, HKCU), std::nullopt) << "two Run entries would start two copies";
}

TEST(Autorun, RefusedMachineKeyFallsBackToTheUserKey) {
    FakeRegistry reg;
    reg.machineRefused = true;
    Autorun autorun(reg);
    autorun.Save(true, kExe);
    EXPECT_EQ(RunValue(reg, HKLM), std::nullopt);
    ASSERT_NE(RunValue(reg, HKCU), std::nullopt);
    EXPECT_EQ(*RunValue(reg, HKCU), kQuotedExe);
    // So the next start knows it is registered and shows no first-run balloon.
    EXPECT_TRUE(autorun.IsRegistered());

    autorun.SaveShowInfo(0);
    EXPECT_EQ(ShowInfo(reg, HKLM), std::nullopt);
    ASSERT_NE(ShowInfo(reg, HKCU), std::nullopt);
    EXPECT_EQ(*ShowInfo(reg, HKCU), 0u);
}

TEST(Autorun, ShowInfoGoesMachineWideWhenAllowed) {
    FakeRegistry reg;
    Autorun(reg).SaveShowInfo(0);
    ASSERT_NE(ShowInfo(reg, HKLM), std::nullopt);
    EXPECT_EQ(*ShowInfo(reg, HKLM), 0u);
    EXPECT_EQ(ShowInfo(reg, HKCU), std::nullopt);
}

TEST(Autorun, UntickedRemovesTheRunValueFromBothHives) {
    FakeRegistry reg;
    reg.PutString(HKLM, kRun, "Vantrel", kQuotedExe);
    reg.PutString(HKCU, kRun, "Vantrel", kQuotedExe);
    reg.PutString(HKLM, kRun, "Other", "\"C:\\other.exe\"");
    Autorun autorun(reg);
    autorun.Save(false, kExe);
    EXPECT_EQ(RunValue(reg, HKLM), std::nullopt);
    EXPECT_EQ(RunValue(reg, HKCU), std::nullopt);
    EXPECT_NE(reg.Text(HKLM, kRun, "Other"), std::nullopt) << "other programs' entries stay";
    EXPECT_FALSE(autorun.IsRegistered());
    autorun.Save(false, kExe);  // nothing left to delete: still fine
    EXPECT_FALSE(autorun.IsRegistered());
}

// An x64 copy replacing an x86 one on 64-bit Windows: the old copy's Run
// value sits in the 32-bit view of the machine-wide key.
TEST(Autorun, AnX86CopysRunValueCountsAndGivesWayToOurs) {
    FakeRegistry reg;
    reg.PutString(HKLM32, kRun, "Vantrel", kQuotedExe);
    Autorun autorun(reg);
    EXPECT_TRUE(autorun.IsRegistered()) << "the user chose autorun with the old copy";
    autorun.Save(true, kExe);
    EXPECT_EQ(RunValue(reg, HKLM32), std::nullopt) << "two Run values would start two copies at logon";
    ASSERT_NE(RunValue(reg, HKLM), std::nullopt);
    EXPECT_EQ(*RunValue(reg, HKLM), kQuotedExe);

    reg.PutString(HKLM32, kRun, "Vantrel", kQuotedExe);
    autorun.Save(false, kExe);
    EXPECT_EQ(RunValue(reg, HKLM32), std::nullopt);
    EXPECT_EQ(RunValue(reg, HKLM), std::nullopt);
    EXPECT_FALSE(autorun.IsRegistered());
}

}  // namespace vt
