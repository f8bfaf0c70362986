#pragma once
// IProfile on the platform's private profile functions. The A functions keep
// the file's values as the bytes they are (code page 936 in our files); the
// caller converts them for display.
#include <string>

#include "shared/core/Profile.h"

namespace vt::win {

class WinProfile : public IProfile {
public:
    explicit WinProfile(const std::string& utf8Path);
    std::string GetString(const std::string& section, const std::string& key, const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::string m_strAnsiPath;
};

// A file name the A functions can open: the path in the ANSI code page, or
// its short form when it holds characters that code page cannot express.
std::string AnsiPath(const std::wstring& path);

}  // namespace vt::win
