#include "assistant/reminders/SelectAllEdit.h"

#include <commctrl.h>

namespace vt {

bool SelectAllEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_LBUTTONDBLCLK) return false;
    // The edit's own double click first (it selects a word), then all of it.
    result = DefSubclassProc(Hwnd(), msg, wParam, lParam);
    SendMessageW(Hwnd(), EM_SETSEL, 0, -1);
    SendMessageW(Hwnd(), EM_SCROLLCARET, 0, 0);
    return true;
}

}  // namespace vt
