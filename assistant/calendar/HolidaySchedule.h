#pragma once
// Which days are working days in China. Offices follow the State Council's
// yearly schedule, not Monday to Friday: statutory holidays fall on weekdays
// and some weekend days are worked instead (调休上班). The schedule is data,
// so that next year's can be shipped without rebuilding the assistant. Its
// file (Holidays.txt, UTF-8) reads:
//   # source ...        comment lines, naming the notices the dates come from
//   years 2004-2026     the years the file covers
//   2026-10-01 off      a holiday
//   2026-10-10 work     a weekend day that is worked
// A covered year has a normal day (Monday to Friday worked) where no line
// names the date. A year the file does not cover falls back to Monday to
// Friday, and so does every year of a missing file or one without a valid
// years line. A line that reads as none of these is skipped and counted.
#include <cstdint>
#include <string>
#include <vector>

#include "assistant/calendar/Occurrences.h"
#include "shared/core/FileSystem.h"

namespace vt {

class HolidaySchedule : public IWorkingDays {
public:
    HolidaySchedule() = default;  // covers no year

    static HolidaySchedule Parse(const std::string& text);

    bool Covers(int year) const override { return year >= m_firstYear && year <= m_lastYear; }
    // The working day test on the schedule where it covers the year, on
    // Monday to Friday elsewhere.
    bool IsWorkday(int year, int month, int day) const;
    bool IsWorkingDay(const CalendarDate& date) const override { return IsWorkday(date.year, date.month, date.day); }

    // 0 and -1 when no year is covered.
    int FirstYear() const { return m_firstYear; }
    int LastYear() const { return m_lastYear; }
    // Lines that were neither comments, blank, the years line nor a date.
    int SkippedLines() const { return m_skipped; }
    // Dates named in the covered years.
    int DateCount() const { return static_cast<int>(m_days.size()); }

private:
    struct Day {
        std::int32_t key;  // yyyymmdd
        bool work;
    };

    int m_firstYear = 0;
    int m_lastYear = -1;
    int m_skipped = 0;
    std::vector<Day> m_days;  // sorted by key, one per date
};

// The schedule in a file; an empty one (covering no year) when it cannot be read.
HolidaySchedule LoadHolidaySchedule(IFileSystem& files, const std::string& path);

}  // namespace vt
