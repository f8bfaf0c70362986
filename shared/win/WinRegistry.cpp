#include "shared/win/WinRegistry.h"

#include <windows.h>

#include "shared/core/BuildArch.h"
#include "shared/win/Encoding.h"
#include "shared/win/Handles.h"

namespace vt::win {
namespace {

HKEY Root(RegistryHive hive) { return hive == RegistryHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The view a hive is opened in. Only a 64-bit build has a second view of
// HKLM\SOFTWARE to look into: for an x86 build the 32-bit view is its own.
REGSAM View(RegistryHive hive) { return hive == RegistryHive::LocalMachine32 ? KEY_WOW64_32KEY : 0; }
constexpr bool kHasSecondView = kBuildIs64Bit;
bool Absent(RegistryHive hive) { return hive == RegistryHive::LocalMachine32 && !kHasSecondView; }

// Opens an existing key; empty on failure, with the reason in rc.
RegKeyHandle Open(RegistryHive hive, const std::string& key, REGSAM access, LONG& rc) {
    RegKeyHandle h;
    rc = RegOpenKeyExW(Root(hive), FromUtf8(key).c_str(), 0, access | View(hive), h.Put());
    // Whatever a failed call left there is no key to close.
    if (rc != ERROR_SUCCESS) h.Release();
    return h;
}

// Opens (creating when missing) a key for writing; empty on failure.
RegKeyHandle OpenForWrite(RegistryHive hive, const std::string& key) {
    RegKeyHandle h;
    if (Absent(hive)) return h;
    if (RegCreateKeyExW(Root(hive), FromUtf8(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE | View(hive),
                        nullptr, h.Put(), nullptr) != ERROR_SUCCESS)
        h.Release();
    return h;
}

}  // namespace

bool WinRegistry::HasValue(RegistryHive hive, const std::string& key, const std::string& name) {
    if (Absent(hive)) return false;
    LONG rc = 0;
    RegKeyHandle h = Open(hive, key, KEY_QUERY_VALUE, rc);
    return h && RegQueryValueExW(h.Get(), FromUtf8(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool WinRegistry::ReadDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t& value) {
    if (Absent(hive)) return false;
    LONG rc = 0;
    RegKeyHandle h = Open(hive, key, KEY_QUERY_VALUE, rc);
    if (!h) return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    rc = RegQueryValueExW(h.Get(), FromUtf8(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    // A value of another type (a string someone typed in) is as good as missing.
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return false;
    value = data;
    return true;
}

bool WinRegistry::ReadString(RegistryHive hive, const std::string& key, const std::string& name, std::string& value) {
    if (Absent(hive)) return false;
    LONG rc = 0;
    RegKeyHandle h = Open(hive, key, KEY_QUERY_VALUE, rc);
    if (!h) return false;
    // The strings the program keeps are short; a longer one is as good as missing.
    wchar_t data[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof data - sizeof(wchar_t);  // room for a zero the data may lack
    rc = RegQueryValueExW(h.Get(), FromUtf8(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    data[size / sizeof(wchar_t)] = L'\0';
    value = ToUtf8(data);
    return true;
}

bool WinRegistry::WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                              const std::string& value) {
    RegKeyHandle h = OpenForWrite(hive, key);
    if (!h) return false;
    std::wstring data = FromUtf8(value);
    // The length given includes the terminating zero, as the registry expects.
    return RegSetValueExW(h.Get(), FromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WinRegistry::WriteDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) {
    RegKeyHandle h = OpenForWrite(hive, key);
    if (!h) return false;
    DWORD data = value;
    return RegSetValueExW(h.Get(), FromUtf8(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool WinRegistry::DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) {
    if (Absent(hive)) return true;
    LONG rc = 0;
    RegKeyHandle h = Open(hive, key, KEY_SET_VALUE, rc);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (!h) return false;
    rc = RegDeleteValueW(h.Get(), FromUtf8(name).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace vt::win
