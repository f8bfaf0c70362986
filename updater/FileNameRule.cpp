#include "updater/FileNameRule.h"

#include <cstddef>

namespace vt {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsReservedDeviceName(const std::string& name) {
    // Windows maps the device name whatever follows the first dot, and
    // ignores blanks before that dot ("nul .txt" is the device too).
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = UpperAscii(c);

    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* reserved : kFixed) {
        if (base == reserved) return true;
    }
    // COM and LPT with any one digit, 0 included. Current Windows reserves
    // them with a superscript one, two or three as well; code page 936 has no
    // such character (GB18030 writes them in four bytes, which this code page
    // reads as a cut character, refused above), so through this code page
    // the ASCII digits are all that can follow.
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
           base[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const Gbk& text) {
    const std::string& name = text.Bytes();
    if (name.empty() || name == "." || name == "..") return false;
    const char last = name.back();
    if (last == '.' || last == ' ') return false;

    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsGbkLeadByte(c)) {
            // A double-byte character: its trail byte is no separator.
            if (i + 1 >= name.size()) return false;
            const unsigned char trail = static_cast<unsigned char>(name[i + 1]);
            if (!IsGbkTrailByte(trail)) return false;
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F || c == 0xFF) return false;
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '<':
        case '>':
        case '"':
        case '|':
        case '?':
        case '*':
            return false;
        default:
            break;
        }
    }
    return !IsReservedDeviceName(name);
}

}  // namespace vt
