#include "assistant/about/AboutDialog.h"

#include "assistant/about/HomePage.h"
#include "resource.h"
#include "shared/win/Ignored.h"
#include "shared/win/Platform.h"

namespace vt {

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

BOOL AboutDialog::OnInitDialog() {
    m_link.Attach(Hwnd(), IDC_LINK);
    return TRUE;
}

bool AboutDialog::OnCommand(WORD id, WORD code, HWND) {
    if (id == IDC_LINK && code == STN_CLICKED) {
        OnLinkClicked();
        return true;
    }
    return false;
}

void AboutDialog::OnLinkClicked() {
    // Nothing is reported when no browser can open the page: the box closes anyway.
    if (!win::WinShell(Hwnd()).Open(kAboutPageUrl, "", "", ShowMode::Maximized))
        win::NoteIgnored(L"ShellExecuteW(about page)");
    OnCancel();
}

}  // namespace vt
