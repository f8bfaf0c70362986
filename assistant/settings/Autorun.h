#pragma once
// Where the assistant records that it starts with Windows (the Run value)
// and its ShowInfo value (under the settings key, SettingsStore::kKey). The
// machine-wide key comes first; a user without the right to write there gets
// the per-user key instead, so the ticked menu item never claims an autorun
// that will not happen.
#include <cstdint>
#include <string>

#include "assistant/settings/SettingsStore.h"
#include "shared/core/Registry.h"

namespace vt {

class Autorun {
public:
    static constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kRunValue = "Vantrel";
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
