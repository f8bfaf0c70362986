#include "assistant/mainwnd/MinutesParser.h"

namespace vt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

MinutesParse ParseMinutes(const std::string& boxText) {
    // The limit counts characters. Cutting the UTF-8 bytes instead gives the
    // same answer: everything before the first non-ASCII character has one
    // byte per character, and a non-ASCII character anywhere inside the
    // limit makes the text not a number either way.
    const std::string text = boxText.substr(0, kMinutesTextLimit);
    MinutesParse out;

    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    const char first = i < text.size() ? text[i] : '\0';
    if (first == '-') return out;

    std::size_t digits = i;
    if (first == '+') ++digits;
    std::uint64_t value = 0;
    std::size_t end = digits;
    while (end < text.size() && IsDigit(text[end])) {
        // Once past 32 bits the value only has to stay past them.
        if (value <= UINT32_MAX) value = value * 10 + static_cast<unsigned>(text[end] - '0');
        ++end;
    }
    if (value > UINT32_MAX) value = UINT32_MAX;

    if (value == 0 && first != '0') return out;
    while (end < text.size() && IsBlank(text[end])) ++end;
    if (end != text.size()) return out;

    out.value = static_cast<std::uint32_t>(value);
    out.result = (out.value < kMinMinutes || out.value > kMaxMinutes) ? MinutesRead::OutOfRange : MinutesRead::Ok;
    return out;
}

}  // namespace vt
