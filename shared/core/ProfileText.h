#pragma once
// Character-level rules of profile files (code page 936 text), shared by the
// file-backed profile and the check both profile implementations make before
// a write. No file access here.
#include <cstddef>
#include <string>

#include "shared/core/Gbk.h"

namespace vt::profile_text {

constexpr std::size_t npos = std::string::npos;

struct Range {
    std::size_t begin;
    std::size_t end;
};

// Blanks as the platform trims them: TAB to CR, ^Z and space.
bool IsBlank(unsigned char c);
// [b, e) without blanks at either end; b starts a character.
Range Trim(const std::string& s, std::size_t b, std::size_t e);
std::size_t LastCharStart(const std::string& s);
// s up to its first NUL character.
std::string CutAtNul(std::string s);
// A section or key name as the platform compares it: cut at NUL, trimmed.
std::string CleanName(const std::string& name);
// Whether a name or value could be read back as written.
bool Writable(const std::string& s);

}  // namespace vt::profile_text
