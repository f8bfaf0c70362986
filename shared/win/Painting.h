#pragma once
#include <windows.h>

namespace vt::win {

// While the window is minimised, paints its icon centred in the client area
// (as a minimised dialog shows it) and returns true; otherwise returns false
// and leaves the painting to the default handling.
bool PaintMinimizedIcon(HWND hwnd, HICON icon);

}  // namespace vt::win
