#include "shared/win/CaptionFit.h"

#include "shared/win/DpiIcons.h"
#include "shared/win/Handles.h"

namespace vt::win {
namespace {

using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// The caption fonts at dpi: Windows 10 1607 and later say so themselves;
// before, the metrics are those of the system DPI and are scaled from it.
NONCLIENTMETRICSW MetricsForDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    static const auto forDpi = reinterpret_cast<SystemParametersInfoForDpiFn>(
        reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "SystemParametersInfoForDpi") : nullptr));
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const int system = static_cast<int>(SystemDpi());
    if (system != static_cast<int>(dpi)) {
        metrics.lfCaptionFont.lfHeight = MulDiv(metrics.lfCaptionFont.lfHeight, static_cast<int>(dpi), system);
        metrics.lfSmCaptionFont.lfHeight = MulDiv(metrics.lfSmCaptionFont.lfHeight, static_cast<int>(dpi), system);
    }
    return metrics;
}

int TextWidth(const LOGFONTW& logFont, const std::wstring& text) {
    FontHandle font(CreateFontIndirectW(&logFont));
    const WindowDc screen(nullptr);
    if (!screen) return 0;
    const Selection selected(screen.Get(), font ? static_cast<HGDIOBJ>(font.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {};
    GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

std::wstring CaptionOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

int CaptionFitWidth(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION) return 0;
    const UINT dpi = DpiOf(window);
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const NONCLIENTMETRICSW metrics = MetricsForDpi(dpi);

    RECT outer = {}, client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int frame = (outer.right - outer.left) - client.right;

    int buttons = 0;
    if (style & WS_SYSMENU) buttons = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !tool ? 3 : 1;
    const int buttonWidth = tool ? MetricForDpi(SM_CXSMSIZE, dpi) : MetricForDpi(SM_CXSIZE, dpi);
    const int icon = !tool && (style & WS_SYSMENU) ? MetricForDpi(SM_CXSMICON, dpi) + ScaleForDpi(4, dpi) : 0;
    const int text = TextWidth(tool ? metrics.lfSmCaptionFont : metrics.lfCaptionFont, CaptionOf(window));
    // The gaps Windows leaves before the text and between it and the buttons.
    const int gaps = ScaleForDpi(12, dpi);
    return frame + icon + text + gaps + buttons * buttonWidth;
}

int FitCaption(HWND window) {
    RECT outer = {};
    if (!GetWindowRect(window, &outer)) return 0;
    const int width = outer.right - outer.left;
    const int grow = CaptionFitWidth(window) - width;
    if (grow <= 0) return 0;
    SetWindowPos(window, nullptr, 0, 0, width + grow, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Direct children only: a control's own parts move with it.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc = {};
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
        SetWindowPos(child, nullptr, rc.left + grow / 2, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return grow;
}

}  // namespace vt::win
