#pragma once
// The wizard's message pump during a transfer, shared with the download
// benchmark so that what is measured is what the wizard does.
#include <windows.h>

namespace vt::win {

// Takes up to `attempts` waiting messages, translates and dispatches each;
// with a dialog, its keyboard handling comes first. Stops early once the
// queue is empty. A WM_QUIT taken is posted again for the loop that owns it.
void PumpWaitingMessages(HWND dialog, int attempts);

}  // namespace vt::win
