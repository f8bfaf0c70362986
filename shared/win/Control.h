#pragma once
// A control of a dialog taken over by an object of ours (window subclassing),
// for controls that draw or behave differently from their class.
#include <windows.h>

namespace vt::win {

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Takes over control id of dialog parent; false when there is no such control.
    bool Attach(HWND parent, int id);
    void Detach();
    HWND Hwnd() const { return m_hWnd; }

    static Control* FromHandle(HWND hwnd);

    // The parent's WM_CTLCOLOR* for this control, handed back to it; return
    // the background brush, or null for the parent's default handling.
    virtual HBRUSH OnReflectCtlColor(HDC dc) { return nullptr; }

protected:
    // Return true when handled; result then becomes the message's result.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    HWND m_hWnd = nullptr;
};

}  // namespace vt::win
