#include "assistant/mainwnd/VolumePopup.h"

#include <commctrl.h>

#include "assistant/mainwnd/VolumeMath.h"
#include "assistant/mainwnd/VolumePopupRules.h"
#include "resource.h"
#include "shared/win/CaptionFit.h"

namespace vt {

VolumePopup::VolumePopup(IVolumeDevice& device) : Dialog(IDD_VOLUME_POPUP), m_device(device) {}

BOOL VolumePopup::OnInitDialog() {
    m_font.Apply(Hwnd());
    // The popup is narrower than its caption at some scales.
    win::FitCaption(Hwnd());
    m_slider = Item(IDC_SLIDER);
    SendMessageW(m_slider, TBM_SETRANGE, FALSE, MAKELPARAM(kSliderMin, kSliderMax));
    return TRUE;
}

// The system has laid the popup out again at the new scale from its
// template; the caption font may have grown faster than the window.
void VolumePopup::OnDpiChanged(UINT) { win::FitCaption(Hwnd()); }

bool VolumePopup::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_SHOWWINDOW:
        m_lastHide = PopupHide{};  // shown, or hidden by someone else
        if (wParam) {
            // Place and fill after the default handling. That is the window's,
            // not DefDlgProc: it would call this dialog procedure again.
            DefWindowProcW(Hwnd(), msg, wParam, lParam);
            OnShowWindow();
            result = 0;
            return true;
        }
        return false;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) == m_slider) OnSliderMoved();
        return false;  // and the default scroll handling
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Only a popup in sight hides itself; a hidden one can lose the
            // activation too (when it is created, for one).
            const bool wasVisible = IsVisible();
            Show(SW_HIDE);
            if (wasVisible) m_lastHide = PopupHide{true, GetTickCount()};
            result = 0;
            return true;
        }
        return false;
    }
    return Dialog::OnMessage(msg, wParam, lParam, result);
}

bool VolumePopup::OnCommand(WORD id, WORD code, HWND) {
    if (id == IDC_MUTE && code == BN_CLICKED) {
        OnMuteClicked();
        return true;
    }
    return false;
}

bool VolumePopup::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->idFrom == IDC_SLIDER && header->code == NM_RELEASEDCAPTURE) {
        // The asterisk sound plays at the level just set.
        MessageBeep(MB_ICONASTERISK);
        result = 0;
        return true;
    }
    return false;
}

void VolumePopup::OnShowWindow() {
    RECT rc;
    GetWindowRect(Hwnd(), &rc);
    POINT cursor = {};
    GetCursorPos(&cursor);
    PopupArea area;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor))
        area = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    PopupOrigin at = PlacePopup(cursor.x, cursor.y, rc.right - rc.left, rc.bottom - rc.top, area);
    MoveWindow(Hwnd(), at.x, at.y, rc.right - rc.left, rc.bottom - rc.top, TRUE);

    PopupFill fill = ReadPopupFill(m_device);
    SetChecked(IDC_MUTE, fill.muted);
    if (!fill.muted) SendMessageW(m_slider, TBM_SETPOS, TRUE, fill.position);
    SetFocus(m_slider);
}

int VolumePopup::SliderPosition() const { return static_cast<int>(SendMessageW(m_slider, TBM_GETPOS, 0, 0)); }

void VolumePopup::OnSliderMoved() {
    m_device.SetVolume(VolumeForSlider(SliderPosition()));
    SetChecked(IDC_MUTE, false);
}

void VolumePopup::OnMuteClicked() {
    m_device.SetVolume(VolumeForMuteClick(IsChecked(IDC_MUTE), SliderPosition()));
    SetFocus(m_slider);
}

}  // namespace vt
