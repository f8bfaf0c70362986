#include "shared/core/ProfileRules.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "shared/core/IniProfile.h"
#include "shared/core/ProfileText.h"

// The rules below copy what the platform's private profile functions do, so
// that the portable code sees the same values here as on Windows:
//  - a line ends at CR or LF; runs of line breaks and blank lines are skipped;
//  - blanks are TAB, LF, VT, FF, CR, space and ^Z;
//  - a line that starts with '[' and has a ']' is a section header, its name
//    being what lies between the '[' and the last ']' (trimmed);
//  - any other line is a key: the name before the first '=' and the value
//    after it, both trimmed; a line without '=' is a key without a value,
//    which reads as the default (and hides a later line of the same key);
//  - the first section of a name is the only one read, the first line of a
//    key in it the only one used; names compare without ASCII case;
//  - a NUL ends a name or a value;
//  - one pair of matching quotes (" or ') around a value is removed.
// Text is code page 936: a lead byte always takes the next byte with it, so
// a ']', '=' or line break in second position is part of a character. The
// platform reads through a conversion to UTF-16, so a lead byte whose next
// byte cannot end a character reads as one '?' together with that byte (a
// NUL excepted), as does a lead byte at the very end; so do names, values
// and defaults handed in. Other lines keep their bytes on a write.
namespace vt {
namespace {

using namespace profile_text;

// What the platform copies at most: a 1024-character buffer for a string,
// 30 characters for a number.
constexpr std::size_t kStringBuffer = 1024;
constexpr std::size_t kNumberBuffer = 30;
constexpr char kBreak[] = "\r\n";

bool IsBreak(char c) { return c == '\n' || c == '\r'; }

bool BrokenAt(const std::string& s, std::size_t i) {
    return IsGbkLeadByte(static_cast<unsigned char>(s[i])) &&
           (i + 1 >= s.size() || !IsGbkTrailByte(static_cast<unsigned char>(s[i + 1])));
}

// Where reading shrank a broken pair of bytes to one '?', as positions in the
// text as read, in order: maps a position there back into the file's bytes.
class Shrinks {
public:
    void Add(std::size_t at) { m_at.push_back(at); }
    std::size_t Raw(std::size_t i) const {
        return i + static_cast<std::size_t>(std::lower_bound(m_at.begin(), m_at.end(), i) - m_at.begin());
    }

private:
    std::vector<std::size_t> m_at;
};

// s from `from` on as the platform reads it.
std::string AsRead(const std::string& s, std::size_t from = 0, Shrinks* shrinks = nullptr) {
    std::size_t i = from;
    while (i < s.size() && !BrokenAt(s, i)) i += GbkCharLen(s, i, s.size());
    if (i >= s.size()) return s;  // the common case: nothing to mend
    std::string out = s.substr(0, i);
    while (i < s.size()) {
        if (!BrokenAt(s, i)) {
            const std::size_t n = GbkCharLen(s, i, s.size());
            out.append(s, i, n);
            i += n;
        } else if (i + 1 < s.size() && s[i + 1] != '\0') {
            if (shrinks) shrinks->Add(out.size());
            out += '?';
            i += 2;
        } else {
            out += '?';
            ++i;
        }
    }
    return out;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of s from `begin` that fit in `max` without splitting a character.
std::size_t FittingLength(const std::string& s, std::size_t begin, std::size_t max) {
    std::size_t i = begin;
    while (i < s.size()) {
        const std::size_t n = GbkCharLen(s, i, s.size());
        if (i + n - begin > max) break;
        i += n;
    }
    return i - begin;
}

// A name of the file against a cleaned wanted name.
bool SameName(const std::string& s, Range r, const std::string& want) {
    std::size_t i = r.begin, j = 0;
    for (;;) {
        const bool fileEnded = i >= r.end || s[i] == '\0';
        const bool wantEnded = j >= want.size();
        if (fileEnded || wantEnded) return fileEnded && wantEnded;
        const std::size_t n = GbkCharLen(s, i, r.end);
        if (n != GbkCharLen(want, j, want.size())) return false;
        if (n == 1 ? FoldAscii(s[i]) != FoldAscii(want[j]) : s[i] != want[j] || s[i + 1] != want[j + 1]) return false;
        i += n;
        j += n;
    }
}

// What the platform copies into a buffer of `size` characters: one pair of
// matching quotes removed, the rest cut to size - 1 bytes. Its quirk is kept:
// a quoted value exactly one character too long loses one more character.
std::string CopyEntry(const std::string& v, std::size_t size) {
    std::size_t begin = 0;
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'')) {
        const std::size_t last = LastCharStart(v);
        if (last > 0 && last + 1 == v.size() && v[last] == v[0]) begin = 1;
    }
    std::string out = v.substr(begin, FittingLength(v, begin, size - 1));
    if (begin == 1 && v.size() - begin <= size && !out.empty()) out.resize(LastCharStart(out));
    return out;
}

// As the platform converts a number: leading blanks and control characters
// skipped, an optional sign, "0x", "0o" or "0b" switching the base, digits
// summed modulo 2^32 without an overflow check ("4294967297" reads as 1,
// "2147483648" as -2147483648).
int LeadingInteger(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    bool minus = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) minus = s[i++] == '-';
    std::uint32_t base = 10;
    if (s.size() - i >= 2 && s[i] == '0') {
        const char kind = s[i + 1];
        base = kind == 'x' ? 16 : kind == 'o' ? 8 : kind == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    std::uint32_t total = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        std::uint32_t digit = 99;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (minus) total = 0u - total;
    return static_cast<std::int32_t>(total);
}

struct Line {
    Range content;               // without surrounding blanks
    std::size_t end = 0;         // where the line break starts
    std::size_t afterBreak = 0;  // past this line's own CRLF, CR or LF
    std::size_t next = 0;        // start of the next line
    std::size_t equals = npos;   // first '=' of the content
    std::size_t closing = npos;  // last ']' of the content
};

void ReadLine(const std::string& s, std::size_t pos, Line& line) {
    line.equals = line.closing = npos;
    std::size_t first = npos, last = pos, i = pos;
    while (i < s.size() && !IsBreak(s[i])) {
        const std::size_t n = GbkCharLen(s, i, s.size());
        if (n == 2 || !IsBlank(static_cast<unsigned char>(s[i]))) {
            if (first == npos) first = i;
            last = i + n;
            if (n == 1 && s[i] == '=' && line.equals == npos) line.equals = i;
            if (n == 1 && s[i] == ']') line.closing = i;
        }
        i += n;
    }
    line.content = first == npos ? Range{i, i} : Range{first, last};
    line.end = line.afterBreak = line.next = i;
    if (i < s.size()) line.afterBreak = s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n' ? i + 2 : i + 1;
    while (line.next < s.size() && IsBreak(s[line.next])) ++line.next;
}

struct Place {
    bool sectionFound = false;
    std::size_t insertAt = 0;       // past the last non-blank line of the section
    bool insertNeedsBreak = false;  // that line ends the file without a break
    bool keyFound = false;
    Line key;
    bool endsInsideLine = false;  // the file's last line has no break (whole walks only)
};

// The lines before the first header form a section without a name.
Place Locate(const std::string& s, std::size_t start, const std::string& section, const std::string& key,
             bool wholeFile) {
    Place place;
    bool inSection = section.empty();
    bool passed = false;
    if (inSection) {
        place.sectionFound = true;
        place.insertAt = start;
    }
    Line line;
    for (std::size_t pos = start; pos < s.size(); pos = line.next) {
        ReadLine(s, pos, line);
        place.endsInsideLine = line.afterBreak == line.end;
        if (passed || line.content.begin == line.content.end) continue;
        if (s[line.content.begin] == '[' && line.closing != npos) {
            if (inSection) {
                passed = true;
                if (!wholeFile) break;
                continue;
            }
            inSection = SameName(s, Trim(s, line.content.begin + 1, line.closing), section);
            if (!inSection) continue;
            place.sectionFound = true;
        } else if (!inSection) {
            continue;
        } else if (!place.keyFound) {
            const Range name = line.equals == npos ? line.content : Trim(s, line.content.begin, line.equals);
            if (SameName(s, name, key)) {
                place.keyFound = true;
                place.key = line;
                if (!wholeFile) break;
            }
        }
        place.insertAt = line.afterBreak;
        place.insertNeedsBreak = line.afterBreak == line.end;
    }
    return place;
}

std::size_t BomLength(const std::string& s) { return s.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; }

// The value of the key, or false when the section or the key is missing or
// the key's line has no '='.
bool FindValue(const std::string& file, const std::string& section, const std::string& key, std::string& value) {
    const std::string text = AsRead(file, BomLength(file));
    const Place place = Locate(text, BomLength(text), CleanName(AsRead(section)), CleanName(AsRead(key)), false);
    if (!place.keyFound || place.key.equals == npos) return false;
    const Range r = Trim(text, place.key.equals + 1, place.key.content.end);
    value = CutAtNul(text.substr(r.begin, r.end - r.begin));
    return true;
}

}  // namespace

std::string ReadProfileString(bool loaded, const std::string& text, const std::string& section, const std::string& key,
                              const std::string& def) {
    std::string value;
    if (loaded && FindValue(text, section, key, value)) return CopyEntry(value, kStringBuffer);
    // The platform drops trailing spaces from the default (all but one of an
    // all-space default) and then treats it like a value.
    const std::string fallback = AsRead(def);
    std::size_t keep = fallback.size();
    while (keep > 1 && fallback[keep - 1] == ' ') --keep;
    return CopyEntry(CutAtNul(fallback.substr(0, keep)), kStringBuffer);
}

int ReadProfileInt(bool loaded, const std::string& text, const std::string& section, const std::string& key, int def) {
    std::string value;
    if (!loaded || !FindValue(text, section, key, value)) return def;
    const std::string number = CopyEntry(value, kNumberBuffer);
    return number.empty() ? def : LeadingInteger(number);
}

ProfileEdit EditProfileText(std::string& text, const std::string& section, const std::string& key,
                            const std::string& value) {
    if (!ProfileWritable(section, key, value)) return ProfileEdit::Refused;
    const std::string sec = CleanName(section), name = CleanName(key);
    const std::string val = value.substr(Trim(value, 0, value.size()).begin);

    // Found where the platform would find it, changed in the file's own bytes.
    Shrinks shrinks;
    const std::string view = AsRead(text, BomLength(text), &shrinks);
    const auto at = [&shrinks](std::size_t i) { return shrinks.Raw(i); };
    const Place place = Locate(view, BomLength(view), CleanName(AsRead(section)), CleanName(AsRead(key)), true);
    // A value that ends in blanks takes the place of the old value's own
    // trailing blanks as well: kept beside them, every such write would add
    // to the line. Any other value leaves the line's layout as it was.
    const bool blankEnd = !val.empty() && IsBlank(static_cast<unsigned char>(val.back()));
    if (place.keyFound && place.key.equals != npos) {
        const Range r = Trim(view, place.key.equals + 1, place.key.content.end);
        if (view.compare(r.begin, r.end - r.begin, AsRead(val)) == 0) return ProfileEdit::Unchanged;
        const std::size_t end = blankEnd ? place.key.end : r.end;
        text.replace(at(r.begin), at(end) - at(r.begin), val);
    } else if (place.keyFound) {
        const std::size_t end = blankEnd ? place.key.end : place.key.content.end;
        text.replace(at(place.key.content.end), at(end) - at(place.key.content.end), "=" + val);
    } else if (place.sectionFound) {
        text.insert(at(place.insertAt), (place.insertNeedsBreak ? kBreak : "") + name + "=" + val + kBreak);
    } else {
        if (place.endsInsideLine) text += kBreak;
        text += "[" + sec + "]" + kBreak + name + "=" + val + kBreak;
    }
    return ProfileEdit::Changed;
}

MemoryProfile::MemoryProfile(std::string bytes) : m_strBytes(std::move(bytes)) {}

std::string MemoryProfile::GetString(const std::string& section, const std::string& key, const std::string& def) const {
    return ReadProfileString(true, m_strBytes, section, key, def);
}

int MemoryProfile::GetInt(const std::string& section, const std::string& key, int def) const {
    return ReadProfileInt(true, m_strBytes, section, key, def);
}

bool MemoryProfile::WriteString(const std::string&, const std::string&, const std::string&) { return false; }

}  // namespace vt
