#pragma once
// The kinds of recurrence, numbered as the reminder file stores them
// (ReminderItem::repeat). Which days each falls on: Occurrences.h.
#include <cstdint>

namespace vt {

enum class RepeatKind : std::int32_t {
    Once = 0,
    Daily = 1,
    Workdays = 2,
    Weekends = 3,
    Weekly = 4,
    Monthly = 5,
    Yearly = 6,
    // Added later; a copy of the program from before them takes them as it
    // takes any unknown kind.
    StatutoryWorkdays = 7,  // working days by the official holiday schedule
    LunarYearly = 8,        // the lunar month and day of its date, every year
};

}  // namespace vt
