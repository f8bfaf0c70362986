#include "assistant/mainwnd/PowerActions.h"

namespace vt {

// The privilege comes first and PrepareExit before ExitWindows: with
// EWX_FORCE Windows does not ask the assistant again, so the reminders and
// settings must be on disk before the system is told to go.

void RunPowerCommand(IPowerActions& power, IExitHost& host, std::uint32_t flags) {
    power.EnableShutdownPrivilege();
    host.PrepareExit();
    power.ExitSession(flags);
    host.Quit();
}

void EndCountdown(IPowerActions& power, IExitHost& host) {
    power.SetExecutionState(kMaySleep);
    power.EnableShutdownPrivilege();
    host.PrepareExit();
    power.ExitSession(kExitCountdownEnd);
    host.StopTimer();
    host.Quit();
}

}  // namespace vt
