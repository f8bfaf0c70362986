#pragma once
#include "shared/core/Registry.h"

namespace vt::win {

// IRegistry on the real registry (keys created when missing).
class WinRegistry : public IRegistry {
public:
    bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) override;
    bool ReadDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t& value) override;
    bool ReadString(RegistryHive hive, const std::string& key, const std::string& name, std::string& value) override;
    bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                     const std::string& value) override;
    bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) override;
    bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) override;
};

}  // namespace vt::win
