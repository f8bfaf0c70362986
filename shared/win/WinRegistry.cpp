#include "shared/win/WinRegistry.h"

#include <windows.h>

#include "shared/win/Encoding.h"

namespace vt::win {
namespace {

HKEY Root(RegistryHive hive) {
    return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The view a hive is opened in. Only a 64-bit build has a second view of
// HKLM\SOFTWARE to look into: for an x86 build the 32-bit view is its own.
REGSAM View(RegistryHive hive) { return hive == RegistryHive::LocalMachine32 ? KEY_WOW64_32KEY : 0; }
constexpr bool kHasSecondView = sizeof(void*) == 8;
bool Absent(RegistryHive hive) { return hive == RegistryHive::LocalMachine32 && !kHasSecondView; }

// Opens (creating when missing) a key for writing; null on failure.
HKEY OpenForWrite(RegistryHive hive, const std::string& key) {
    HKEY h = nullptr;
    if (Absent(hive)) return nullptr;
    if (RegCreateKeyExW(Root(hive), FromUtf8(key).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_QUERY_VALUE | View(hive), nullptr, &h, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return h;
}

}  // namespace

bool WinRegistry::HasValue(RegistryHive hive, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (Absent(hive)) return false;
    if (RegOpenKeyExW(Root(hive), FromUtf8(key).c_str(), 0, KEY_QUERY_VALUE | View(hive), &h) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExW(h, FromUtf8(name).c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool WinRegistry::ReadDword(RegistryHive hive, const std::string& key, const std::string& name,
                            std::uint32_t& value) {
    HKEY h = nullptr;
    if (Absent(hive)) return false;
    if (RegOpenKeyExW(Root(hive), FromUtf8(key).c_str(), 0, KEY_QUERY_VALUE | View(hive), &h) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExW(h, FromUtf8(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(h);
    // A value of another type (a string someone typed in) is as good as missing.
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return false;
    value = data;
    return true;
}

bool WinRegistry::WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                              const std::string& value) {
    HKEY h = OpenForWrite(hive, key);
    if (!h) return false;
    std::wstring data = FromUtf8(value);
    // The length given includes the terminating zero, as the registry expects.
    LONG rc = RegSetValueExW(h, FromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool WinRegistry::WriteDword(RegistryHive hive, const std::string& key, const std::string& name,
                             std::uint32_t value) {
    HKEY h = OpenForWrite(hive, key);
    if (!h) return false;
    DWORD data = value;
    LONG rc = RegSetValueExW(h, FromUtf8(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                             sizeof data);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool WinRegistry::DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (Absent(hive)) return true;
    LONG rc = RegOpenKeyExW(Root(hive), FromUtf8(key).c_str(), 0, KEY_SET_VALUE | View(hive), &h);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return false;
    rc = RegDeleteValueW(h, FromUtf8(name).c_str());
    RegCloseKey(h);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace vt::win
