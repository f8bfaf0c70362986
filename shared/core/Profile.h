#pragma once
// Key-by-key access to one initialisation (profile) file, with the semantics
// of the platform's private profile functions:
//  - a missing file, section or key reads as the caller's default;
//  - strings come back trimmed of surrounding blanks, cut to 1023 bytes;
//  - integers take the leading decimal number of the value (0 if none);
//  - a write sets one key and leaves every other line of the file as it was.
// Values are raw bytes in the file's own code page (936 for our files).
#include <string>

namespace vt {

class IProfile {
public:
    virtual ~IProfile() = default;
    virtual std::string GetString(const std::string& section, const std::string& key, const std::string& def) const = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int def) const = 0;
    // Returns false when the file could not be written; most callers ignore it.
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
};

}  // namespace vt
