#pragma once
// The countdown's last minute, in a small window above the tray: the seconds
// left in large type and three ways out ("推迟10分钟", "取消", "立即关机" and
// its kin). It stays on top but never takes the keyboard: someone typing in
// another program keeps typing there. Its close box only hides it; the
// countdown runs on. What it says and when it shows is decided in
// LastMinute.h; the owner drives it and hears the buttons through
// ILastMinuteHost.
#include <string>

#include "assistant/settings/EndAction.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/Dialog.h"
#include "shared/win/Handles.h"

namespace vt {

// The owner of the window: each button calls one of these once.
class ILastMinuteHost {
public:
    virtual void OnPostpone() = 0;         // "推迟10分钟"
    virtual void OnCancelCountdown() = 0;  // "取消"
    virtual void OnActNow() = 0;           // "立即关机" / "立即重启" / ...

protected:
    ~ILastMinuteHost() = default;
};

class LastMinuteDialog : public win::Dialog {
public:
    explicit LastMinuteDialog(ILastMinuteHost& host);

    using win::Dialog::Show;
    // Creates the window when needed, fills it for the action and shows it
    // at the bottom right of the work area without activating it. reason is
    // the line under the seconds (why the end comes; may be empty).
    void Show(EndAction action, int secondsLeft, const std::wstring& reason);
    // The count on a window already shown; never shows a closed one again.
    void SetSecondsLeft(int secondsLeft);
    void Hide();

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}  // no default button: Enter does nothing
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnDpiChanged(UINT dpi) override;

private:
    void MakeSecondsFont();
    void PlaceAboveTray();

    ILastMinuteHost& m_host;
    ChineseDialogFont m_font;
    win::FontHandle m_secondsFont;  // the dialog's font, three times as high
};

}  // namespace vt
