#pragma once
// Shutting down, restarting and logging off: the order of the steps, with
// the system calls and the window's part behind two small interfaces.
#include <cstdint>

#include "assistant/settings/EndAction.h"

namespace vt {

// ExitWindowsEx flags. Each carries EWX_FORCE (4): a program that holds
// the logoff up would otherwise leave the user with the assistant gone.
constexpr std::uint32_t kExitShutDown = 0x0C;      // force, power off
constexpr std::uint32_t kExitRestart = 0x06;       // reboot, force
constexpr std::uint32_t kExitLogOff = 0x04;        // logoff (0), force
constexpr std::uint32_t kExitCountdownEnd = 0x0D;  // shutdown, force, power off

// SetThreadExecutionState flags. While a countdown runs the computer must not
// fall asleep by itself (the countdown would freeze with it); the display
// may still turn off.
constexpr std::uint32_t kStayAwake = 0x80000001;  // ES_CONTINUOUS | ES_SYSTEM_REQUIRED
constexpr std::uint32_t kMaySleep = 0x80000000;   // ES_CONTINUOUS: the request cleared
inline std::uint32_t ExecutionStateFor(bool countdownRunning) { return countdownRunning ? kStayAwake : kMaySleep; }

class IPowerActions {
public:
    virtual ~IPowerActions() = default;
    // Enables SeShutdownPrivilege on the process token; a failure only
    // reaches the debug output, ExitWindows then simply fails.
    virtual void EnableShutdownPrivilege() = 0;
    virtual void ExitSession(std::uint32_t flags) = 0;
    // SetThreadExecutionState on the user-interface thread; kStayAwake or kMaySleep.
    virtual void SetExecutionState(std::uint32_t flags) = 0;
    // SetSuspendState: sleep, or hibernate. Needs the shutdown privilege.
    // Returns once the computer is awake again (or at once when refused).
    virtual void Suspend(bool hibernate) = 0;
    // IsPwrHibernateAllowed: hibernation is switched on and possible here.
    virtual bool CanHibernate() = 0;
    // LockWorkStation: the logon goes on behind the lock screen.
    virtual void Lock() = 0;
};

// The main window's side of leaving the program.
class IExitHost {
public:
    virtual ~IExitHost() = default;
    virtual void PrepareExit() = 0;     // settings, reminders and tray icon put away
    virtual void StopTimer() = 0;       // the countdown's timer
    virtual void Quit() = 0;            // ends the message loop
    virtual void SaveReminders() = 0;   // Notify.dat written, everything left running
    virtual void RearmCountdown() = 0;  // stopped, with its last count, ready to start again
};

// A power command of the tray menu. The assistant quits without waiting:
// whether Windows follows through is not its concern.
void RunPowerCommand(IPowerActions& power, IExitHost& host, std::uint32_t flags);

// Sleep or hibernate from the tray menu. The assistant runs on; the
// reminders are on disk first, in case the computer never wakes (a flat
// battery during sleep, a failed resume from hibernation).
void RunSuspend(IPowerActions& power, IExitHost& host, bool hibernate);

// The countdown has run out: its request to stay awake is cleared, then
// the action. Shut down, restart and log off end the program; after sleep
// and hibernate the countdown is stopped and ready again.
void EndCountdown(IPowerActions& power, IExitHost& host, EndAction action = EndAction::ShutDown);

// A power reminder's last minute has run out: the action as the countdown's
// end runs it, the countdown itself left as it is (it may run on to an end of
// its own after sleep or hibernate).
void RunEndAction(IPowerActions& power, IExitHost& host, EndAction action);

}  // namespace vt
