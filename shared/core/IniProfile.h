#pragma once
// A profile file read and written through plain file access, with the same
// semantics as the platform's private profile functions (see Profile.h).
// The Windows programs use the platform functions themselves; this one serves
// the portable core's tests and any platform without them.
#include <string>

#include "shared/core/Profile.h"

namespace vt {

class IniProfile : public IProfile {
public:
    explicit IniProfile(std::string path);
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

}  // namespace vt
