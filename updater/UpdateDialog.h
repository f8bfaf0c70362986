#pragma once
// The update wizard's window: the picture strip, the list of components, the
// progress bar, the status line and the main button. It shows what the
// UpdateWizard decides and hands it the presses; the steps' work reaches the
// window only through IUpdateView.
#include <memory>

#include "shared/core/FileSystem.h"
#include "shared/core/Shell.h"
#include "shared/win/Dialog.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/WinProfile.h"
#include "updater/UpdateWizard.h"
#include "updater/WinTextCodec.h"

namespace vt {

// What the wizard works through besides its window and the two
// descriptions; the program passes the real ones, tests may pass others.
struct UpdateDialogServices {
    IHttpClient& http;
    IProcesses& processes;
    IFileSystem& files;
    IShell& shell;
    const ICrypto& crypto;
    const P256PublicKey* publisherKey = nullptr;  // null: unsigned descriptions taken
};

class UpdateDialog : public win::Dialog, private IUpdateView {
public:
    UpdateDialog(const UpdateDialogServices& services, UpdatePaths paths);
    ~UpdateDialog() override;

    // Null before the window is initialised.
    const UpdateWizard* Wizard() const { return m_wizard.get(); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // IUpdateView
    void SetStatus(const std::string& text) override;
    void ClearList() override;
    void AddListLine(const std::string& text) override;
    void SetProgress(int percent) override;
    void SetButtonText(const std::string& text) override;
    bool AskOkCancel(const std::string& text, const std::string& caption) override;
    void ShowError(const std::string& text) override;
    void Close() override;
    void SetWaitCursor(bool on) override;
    void PumpMessages(int attempts) override;

    void FitPicture();
    void CenterOnScreen();
    bool OnSetCursor();

    UpdateDialogServices m_services;
    UpdatePaths m_paths;
    win::WinTextCodec m_codec;
    win::WinProfile m_localIni;
    win::WinProfile m_serverIni;
    std::unique_ptr<UpdateWizard> m_wizard;
    win::BitmapHandle m_picture;  // the wizard picture at the size of its strip
    bool m_bWaitCursor = false;
    HCURSOR m_hCursorBeforeWait = nullptr;
    INT_PTR m_nResult = IDOK;
};

}  // namespace vt
