// libFuzzer target: the countdown form's minutes box on arbitrary text,
// against a reading written from the rule's own description.
#include <cstdint>
#include <string>

#include "assistant/mainwnd/MinutesParser.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vt::MinutesParse;
using vt::MinutesRead;

MinutesParse Expected(const std::string& box) {
    std::string t = box.substr(0, vt::kMinutesTextLimit);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!t.empty() && blank(t.back())) t.pop_back();
    std::size_t i = 0;
    while (i < t.size() && blank(t[i])) ++i;
    t.erase(0, i);
    MinutesParse out;
    const bool plus = !t.empty() && t[0] == '+';
    const std::string digits = t.substr(plus ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return out;
    std::uint64_t value = 0;
    for (char c : digits) value = value > UINT32_MAX ? value : value * 10 + static_cast<unsigned>(c - '0');
    if (value > UINT32_MAX) value = UINT32_MAX;
    if (value == 0 && plus) return out;  // a zero must be written as one
    out.value = static_cast<std::uint32_t>(value);
    out.result = value >= vt::kMinMinutes && value <= vt::kMaxMinutes ? MinutesRead::Ok : MinutesRead::OutOfRange;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string box(reinterpret_cast<const char*>(data), size);
    const MinutesParse got = vt::ParseMinutes(box);
    const MinutesParse want = Expected(box);
    VT_FUZZ_CHECK(got.result == want.result);
    VT_FUZZ_CHECK(got.value == want.value);
    VT_FUZZ_CHECK(got.result != MinutesRead::NotANumber || got.value == 0);
    VT_FUZZ_CHECK((got.result == MinutesRead::Ok) == (got.value >= vt::kMinMinutes && got.value <= vt::kMaxMinutes));
    // Only the box's first characters count.
    if (box.size() >= vt::kMinutesTextLimit) {
        const MinutesParse longer = vt::ParseMinutes(box + "9x");
        VT_FUZZ_CHECK(longer.result == got.result && longer.value == got.value);
    }
    return 0;
}
