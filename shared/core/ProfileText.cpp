#include "shared/core/ProfileText.h"
#include "shared/core/IniProfile.h"

namespace vt {
namespace profile_text {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' '; }

Range Trim(const std::string& s, std::size_t b, std::size_t e) {
    std::size_t first = npos, last = e;
    for (std::size_t i = b; i < e;) {
        const std::size_t n = GbkCharLen(s, i, e);
        if (n == 2 || !IsBlank(static_cast<unsigned char>(s[i]))) {
            if (first == npos) first = i;
            last = i + n;
        }
        i += n;
    }
    return first == npos ? Range{e, e} : Range{first, last};
}

std::size_t LastCharStart(const std::string& s) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += GbkCharLen(s, i, s.size())) last = i;
    return last;
}

std::string CutAtNul(std::string s) {
    for (std::size_t i = 0; i < s.size(); i += GbkCharLen(s, i, s.size())) {
        if (s[i] == '\0') {
            s.resize(i);
            break;
        }
    }
    return s;
}

std::string CleanName(const std::string& name) {
    const std::string s = CutAtNul(name);
    const Range r = Trim(s, 0, s.size());
    return s.substr(r.begin, r.end - r.begin);
}

// Names and values that could not be read back as written are refused: a
// line break or NUL would split or cut the line, and a lead byte at the end
// would swallow the '=', ']' or line break that follows it.
bool Writable(const std::string& s) {
    if (s.find_first_of(std::string("\r\n\0", 3)) != npos) return false;
    return s.empty() || GbkCharLen(s, LastCharStart(s), s.size()) == 2 ||
           !IsGbkLeadByte(static_cast<unsigned char>(s.back()));
}

}  // namespace profile_text

using namespace profile_text;

bool ProfileWritable(const std::string& section, const std::string& key, const std::string& value) {
    if (!Writable(section) || !Writable(key) || !Writable(value)) return false;
    const std::string sec = CleanName(section), name = CleanName(key);
    return !sec.empty() && !name.empty() && name[0] != '[' && name.find('=') == npos;
}

}  // namespace vt
