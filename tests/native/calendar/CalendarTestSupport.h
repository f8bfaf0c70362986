#pragma once
// What the date model's tests share: rule fields written as a reminder
// record would hold them, and the stand-ins of tests/support.
#include <cstdint>

#include "assistant/calendar/Occurrences.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/MemoryFileSystem.h"

namespace vt::test {

inline RuleFields Fields(RepeatKind kind, std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                         std::int32_t minute) {
    RuleFields f;
    f.repeat = static_cast<std::int32_t>(kind);
    f.year = year;
    f.month = month;
    f.day = day;
    f.hour = hour;
    f.minute = minute;
    return f;
}

}  // namespace vt::test
