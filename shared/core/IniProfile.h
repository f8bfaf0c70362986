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
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// A profile read from bytes already in memory (a description whose bytes
// were verified, say), with the same reading rules as the file. It is read
// only: every write fails and leaves the bytes as they are.
class MemoryProfile : public IProfile {
public:
    explicit MemoryProfile(std::string bytes);
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::string& Bytes() const { return m_strBytes; }

private:
    std::string m_strBytes;
};

// Whether a write of this value under this section and key could be read
// back as written. A line break or NUL would split or cut the line, a lead
// byte at the end would swallow what follows it, an empty or blank name, a
// key with '=' or starting with '[' would read as something else. Both
// profile implementations refuse such writes and leave the file alone.
bool ProfileWritable(const std::string& section, const std::string& key, const std::string& value);

}  // namespace vt
