#include "shared/win/DpiIcons.h"

#include "shared/win/Dialog.h"

namespace vt::win {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// user32 is loaded by every program with windows; these exist from
// Windows 10 1607 on.
template <typename Fn>
Fn User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC proc = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

UINT ScreenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT SystemDpi() {
    static const auto forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    UINT dpi = forSystem ? forSystem() : 0;
    return dpi ? dpi : ScreenDpi();
}

UINT DpiOf(HWND window) {
    static const auto forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi ? dpi : SystemDpi();
}

int ScaleForDpi(int pixelsAt96, UINT dpi) { return MulDiv(pixelsAt96, static_cast<int>(dpi), kDefaultDpi); }

int MetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    // Older systems: the metrics are those of the system DPI.
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

int TrayIconSize() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return MetricForDpi(SM_CXSMICON, taskbar ? DpiOf(taskbar) : SystemDpi());
}

HICON LoadIconOfSize(UINT id, int size) {
    return static_cast<HICON>(
        LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void WindowIcons::Apply(HWND window, UINT id, UINT dpi) {
    if (!dpi) dpi = DpiOf(window);
    HICON big = LoadIconOfSize(id, MetricForDpi(SM_CXICON, dpi));
    HICON small = LoadIconOfSize(id, MetricForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    m_big.Reset(big);
    m_small.Reset(small);
}

void MoveToSuggestedRect(HWND window, LPARAM suggested) {
    const RECT* rc = reinterpret_cast<const RECT*>(suggested);
    if (!rc) return;
    SetWindowPos(window, nullptr, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vt::win
