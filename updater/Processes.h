#pragma once
// The running processes, as far as the updater needs them to end a program
// that holds a file it replaces. The Windows side implements it with a
// toolhelp snapshot, the processes' top-level windows, OpenProcess with
// WaitForSingleObject/TerminateProcess and Sleep; the tests with a list.
#include <cstdint>
#include <vector>

#include "shared/core/Gbk.h"

namespace vt {

struct ProcessEntry {
    std::uint32_t pid = 0;
    Gbk exeName;  // the executable's file name
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // In the order the system lists them.
    virtual std::vector<ProcessEntry> List() = 0;
    // Whether the process has a top-level window (shown or hidden) with
    // exactly this title, UTF-8.
    virtual bool HasWindowTitled(std::uint32_t pid, const std::string& title) = 0;
    // Sends WM_COMMAND with this command id to the process's top-level
    // windows with that title; waits only a moment for them to take it.
    virtual void SendCommand(std::uint32_t pid, const std::string& title, int command) = 0;
    // Posts WM_CLOSE to every top-level window of the process.
    virtual void PostClose(std::uint32_t pid) = 0;
    // Waits up to `milliseconds` for the process to end; true once it has
    // ended (or no longer exists).
    virtual bool WaitExit(std::uint32_t pid, unsigned milliseconds) = 0;
    // True when the process could be opened for termination (it was then
    // asked to end with exit code 0); false when it could not be opened.
    virtual bool Terminate(std::uint32_t pid) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace vt
