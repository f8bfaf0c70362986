#pragma once
// A test program started with kStandInArgument stands for a running program
// (the assistant an update has to end, a program in the updater's way): it
// does nothing but wait to be ended, and after a minute exits by itself with
// code 3. The check runs as the program starts, before any test.

namespace vt::test {

extern const wchar_t kStandInArgument[];

}  // namespace vt::test
