#pragma once
// Pictures at the display scale of the monitor a window is on.
//
// The programs are per-monitor aware (manifest): Windows no longer stretches
// their windows, so icons and bitmaps must be picked at the window's DPI,
// and again when the window moves to a monitor with another scale
// (WM_DPICHANGED). The functions of Windows 10 that tell a window's DPI are
// looked up at run time; on older systems every window has the system DPI.
#include <windows.h>

#include "shared/win/Handles.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vt::win {

constexpr UINT kDefaultDpi = 96;

// The DPI of the monitor the window is on (Windows 10 1607 and later), else
// the system DPI.
UINT DpiOf(HWND window);
// The DPI the system started with (the primary monitor's); the taskbar and
// its notification area are drawn at it.
UINT SystemDpi();
// A length in pixels at 96 DPI, at dpi.
int ScaleForDpi(int pixelsAt96, UINT dpi);
// A system metric (SM_CXICON...) at dpi.
int MetricForDpi(int index, UINT dpi);
// The side of a notification area icon: the small icon size at the DPI of
// the taskbar (of the system when there is none).
int TrayIconSize();
// Icon id of the program's resources drawn size x size pixels: the image of
// that size, or the nearest one scaled. Null when there is no such icon.
HICON LoadIconOfSize(UINT id, int size);

// The big and small icons of a window (caption, Alt+Tab, taskbar) at the DPI
// of its monitor. The window shows them; this object owns them.
class WindowIcons {
public:
    WindowIcons() = default;
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // Loads icon id at dpi (0: the window's DPI) and gives both sizes to the
    // window; the ones given before are destroyed once replaced.
    void Apply(HWND window, UINT id, UINT dpi = 0);
    HICON Big() const { return m_big.Get(); }
    HICON Small() const { return m_small.Get(); }

private:
    IconHandle m_big;
    IconHandle m_small;
};

// WM_DPICHANGED: the window takes the rectangle Windows suggests for the new
// scale (lParam), so it keeps its place and grows or shrinks with it.
void MoveToSuggestedRect(HWND window, LPARAM suggested);
// The new DPI a WM_DPICHANGED carries.
inline UINT DpiOfMessage(WPARAM wParam) { return HIWORD(wParam); }

}  // namespace vt::win
