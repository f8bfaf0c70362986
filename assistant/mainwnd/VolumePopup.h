#pragma once
// The small slider window that pops up above the tray icon: master level of
// the sound device and a mute box. Hidden again as soon as it loses activation.
#include "assistant/mainwnd/VolumeDevice.h"
#include "assistant/mainwnd/VolumePopupRules.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/Dialog.h"

namespace vt {

class VolumePopup : public win::Dialog {
public:
    explicit VolumePopup(IVolumeDevice& device);

    // How it last went out of sight, for the tray icon's click.
    const PopupHide& LastHide() const { return m_lastHide; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnDpiChanged(UINT dpi) override;

private:
    void OnShowWindow();
    void OnSliderMoved();
    void OnMuteClicked();
    int SliderPosition() const;

    ChineseDialogFont m_font;  // the "System" template font may not show 静音
    IVolumeDevice& m_device;
    HWND m_slider = nullptr;  // IDC_SLIDER
    PopupHide m_lastHide;
};

}  // namespace vt
