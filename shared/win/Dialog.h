#pragma once
// The thin dialog layer both programs build their windows on.
//
// A Dialog is made from a dialog template of the program's resources, either
// modeless (Create) or modal (DoModal). One static dialog procedure finds the
// object and calls OnMessage, which turns the common messages into virtual
// OnXxx calls (OnInitDialog, OnOK, OnCancel, OnCommand, OnNotify, OnTimer).
// A derived dialog overrides those; for messages of its own it overrides
// OnMessage with a switch and passes everything else to its base:
//
//     bool MyDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
//         switch (msg) {
//         case WM_HOTKEY: OnHotKey(lp); return true;
//         }
//         return Dialog::OnMessage(msg, wp, lp, result);
//     }
//
// The base destroys a modeless window when the object goes; by then the
// derived part is gone, so its window's last messages reach only the base.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "shared/win/DpiIcons.h"
#include "shared/win/Handles.h"

namespace vt::win {

class Control;

class Dialog {
public:
    explicit Dialog(UINT templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modeless: creates the window; false when the template could not be used.
    bool Create(HWND owner);
    // Modal: runs the dialog until EndDialog; returns its result (-1 on failure).
    INT_PTR DoModal(HWND owner);
    void DestroyWindow();

    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

    // Ends a modal dialog with result; a modeless one is hidden (its window stays).
    void EndDialog(INT_PTR result);

    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text);
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    void Show(int command) { ShowWindow(m_hWnd, command); }
    bool IsVisible() const { return (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type);

    // Gives a modeless dialog the keyboard navigation of a dialog (Tab, Enter,
    // Esc). The program's message loop calls RouteMessage for every message.
    virtual bool PreTranslateMessage(MSG* msg);
    static bool RouteMessage(MSG* msg);

    static Dialog* FromHandle(HWND hwnd);

protected:
    // Return true when handled; result then becomes the message's result.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // WM_COMMAND other than IDOK/IDCANCEL; return true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
    // WM_NOTIFY; return true when handled.
    virtual bool OnNotify(NMHDR* header, LRESULT& result) { return false; }
    // WM_TIMER of a timer set on this window (the default handling follows).
    virtual void OnTimer(UINT_PTR id) {}
    // WM_DPICHANGED, after the base has moved the window to the place the
    // system suggests and reloaded the program icon at the new scale.
    virtual void OnDpiChanged(UINT dpi) {}

    // The program's icon for this window, loaded at the big and small icon
    // sizes of the window's display scale and given to the window
    // (WM_SETICON). From then on the base answers WM_QUERYDRAGICON, paints
    // the icon while minimised and loads it again when the window moves to a
    // monitor with another scale. Call from OnInitDialog.
    void SetProgramIcon(UINT iconId);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    HWND m_hWnd = nullptr;
    bool m_bModal = false;
    UINT m_nIconId = 0;
    WindowIcons m_icons;
};

// Module of the running program (where the templates are).
HINSTANCE ResourceModule();

}  // namespace vt::win
