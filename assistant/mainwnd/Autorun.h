#pragma once
// Where the assistant records that it starts with Windows (the Run value)
// and its ShowInfo value. The machine-wide key comes first; a user without
// the right to write there gets the per-user key instead, so the ticked menu
// item never claims an autorun that will not happen.
#include <cstdint>
#include <string>

namespace vt {

// LocalMachine32 is the machine-wide key as a 32-bit copy of the program sees
// it: on 64-bit Windows the WOW6432Node view, where an x86 copy wrote its
// values; HKCU\Software is the same for both. Where there is no such second
// view (an x86 build), it holds nothing and takes nothing.
enum class RegistryHive { LocalMachine, CurrentUser, LocalMachine32 };

// Registry values under one of the two hives; strings are UTF-8.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) = 0;
    virtual bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name,
                            std::uint32_t value) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) = 0;
};

class Autorun {
public:
    static constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kRunValue = "Vantrel";
    static constexpr const char* kProductKey = "SOFTWARE\\Orvane\\Vantrel";
    static constexpr const char* kShowInfoValue = "ShowInfo";

    explicit Autorun(IRegistry& registry) : m_registry(registry) {}

    // Whether any hive holds the Run value (no value: first run); one an x86
    // copy of the program left in the 32-bit view counts.
    bool IsRegistered();
    // Writes the quoted executable path as the Run value, or deletes it from
    // both hives. Either way a value an x86 copy left in the 32-bit view goes:
    // two Run values would start two copies at logon.
    void Save(bool autoRun, const std::string& exePath);
    void SaveShowInfo(std::uint32_t showInfo);

private:
    IRegistry& m_registry;
};

}  // namespace vt
