#pragma once
// Small text helpers of the portable core.
#include <cstddef>
#include <string>

namespace vt {

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Copies at most maxBytes bytes of text into dest (a fixed field of
// fieldSize bytes) and fills the rest of the field with zero bytes, so the
// terminator always fits. maxBytes must be below fieldSize.
void CopyBounded(char* dest, std::size_t fieldSize, const std::string& text);

// The text of a fixed, zero-terminated field (stops at the field's end when
// there is no terminator).
std::string FieldText(const char* field, std::size_t fieldSize);

}  // namespace vt
