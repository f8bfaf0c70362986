#pragma once
// The one way to let a Win32 failure pass on purpose: the call and its error
// go to the debug output (DebugView and debuggers show it), nothing else
// happens. Used where the program carries on as well as it can either way.
#include <windows.h>

namespace vt::win {

// error: GetLastError() of the failed call, or the code it returned.
void NoteIgnored(const wchar_t* call, unsigned long error = GetLastError());

}  // namespace vt::win
