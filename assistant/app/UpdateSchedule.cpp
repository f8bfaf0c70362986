#include "assistant/app/UpdateSchedule.h"

#include <utility>

namespace vt {
namespace {

constexpr char kMain[] = "Main";

}  // namespace

UpdateSchedule::UpdateSchedule(IProfile& updateIni, const IClock& clock, IShell& shell, std::string appDir)
    : m_ini(updateIni), m_clock(clock), m_shell(shell), m_strAppDir(std::move(appDir)) {}

bool UpdateSchedule::IsDueDay(int referenceDay, int today) {
    // In 64 bits: `Day` comes from a file and may be anything an int holds.
    const long long distance = static_cast<long long>(referenceDay) - today;
    return distance % 3 == 0;
}

void UpdateSchedule::ScheduleUpdate(bool atStartup) {
    if (!atStartup) {
        m_ini.WriteString(kMain, "LocalMode", "0");
        LaunchUpdater();
        return;
    }
    m_ini.WriteString(kMain, "LocalMode", "1");
    if (!IsDueDay(m_ini.GetInt(kMain, "Day", 1), m_clock.Now().day)) {
        // Re-arms the check for the next due day.
        m_ini.WriteString(kMain, "Updated", "0");
        return;
    }
    // Without the key nothing starts: only a start on a day that is not due
    // arms the check, so one run of due days (the 31st and the 1st) launches once.
    if (m_ini.GetInt(kMain, "Updated", 1) == 0) {
        LaunchUpdater();
        m_ini.WriteString(kMain, "Updated", "1");
    }
}

void UpdateSchedule::LaunchUpdater() {
    m_shell.Open(m_strAppDir + kUpdateBatchName, "", m_strAppDir, ShowMode::Hidden);
}

}  // namespace vt
