#pragma once
// Stand-ins for the clock and the shell, usable on both platforms: a clock
// that tells whatever time the test set, and a shell that notes what it was
// asked to open instead of opening it.
#include <string>
#include <vector>

#include "assistant/calendar/Calendar.h"
#include "shared/core/Clock.h"
#include "shared/core/Shell.h"

namespace vt::test {

class FakeClock : public IClock {
public:
    LocalTime Now() const override { return now; }

    // The weekday follows the date, so a test cannot set a Monday that
    // falls on a Sunday (needs the calendar's WeekdayOf at link time).
    void Set(int year, int month, int day, int hour, int minute, int second = 0) {
        now.year = year;
        now.month = month;
        now.day = day;
        now.weekday = WeekdayOf(year, month, day);
        now.hour = hour;
        now.minute = minute;
        now.second = second;
    }

    LocalTime now;
};

// The clock's reading at a moment, with its weekday.
inline LocalTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    FakeClock clock;
    clock.Set(year, month, day, hour, minute, second);
    return clock.now;
}

class RecordingShell : public IShell {
public:
    struct Launch {
        std::string file, parameters, directory;
        ShowMode show;
    };

    bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
              ShowMode show) override {
        launches.push_back({file, parameters, directory, show});
        opened.push_back(file);
        return result;
    }

    std::vector<Launch> launches;
    std::vector<std::string> opened;  // the files alone: all most tests look at
    bool result = true;               // what Open reports
};

}  // namespace vt::test
