#include "shared/core/IniProfile.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <utility>

#include "shared/core/ProfileRules.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

enum class Load { Ok, Missing, Failed };

Load LoadFile(const std::string& path, std::string& text) {
    text.clear();
    try {
        std::error_code ec;
        const fs::path p = fs::u8path(path);
        const fs::file_status status = fs::status(p, ec);
        if (status.type() == fs::file_type::not_found) return Load::Missing;
        // Only plain files: a pipe or a device could block the reader forever.
        if (ec || status.type() != fs::file_type::regular) return Load::Failed;
        std::ifstream in(p, std::ios::binary);
        if (!in) return Load::Failed;
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
            text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (in.bad()) return Load::Failed;
        return Load::Ok;
    } catch (const std::exception&) {  // a file too large for memory reads as unreadable
        text.clear();
        text.shrink_to_fit();
        return Load::Failed;
    }
}

// Written beside the file and moved over it, so a failed write leaves the
// old file whole. A read-only file stays as it is, as on Windows.
bool SaveFile(const std::string& path, const std::string& text) {
    try {
        std::error_code ec;
        const fs::path target = fs::u8path(path);
        const fs::file_status old = fs::status(target, ec);
        const bool existed = old.type() == fs::file_type::regular;
        if (existed && (old.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
        fs::path temp = target;
        temp += ".new";
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (out && existed) fs::permissions(temp, old.permissions(), ec);
        if (out) fs::rename(temp, target, ec);
        if (!out || ec) {
            fs::remove(temp, ec);
            return false;
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

IniProfile::IniProfile(std::string path) : m_strPath(std::move(path)) {}

std::string IniProfile::GetString(const std::string& section, const std::string& key, const std::string& def) const {
    std::string text;
    return ReadProfileString(LoadFile(m_strPath, text) == Load::Ok, text, section, key, def);
}

int IniProfile::GetInt(const std::string& section, const std::string& key, int def) const {
    std::string text;
    return ReadProfileInt(LoadFile(m_strPath, text) == Load::Ok, text, section, key, def);
}

bool IniProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    std::string text;
    if (LoadFile(m_strPath, text) == Load::Failed) return false;
    switch (EditProfileText(text, section, key, value)) {
    case ProfileEdit::Refused:
        return false;
    case ProfileEdit::Unchanged:
        return true;
    case ProfileEdit::Changed:
        break;
    }
    return SaveFile(m_strPath, text);
}

}  // namespace vt
