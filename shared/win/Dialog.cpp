#include "shared/win/Dialog.h"

#include "shared/win/Control.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/Painting.h"

namespace vt::win {

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

Dialog::Dialog(UINT templateId) : m_nTemplateId(templateId) {}

Dialog::~Dialog() { DestroyWindow(); }

bool Dialog::Create(HWND owner) {
    m_bModal = false;
    HWND hwnd = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_nTemplateId), owner, StaticDialogProc,
                                   reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR Dialog::DoModal(HWND owner) {
    m_bModal = true;
    INT_PTR result = DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(m_nTemplateId), owner, StaticDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

void Dialog::DestroyWindow() {
    if (m_hWnd && !m_bModal) {
        HWND hwnd = m_hWnd;
        ::DestroyWindow(hwnd);
    }
    m_hWnd = nullptr;
}

void Dialog::SetProgramIcon(UINT iconId) {
    m_nIconId = iconId;
    m_icons.Apply(m_hWnd, iconId);
}

void Dialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        ShowWindow(m_hWnd, SW_HIDE);
}

std::wstring Dialog::ItemText(int id) const {
    HWND item = Item(id);
    int n = item ? GetWindowTextLengthW(item) : 0;
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    if (n > 0) n = GetWindowTextW(item, &text[0], n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void Dialog::SetItemText(int id, const std::wstring& text) { SetDlgItemTextW(m_hWnd, id, text.c_str()); }

std::wstring Dialog::Text() const {
    int n = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    if (n > 0) n = GetWindowTextW(m_hWnd, &text[0], n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void Dialog::SetText(const std::wstring& text) { SetWindowTextW(m_hWnd, text.c_str()); }

bool Dialog::IsChecked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool checked) { CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }

int Dialog::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type) {
    return ::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), type);
}

bool Dialog::PreTranslateMessage(MSG* msg) { return m_hWnd && !m_bModal && IsDialogMessageW(m_hWnd, msg); }

bool Dialog::RouteMessage(MSG* msg) {
    if (!msg->hwnd) return false;
    HWND root = GetAncestor(msg->hwnd, GA_ROOT);
    Dialog* dialog = root ? FromHandle(root) : nullptr;
    return dialog && dialog->PreTranslateMessage(msg);
}

Dialog* Dialog::FromHandle(HWND hwnd) {
    // Only our own dialogs carry the object pointer; check the window class
    // too so foreign windows (message boxes, common dialogs) are never read.
    wchar_t cls[8] = {};
    if (!GetClassNameW(hwnd, cls, 8) || lstrcmpW(cls, L"#32770") != 0) return nullptr;
    if (reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hwnd, DWLP_DLGPROC)) != StaticDialogProc) return nullptr;
    return reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

bool Dialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND: {
        WORD id = LOWORD(wParam), code = HIWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        if (id == IDOK && (code == BN_CLICKED || !control)) {
            OnOK();
            return true;
        }
        if (id == IDCANCEL && (code == BN_CLICKED || !control)) {
            OnCancel();
            return true;
        }
        return OnCommand(id, code, control);
    }
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), result);
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return false;  // and on to the default handling
    case WM_PAINT:
        return m_icons.Big() && PaintMinimizedIcon(m_hWnd, m_icons.Big());
    case WM_QUERYDRAGICON:
        if (!m_icons.Big()) return false;
        result = reinterpret_cast<LRESULT>(m_icons.Big());
        return true;
    case WM_DPICHANGED: {
        // The system rescales the dialog and its controls; the window takes
        // the place it suggests, and the pictures, which are ours, follow.
        const UINT dpi = DpiOfMessage(wParam);
        MoveToSuggestedRect(m_hWnd, lParam);
        if (m_nIconId) m_icons.Apply(m_hWnd, m_nIconId, dpi);
        OnDpiChanged(dpi);
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
        // Reflect the colour request to a control object of ours, if any.
        Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam));
        if (control) {
            HBRUSH brush = control->OnReflectCtlColor(reinterpret_cast<HDC>(wParam));
            if (brush) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    }
    }
    return false;
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG

    LRESULT result = 0;
    bool handled = self->OnMessage(msg, wParam, lParam, result);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        if (self->m_hWnd == hwnd) self->m_hWnd = nullptr;
    }
    if (!handled) return FALSE;
    switch (msg) {
    // These return their result directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    }
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace vt::win
