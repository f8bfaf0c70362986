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

void RunSuspend(IPowerActions& power, IExitHost& host, bool hibernate) {
    power.EnableShutdownPrivilege();
    host.SaveReminders();
    power.Suspend(hibernate);
}

void EndCountdown(IPowerActions& power, IExitHost& host, EndAction action) {
    power.SetExecutionState(kMaySleep);
    // Stopped before the computer goes: it wakes to a countdown that is not
    // already over.
    if (!EndsLogon(action)) host.RearmCountdown();
    RunEndAction(power, host, action);
}

void RunEndAction(IPowerActions& power, IExitHost& host, EndAction action) {
    if (!EndsLogon(action)) {
        RunSuspend(power, host, action == EndAction::Hibernate);
        return;
    }
    std::uint32_t flags = kExitCountdownEnd;
    if (action == EndAction::Restart) flags = kExitRestart;
    if (action == EndAction::LogOff) flags = kExitLogOff;
    power.EnableShutdownPrivilege();
    host.PrepareExit();
    power.ExitSession(flags);
    host.StopTimer();
    host.Quit();
}

}  // namespace vt
