#pragma once
// Windows looked up from outside with nothing of the programs linked in:
// the Windows tests use these, and so does the installer test's probe, a
// program of its own that runs inside the prefix under test.
#include <windows.h>

#include <functional>

namespace vt::test {

// The first visible dialog-class window (#32770: message boxes and dialogs
// alike) that wanted accepts, among the top-level windows of thread, or of
// every thread when thread is 0.
HWND FindDialogWindow(DWORD thread, const std::function<bool(HWND)>& wanted);

// Whether the shell holds the assistant's tray icon for this window.
bool HasTrayIcon(HWND owner);

}  // namespace vt::test
