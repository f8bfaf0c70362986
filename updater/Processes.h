#pragma once
// The running processes, as far as the updater needs them to end a program
// that holds a file it replaces. The Windows side implements it with a
// toolhelp snapshot, OpenProcess/TerminateProcess and Sleep; the tests with a
// list.
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
    // True when the process could be opened for termination (it was then
    // asked to end with exit code 0); false when it could not be opened.
    virtual bool Terminate(std::uint32_t pid) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace vt
