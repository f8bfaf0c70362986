#include "shared/core/Text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vt {

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, args);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

void CopyBounded(char* dest, std::size_t fieldSize, const std::string& text) {
    if (fieldSize == 0) return;
    std::size_t n = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    std::memcpy(dest, text.data(), n);
    std::memset(dest + n, 0, fieldSize - n);
}

std::string FieldText(const char* field, std::size_t fieldSize) {
    const void* end = std::memchr(field, 0, fieldSize);
    std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : fieldSize;
    return std::string(field, n);
}

}  // namespace vt
