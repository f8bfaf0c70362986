#pragma once
// The assistant's whole share of updating: it tells the updater, through the
// shared description update.ini, whether it was started automatically, and
// starts it through update.bat beside the programs: at every start when the
// three-day schedule says a check is due, and always at the user's request.
// Nothing is kept in memory; update.ini holds all state.
#include <string>

#include "shared/core/Clock.h"
#include "shared/core/Profile.h"
#include "shared/core/Shell.h"

namespace vt {

constexpr char kUpdateIniName[] = "update.ini";
constexpr char kUpdateBatchName[] = "update.bat";

class UpdateSchedule {
public:
    // updateIni: the application directory's update.ini; appDir: the
    // application directory, UTF-8, ending in its separator.
    UpdateSchedule(IProfile& updateIni, const IClock& clock, IShell& shell, std::string appDir);

    // atStartup true: a start of the assistant; false: the tray command.
    // Write failures and a batch file that cannot be started go unreported.
    void ScheduleUpdate(bool atStartup);

    // Due days lie a multiple of three days from the reference day `Day`,
    // counted on the day of the month alone.
    static bool IsDueDay(int referenceDay, int today);

private:
    void LaunchUpdater();

    IProfile& m_ini;
    const IClock& m_clock;
    IShell& m_shell;
    std::string m_strAppDir;
};

}  // namespace vt
