#pragma once
// Component versions are one decimal number each ("1.10" is less than "1.9").
#include <string>

namespace vt {

// Reads the longest leading decimal number of text (blanks skipped; optional
// sign, digits, optional point and digits, optional exponent); 0 when none.
// Never reads hexadecimal, "inf" or "nan", and does not depend on the locale.
double ReadVersionNumber(const std::string& text);

// True when the server's version is strictly greater than the local one.
bool IsNewerVersion(const std::string& serverVersion, const std::string& localVersion);

}  // namespace vt
