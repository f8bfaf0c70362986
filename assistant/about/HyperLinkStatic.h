#pragma once
// A static text that looks and feels like a web link: blue text on the
// dialog's own background, and the hand cursor. A click reaches the parent
// as STN_CLICKED through the control's SS_NOTIFY style; the parent decides
// what the link does.
#include "shared/win/Control.h"

namespace vt {

class HyperLinkStatic : public win::Control {
public:
    HyperLinkStatic();
    HBRUSH OnReflectCtlColor(HDC dc) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HCURSOR m_cursor;  // shared system cursor; never destroyed
};

}  // namespace vt
