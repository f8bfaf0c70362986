#pragma once
// Shutting down, restarting and logging off: the order of the steps, with
// the system calls and the window's part behind two small interfaces.
#include <cstdint>

namespace vt {

// ExitWindowsEx flags. Each carries EWX_FORCE (4): a program that holds
// the logoff up would otherwise leave the user with the assistant gone.
constexpr std::uint32_t kExitShutDown = 0x0C;      // force, power off
constexpr std::uint32_t kExitRestart = 0x06;       // reboot, force
constexpr std::uint32_t kExitLogOff = 0x04;        // logoff (0), force
constexpr std::uint32_t kExitCountdownEnd = 0x0D;  // shutdown, force, power off

class IPowerActions {
public:
    virtual ~IPowerActions() = default;
    // Enables SeShutdownPrivilege on the process token; a failure only
    // reaches the debug output, ExitWindows then simply fails.
    virtual void EnableShutdownPrivilege() = 0;
    virtual void ExitSession(std::uint32_t flags) = 0;
};

// The main window's side of leaving the program.
class IExitHost {
public:
    virtual ~IExitHost() = default;
    virtual void PrepareExit() = 0;  // settings, reminders and tray icon put away
    virtual void StopTimer() = 0;    // the countdown's timer
    virtual void Quit() = 0;         // ends the message loop
};

// A power command of the tray menu. The assistant quits without waiting:
// whether Windows follows through is not its concern.
void RunPowerCommand(IPowerActions& power, IExitHost& host, std::uint32_t flags);

// The countdown has run out: shut down and power off.
void EndCountdown(IPowerActions& power, IExitHost& host);

}  // namespace vt
