// The real registry behind the settings: a DWORD reads back, and whatever
// else sits under a value's name (a string someone typed in, bytes of the
// right length) reads as missing, so the store falls back to its default.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shared/win/WinRegistry.h"

namespace vt::win {
namespace {

class WinRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_key = "Software\\Vantrel-test-" + std::to_string(GetCurrentProcessId());
        m_wkey = std::wstring(m_key.begin(), m_key.end());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_wkey.c_str()); }
    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY h = nullptr;
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, m_wkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
            ERROR_SUCCESS);
        RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(h);
    }

    WinRegistry m_registry;
    std::string m_key;
    std::wstring m_wkey;
};

TEST_F(WinRegistryTest, ADwordReadsBackAndAMissingOneLeavesTheValueAlone) {
    std::uint32_t value = 77;
    EXPECT_FALSE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyLeft", value)) << "no key yet";
    EXPECT_EQ(value, 77u);
    ASSERT_TRUE(m_registry.WriteDword(RegistryHive::CurrentUser, m_key, "HotkeyLeft", 0x0625));
    EXPECT_TRUE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyLeft", value));
    EXPECT_EQ(value, 0x0625u);
    EXPECT_FALSE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyMute", value));
    EXPECT_EQ(value, 0x0625u);
    ASSERT_TRUE(m_registry.WriteDword(RegistryHive::CurrentUser, m_key, "HotkeyMute", 0));
    EXPECT_TRUE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyMute", value));
    EXPECT_EQ(value, 0u) << "0 is a value (none), not a missing one";
}

TEST_F(WinRegistryTest, AValueOfAnotherTypeReadsAsMissing) {
    const wchar_t text[] = L"Ctrl+Left";
    PutRaw(L"HotkeyLeft", REG_SZ, text, sizeof text);
    const DWORD bytes = 0x0625;
    PutRaw(L"HotkeyRight", REG_BINARY, &bytes, sizeof bytes);
    const unsigned long long wide = 0x0625;
    PutRaw(L"HotkeyStereo", REG_QWORD, &wide, sizeof wide);
    std::uint32_t value = 5;
    EXPECT_FALSE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyLeft", value));
    EXPECT_FALSE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyRight", value));
    EXPECT_FALSE(m_registry.ReadDword(RegistryHive::CurrentUser, m_key, "HotkeyStereo", value));
    EXPECT_EQ(value, 5u);
    EXPECT_TRUE(m_registry.HasValue(RegistryHive::CurrentUser, m_key, "HotkeyLeft"));
}

}  // namespace
}  // namespace vt::win
