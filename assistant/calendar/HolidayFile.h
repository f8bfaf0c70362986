#pragma once
// The holiday schedule of the running assistant. Holidays.txt lies beside
// the program and the updater may replace it while the assistant runs (next
// year's schedule is published as a component of its own), so the file is
// read at start-up and looked at again now and then: a changed file takes
// effect without a restart. A file that cannot be read covers no year.
//
// It also keeps, for the run, which uncovered years the user has been told
// about, so each year is told once.
#include <set>
#include <string>
#include <vector>

#include "assistant/calendar/HolidaySchedule.h"
#include "shared/core/FileSystem.h"

namespace vt {

class HolidayFile {
public:
    HolidayFile(IFileSystem& fs, std::string path);

    // Reads the file; true when what it holds differs from the last read
    // (the first read always counts as a change). The schedule object stays
    // the same one, so whoever holds it sees the new contents.
    bool Refresh();
    const HolidaySchedule& Schedule() const { return m_schedule; }
    const std::string& Path() const { return m_strPath; }

    // True the first time in this run that `year` is asked about.
    bool FirstTimeUncovered(int year) { return m_told.insert(year).second; }

private:
    IFileSystem& m_fs;
    std::string m_strPath;
    bool m_bRead = false;
    bool m_bPresent = false;
    std::vector<unsigned char> m_bytes;
    HolidaySchedule m_schedule;
    std::set<int> m_told;
};

// Holidays.txt in the folder of another file of the program (Notify.dat).
std::string HolidaysPathBeside(const std::string& siblingPath);

}  // namespace vt
