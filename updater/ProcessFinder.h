#pragma once
// Finding the running program that holds a file about to be replaced, and
// ending it.
#include <cstdint>
#include <functional>
#include <string>

#include "shared/core/Gbk.h"
#include "updater/Processes.h"

namespace vt {

// How long a program asked to end is given before it is terminated, and how
// often the updater's window takes its messages meanwhile.
constexpr unsigned kEndProgramWaitMs = 10000;
constexpr unsigned kEndProgramSliceMs = 100;
constexpr unsigned kWaitAfterTerminateMs = 1000;

// Compares two executable names in code page 936: a double-byte character is
// one character and must match byte for byte (its trail byte may look like
// a Latin letter but is never case-folded); single-byte Latin letters match
// without regard to case.
bool SameExeName(const Gbk& a, const Gbk& b);

// The id of the first listed process with that executable name, or 0.
std::uint32_t FindProcessByName(IProcesses& processes, const Gbk& name);

enum class EndProgramResult {
    EndedItself,  // it ran its own exit within the wait
    Terminated,   // it did not: terminated, then a moment given to let go of its files
    NotOpened,    // it did not, and could not be opened to terminate it
};

// Asks the program to end as its user would: the assistant through its exit
// command, any other program by closing its windows. Only a program that
// has not ended after kEndProgramWaitMs is terminated. keepLive runs between
// the waits, every kEndProgramSliceMs, so that the caller's window stays live.
EndProgramResult EndProgram(IProcesses& processes, std::uint32_t pid, const std::function<void()>& keepLive);

}  // namespace vt
