#pragma once
// Reading the minutes box of the countdown form.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vt {

// The values the minutes box accepts without complaint.
constexpr std::uint32_t kMinMinutes = 1;
constexpr std::uint32_t kMaxMinutes = 65535;

// Only this many characters of the box are looked at.
constexpr std::size_t kMinutesTextLimit = 31;

enum class MinutesRead {
    Ok,          // a number from kMinMinutes to kMaxMinutes
    NotANumber,  // nothing usable; the caller keeps its old value
    OutOfRange,  // a number, but outside the range; the caller still takes it
};

struct MinutesParse {
    MinutesRead result = MinutesRead::NotANumber;
    std::uint32_t value = 0;  // the number read; 0 when NotANumber
};

// Reads the box's text (UTF-8): blanks and tabs around an unsigned decimal
// number with an optional "+"; a number too large for 32 bits reads as
// 4294967295. A zero that was not written starting with "0" ("", "+0",
// "abc") is not a number.
MinutesParse ParseMinutes(const std::string& text);

}  // namespace vt
