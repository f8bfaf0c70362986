#pragma once
// The running processes, as both programs look at them: the updater for the
// ones to end before a replacement, the assistant for a program whose exit
// it waits for. One query of the system's process table: cheaper than a
// toolhelp snapshot, which copies the same table into a section first.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt::win {

struct ListedProcess {
    std::uint32_t id = 0;
    std::wstring exeName;  // the executable's file name; empty for the idle process
};

// Every running process; nothing when the system could not list them.
std::optional<std::vector<ListedProcess>> ListProcesses();

}  // namespace vt::win
