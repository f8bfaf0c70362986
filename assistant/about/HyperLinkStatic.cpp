#include "assistant/about/HyperLinkStatic.h"

namespace vt {

HyperLinkStatic::HyperLinkStatic() : m_cursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))) {}  // IDC_HAND

HBRUSH HyperLinkStatic::OnReflectCtlColor(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool HyperLinkStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_SETCURSOR && m_cursor) {
        SetCursor(m_cursor);
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace vt
