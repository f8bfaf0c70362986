#pragma once
// Registry values under the machine-wide or the per-user hive, behind a small
// interface so the decisions that use them (autorun, the settings) are tested
// without a registry. Key and value names and strings are UTF-8.
#include <cstdint>
#include <string>

namespace vt {

// LocalMachine32 is the machine-wide key as a 32-bit copy of the program sees
// it: on 64-bit Windows the WOW6432Node view, where an x86 copy wrote its
// values; HKCU\Software is the same for both. Where there is no such second
// view (an x86 build), it holds nothing and takes nothing.
enum class RegistryHive { LocalMachine, CurrentUser, LocalMachine32 };

class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) = 0;
    // False when the value is missing or is no REG_DWORD; value is then untouched.
    virtual bool ReadDword(RegistryHive hive, const std::string& key, const std::string& name,
                           std::uint32_t& value) = 0;
    // False when the value is missing or is no REG_SZ; value is then untouched.
    virtual bool ReadString(RegistryHive hive, const std::string& key, const std::string& name, std::string& value) = 0;
    virtual bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name,
                            std::uint32_t value) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) = 0;
};

}  // namespace vt
