#pragma once
// The modal about box: product name and version, a link to the home page
// (which also closes the box) and OK.
#include "assistant/about/HyperLinkStatic.h"
#include "shared/core/Shell.h"
#include "shared/win/Dialog.h"

namespace vt {

class AboutDialog : public win::Dialog {
public:
    AboutDialog();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void OnLinkClicked();

    HyperLinkStatic m_link;
};

}  // namespace vt
