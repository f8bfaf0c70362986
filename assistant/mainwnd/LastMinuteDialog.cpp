#include "assistant/mainwnd/LastMinuteDialog.h"

#include <windowsx.h>

#include "assistant/mainwnd/LastMinute.h"
#include "resource.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"

namespace vt {
namespace {

constexpr UINT_PTR kNoFocusSubclass = 1;

bool CursorInside(HWND button, LPARAM lParam) {
    RECT rc = {};
    GetClientRect(button, &rc);
    const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rc, at) != FALSE;
}

// A push button that is pressed without taking the focus. A button's own
// click puts the focus on it, and focus on a window activates its top-level
// window: the keyboard would leave the program the user types in. So the
// press is followed here with the mouse captured, and the click reported as
// the button would report it.
LRESULT CALLBACK NoFocusButtonProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(button);
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == button) SendMessageW(button, BM_SETSTATE, CursorInside(button, lParam), 0);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == button) {
            const bool inside = CursorInside(button, lParam);
            ReleaseCapture();
            SendMessageW(button, BM_SETSTATE, FALSE, 0);
            if (inside)
                SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
        }
        return 0;
    case WM_CAPTURECHANGED:
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(button, NoFocusButtonProc, kNoFocusSubclass);
        break;
    }
    return DefSubclassProc(button, msg, wParam, lParam);
}

}  // namespace

LastMinuteDialog::LastMinuteDialog(ILastMinuteHost& host) : Dialog(IDD_LAST_MINUTE), m_host(host) {}

BOOL LastMinuteDialog::OnInitDialog() {
    m_font.Apply(Hwnd());
    MakeSecondsFont();
    SetItemText(IDC_LM_REASON, L"");
    for (int id : {IDC_LM_POSTPONE, IDC_LM_CANCEL, IDC_LM_ACT_NOW})
        if (!SetWindowSubclass(Item(id), NoFocusButtonProc, kNoFocusSubclass, 0))
            win::NoteIgnored(L"SetWindowSubclass");
    // FALSE: the dialog manager would otherwise put the focus on the first
    // button, and that activates the (still hidden) window.
    return FALSE;
}

void LastMinuteDialog::MakeSecondsFont() {
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(Item(IDC_LM_NOTE), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    if (!dialogFont || !GetObjectW(dialogFont, sizeof lf, &lf)) {
        win::NoteIgnored(L"GetObjectW");
        return;
    }
    lf.lfHeight *= 3;
    lf.lfWidth = 0;
    lf.lfWeight = FW_BOLD;
    m_secondsFont.Reset(CreateFontIndirectW(&lf));
    if (m_secondsFont)
        SendMessageW(Item(IDC_LM_SECONDS), WM_SETFONT, reinterpret_cast<WPARAM>(m_secondsFont.Get()), TRUE);
}

// The system has laid the window out again at the new scale; the large
// font is ours and follows the dialog's.
void LastMinuteDialog::OnDpiChanged(UINT) { MakeSecondsFont(); }

void LastMinuteDialog::Show(EndAction action, int secondsLeft, const std::wstring& reason) {
    if (!Hwnd() && !Create(nullptr)) {
        win::NoteIgnored(L"CreateDialogParamW");
        return;
    }
    SetText(win::FromUtf8(LastMinuteTitle(action)));
    SetItemText(IDC_LM_NOTE, win::FromUtf8(SecondsNote(action)));
    SetItemText(IDC_LM_ACT_NOW, win::FromUtf8(ActNowLabel(action)));
    SetItemText(IDC_LM_REASON, reason);
    SetItemText(IDC_LM_SECONDS, win::FromUtf8(SecondsText(secondsLeft)));
    PlaceAboveTray();
    Show(SW_SHOWNOACTIVATE);
}

void LastMinuteDialog::SetSecondsLeft(int secondsLeft) {
    if (Hwnd()) SetItemText(IDC_LM_SECONDS, win::FromUtf8(SecondsText(secondsLeft)));
}

void LastMinuteDialog::Hide() {
    if (Hwnd()) Show(SW_HIDE);
}

// The close box (and Esc, should it ever have the keyboard): out of sight,
// the countdown runs on.
void LastMinuteDialog::OnCancel() { Hide(); }

void LastMinuteDialog::PlaceAboveTray() {
    RECT rc = {};
    GetWindowRect(Hwnd(), &rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    PopupArea area;
    RECT work = {};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        area = {work.left, work.top, work.right, work.bottom};
    else
        win::NoteIgnored(L"SystemParametersInfoW");
    const PopupOrigin at = vt::PlaceAboveTray(width, height, area, win::ScaleForDpi(8, win::DpiOf(Hwnd())));
    SetWindowPos(Hwnd(), HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool LastMinuteDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_MOUSEACTIVATE) {
        // A click on the window works its buttons without taking the
        // keyboard from the program the user types in.
        result = MA_NOACTIVATE;
        return true;
    }
    return Dialog::OnMessage(msg, wParam, lParam, result);
}

bool LastMinuteDialog::OnCommand(WORD id, WORD code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_LM_POSTPONE:
        m_host.OnPostpone();
        return true;
    case IDC_LM_CANCEL:
        m_host.OnCancelCountdown();
        return true;
    case IDC_LM_ACT_NOW:
        m_host.OnActNow();
        return true;
    }
    return false;
}

}  // namespace vt
