#pragma once
// The moment now, as local broken-down time. Reminders and the update
// schedule work on this; the Windows layer fills it from GetLocalTime.

namespace vt {

struct LocalTime {
    int year = 1970;
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int weekday = 4;  // 0 = Sunday .. 6 = Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual LocalTime Now() const = 0;
};

}  // namespace vt
