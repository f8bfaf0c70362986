#include "shared/core/VersionRule.h"

#include <cfloat>
#include <charconv>
#include <system_error>

namespace vt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Far beyond any double's range; keeps the exponent arithmetic from overflowing.
constexpr long long kExponentCap = 1000000;

}  // namespace

double ReadVersionNumber(const std::string& text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    const std::size_t start = i;
    // Decimal position of the first non-zero digit (0 for units, -1 for
    // tenths...), to tell an overflow from an underflow.
    long long magnitude = 0;
    bool nonZero = false;
    std::size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits) {
        if (nonZero)
            ++magnitude;
        else if (text[i] != '0')
            nonZero = true;
    }
    if (i < n && text[i] == '.') {
        std::size_t j = i + 1;
        long long place = 0;
        for (; j < n && IsDigit(text[j]); ++j, ++digits) {
            --place;
            if (!nonZero && text[j] != '0') {
                nonZero = true;
                magnitude = place;
            }
        }
        if (digits > 0) i = j;
    }
    if (digits == 0) return 0.0;

    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
        if (j < n && IsDigit(text[j])) {
            long long exponent = 0;
            for (; j < n && IsDigit(text[j]); ++j)
                if (exponent < kExponentCap) exponent = exponent * 10 + (text[j] - '0');
            magnitude += negativeExponent ? -exponent : exponent;
            i = j;
        }
    }

    // from_chars reads exactly this grammar, correctly rounded and without
    // the locale; the hexadecimal, "inf" and "nan" of strtod never reach it.
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(text.data() + start, text.data() + i, value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large reads as the largest finite number, so it still orders
        // above every ordinary version and equal texts stay equal.
        value = magnitude > 0 ? DBL_MAX : 0.0;
    } else if (r.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

bool IsNewerVersion(const std::string& serverVersion, const std::string& localVersion) {
    return ReadVersionNumber(serverVersion) > ReadVersionNumber(localVersion);
}

}  // namespace vt
