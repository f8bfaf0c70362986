// libFuzzer target: the version rule on two arbitrary version texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "shared/core/VersionRule.h"

namespace {

// Optional blanks and sign, digits with at most one point, nothing else: the
// texts the C library reads the same way.
bool PlainDecimal(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digit = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digit = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string a = in.ConsumeRandomLengthString(200);
    const std::string b = in.ConsumeRemainingBytesAsString();
    const double va = vt::ReadVersionNumber(a), vb = vt::ReadVersionNumber(b);

    VT_FUZZ_CHECK(std::isfinite(va) && std::isfinite(vb));
    VT_FUZZ_CHECK(!vt::IsNewerVersion(a, a));
    VT_FUZZ_CHECK(!(vt::IsNewerVersion(a, b) && vt::IsNewerVersion(b, a)));
    VT_FUZZ_CHECK(vt::IsNewerVersion(a, b) == (va > vb));
    // Blanks before the number and text after a complete one change nothing.
    VT_FUZZ_CHECK(vt::ReadVersionNumber(" \t" + a) == va);
    VT_FUZZ_CHECK(vt::ReadVersionNumber(a + "x" + b) == va || a.empty() || a.back() == '+' || a.back() == '-' ||
                  a.back() == 'e' || a.back() == 'E' || a.back() == '.' || (a.back() >= '\t' && a.back() <= '\r') ||
                  a.back() == ' ');
    // Never hexadecimal, infinity or not-a-number.
    for (const char* word : {"0x", "0X", "inf", "nan", "INF", "NaN", "infinity"}) {
        const double v = vt::ReadVersionNumber(word + b);
        VT_FUZZ_CHECK(v == 0.0);
    }
    // Plain decimals read as the C library reads them (within its range).
    if (PlainDecimal(a) && a.size() < 120) {
        const double c = std::strtod(a.c_str(), nullptr);
        if (std::isfinite(c)) VT_FUZZ_CHECK(c == va);
    }
    return 0;
}
