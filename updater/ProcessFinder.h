#pragma once
// Finding the running program that holds a file about to be replaced.
#include <cstdint>
#include "shared/core/Gbk.h"
#include "updater/Processes.h"

namespace vt {

// Compares two executable names in code page 936: a double-byte character is
// one character and must match byte for byte (its trail byte may look like
// a Latin letter but is never case-folded); single-byte Latin letters match
// without regard to case.
bool SameExeName(const Gbk& a, const Gbk& b);

// The id of the first listed process with that executable name, or 0.
std::uint32_t FindProcessByName(IProcesses& processes, const Gbk& name);

}  // namespace vt
