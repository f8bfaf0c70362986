#pragma once
// The update wizard's step machine: what the main button does at each step,
// when the wizard moves on by itself, and when it closes. The dialog of the
// Windows side owns one UpdateWizard, implements IUpdateView for it, and
// forwards its initialisation to Start, IDOK to Press and IDCANCEL (also Esc
// and the close box) to Cancel.
#include "updater/DownloadAndReplace.h"
#include "updater/UpdateContext.h"
#include "updater/VersionCheck.h"

namespace vt {

// What the wizard does by itself once a step's work has returned.
enum class AutoAction { None, Press, Close };

AutoAction AfterCheck(CheckOutcome outcome, LocalMode localMode, ServerMode serverMode);
AutoAction AfterInstall(InstallOutcome outcome, ServerMode serverMode);

class UpdateWizard {
public:
    UpdateWizard(const UpdateServices& services, UpdatePaths paths);

    // Reads the local description, lists the installed components and, for
    // an automatic start (LocalMode 1), runs the first step at once. Closes
    // the wizard without a message when IniUrl is not a usable address.
    // False when the wizard is already closed on return.
    bool Start();

    // The main button, pressed by the user or by the wizard itself. Ignored
    // while a step's work runs (presses arrive through the message pump
    // during downloads) and after the wizard has closed. A transfer that
    // broke off is shown in an error message and leaves the step as it was,
    // without any automatic move: the next press repeats the step.
    void Press();

    // Closes the wizard. While a step's work runs, the running download stops
    // and the wizard closes when the work has returned.
    void Cancel();

    WizardStep Step() const { return m_nStep; }
    bool IsUpdated() const { return m_bUpdated; }
    bool IsClosed() const { return m_bClosed; }
    bool IsBusy() const { return m_bBusy; }

private:
    AutoAction RunCheck();
    AutoAction RunInstall();
    void RunFinish();
    void EnterInstall();
    void EnterFinish();
    void ReportTransferError();
    void CloseView();

    UpdateContext m_ctx;
    WizardStep m_nStep = WizardStep::Check;
    bool m_bUpdated = false;
    bool m_bBusy = false;
    bool m_bClosed = false;
};

}  // namespace vt
