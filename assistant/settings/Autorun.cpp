#include "assistant/settings/Autorun.h"

namespace vt {

bool Autorun::IsRegistered() {
    return m_registry.HasValue(RegistryHive::LocalMachine, kRunKey, kRunValue) ||
           m_registry.HasValue(RegistryHive::CurrentUser, kRunKey, kRunValue) ||
           m_registry.HasValue(RegistryHive::LocalMachine32, kRunKey, kRunValue);
}

void Autorun::Save(bool autoRun, const std::string& exePath) {
    m_registry.DeleteValue(RegistryHive::LocalMachine32, kRunKey, kRunValue);
    if (!autoRun) {
        m_registry.DeleteValue(RegistryHive::LocalMachine, kRunKey, kRunValue);
        m_registry.DeleteValue(RegistryHive::CurrentUser, kRunKey, kRunValue);
        return;
    }
    const std::string quoted = "\"" + exePath + "\"";
    if (m_registry.WriteString(RegistryHive::LocalMachine, kRunKey, kRunValue, quoted)) {
        // One Run entry is enough: a stale per-user one would start a second copy.
        m_registry.DeleteValue(RegistryHive::CurrentUser, kRunKey, kRunValue);
    } else {
        m_registry.WriteString(RegistryHive::CurrentUser, kRunKey, kRunValue, quoted);
    }
}

void Autorun::SaveShowInfo(std::uint32_t showInfo) {
    if (!m_registry.WriteDword(RegistryHive::LocalMachine, SettingsStore::kKey, kShowInfoValue, showInfo))
        m_registry.WriteDword(RegistryHive::CurrentUser, SettingsStore::kKey, kShowInfoValue, showInfo);
}

}  // namespace vt
