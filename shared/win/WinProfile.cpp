#include "shared/win/WinProfile.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "shared/core/IniProfile.h"
#include "shared/win/Encoding.h"

namespace vt::win {

std::string AnsiPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n > 0 && !lossy) {
        std::string out(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, &out[0], n, nullptr, nullptr);
        out.resize(static_cast<size_t>(n) - 1);
        return out;
    }
    // The directory exists even where the file does not yet: shorten that.
    size_t slash = path.find_last_of(L"\\/");
    std::wstring dir = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::vector<wchar_t> shortDir(MAX_PATH * 4);
    DWORD len = GetShortPathNameW(dir.c_str(), shortDir.data(), static_cast<DWORD>(shortDir.size()));
    std::wstring shortened = len && len < shortDir.size() ? std::wstring(shortDir.data(), len) + name : path;
    n = WideCharToMultiByte(CP_ACP, 0, shortened.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, shortened.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

WinProfile::WinProfile(const std::string& utf8Path) : m_strAnsiPath(AnsiPath(FromUtf8(utf8Path))) {}

std::string WinProfile::GetString(const std::string& section, const std::string& key, const std::string& def) const {
    char buffer[1024] = {};  // every reader of these files uses 1024 bytes
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                                       m_strAnsiPath.c_str());
    // A double-byte character that does not fit is dropped, yet the count
    // still says the buffer is full: the text ends at the first NUL.
    if (n >= sizeof buffer) n = sizeof buffer - 1;
    return std::string(buffer, strnlen(buffer, n));
}

int WinProfile::GetInt(const std::string& section, const std::string& key, int def) const {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, m_strAnsiPath.c_str()));
}

bool WinProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // The platform would write these too, and break the file's other lines.
    if (!ProfileWritable(section, key, value)) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), m_strAnsiPath.c_str()) != 0;
}

}  // namespace vt::win
