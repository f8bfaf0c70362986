#pragma once
// The running processes through a toolhelp snapshot and their top-level
// windows, for ending a program that holds a file the updater replaces.
#include "updater/Processes.h"

namespace vt::win {

class WinProcesses : public IProcesses {
public:
    // Executable names come as code page 936 bytes, as the descriptions
    // write them.
    std::vector<ProcessEntry> List() override;
    bool HasWindowTitled(std::uint32_t pid, const std::string& title) override;
    void SendCommand(std::uint32_t pid, const std::string& title, int command) override;
    void PostClose(std::uint32_t pid) override;
    bool WaitExit(std::uint32_t pid, unsigned milliseconds) override;
    bool Terminate(std::uint32_t pid) override;
    void Sleep(unsigned milliseconds) override;
};

}  // namespace vt::win
