#include "shared/win/Control.h"

#include <commctrl.h>

namespace vt::win {
namespace {
constexpr UINT_PTR kSubclassId = 0x5654;  // "VT"
const wchar_t kObjectProp[] = L"vt.Control";
}  // namespace

Control::~Control() { Detach(); }

bool Control::Attach(HWND parent, int id) {
    Detach();
    HWND hwnd = GetDlgItem(parent, id);
    if (!hwnd) return false;
    if (!SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    SetPropW(hwnd, kObjectProp, this);
    m_hWnd = hwnd;
    return true;
}

void Control::Detach() {
    if (!m_hWnd) return;
    if (IsWindow(m_hWnd)) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
        RemovePropW(m_hWnd, kObjectProp);
    }
    m_hWnd = nullptr;
}

Control* Control::FromHandle(HWND hwnd) { return hwnd ? static_cast<Control*>(GetPropW(hwnd, kObjectProp)) : nullptr; }

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    LRESULT result = 0;
    if (self->OnMessage(msg, wParam, lParam, result)) return result;
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        RemovePropW(hwnd, kObjectProp);
        self->m_hWnd = nullptr;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace vt::win
