#include "updater/UpdateWizard.h"

#include "shared/core/Text.h"
#include "updater/FileNameRule.h"
#include "updater/UpdateDescription.h"
#include "updater/UpdateTexts.h"
#include "updater/UrlParts.h"

namespace vt {

AutoAction AfterCheck(CheckOutcome outcome, LocalMode localMode, ServerMode serverMode) {
    switch (outcome) {
    case CheckOutcome::Newer:
        return serverMode == ServerMode::Unattended ? AutoAction::Press : AutoAction::None;
    case CheckOutcome::UpToDate:
        return serverMode != ServerMode::WaitForUser ? AutoAction::Press : AutoAction::None;
    case CheckOutcome::ConnectionFailed:
        // The server's ServerMode never arrived: an automatic start ends.
        return localMode == LocalMode::Automatic ? AutoAction::Close : AutoAction::None;
    case CheckOutcome::TransferError:
        // The user has been told; the wizard waits for another try.
        return AutoAction::None;
    case CheckOutcome::Refused:
        // A description that is not the publisher's may be an attack on
        // the way: the wizard stays open at Finish, also when it started
        // by itself, so that the user sees why nothing was updated.
        return AutoAction::None;
    }
    return AutoAction::None;
}

AutoAction AfterInstall(InstallOutcome outcome, ServerMode serverMode) {
    switch (outcome) {
    case InstallOutcome::Updated:
    case InstallOutcome::Failed:
        return serverMode == ServerMode::Unattended ? AutoAction::Press : AutoAction::None;
    case InstallOutcome::Refused:
    case InstallOutcome::Cancelled:
        return AutoAction::Close;
    case InstallOutcome::TransferError:
        return AutoAction::None;
    }
    return AutoAction::None;
}

UpdateWizard::UpdateWizard(const UpdateServices& services, UpdatePaths paths) : m_ctx(services, std::move(paths)) {}

bool UpdateWizard::Start() {
    const IProfile& local = m_ctx.services.localIni;
    m_ctx.localMode = ParseLocalMode(local.GetInt(kMainSection, "LocalMode", 0));

    UrlParts url;
    if (!ParseUpdateUrl(local.GetString(kMainSection, "IniUrl", ""), url)) {
        CloseView();
        return false;
    }
    m_ctx.object = url.object;
    m_ctx.server = url;
    // An address without a server leaves no connection: the check then fails
    // as any connection to an unreachable server does.
    if (!url.host.empty()) m_ctx.connection = m_ctx.services.http.Connect(url.host, url.port, url.secure);

    const ITextCodec& codec = m_ctx.services.codec;
    const int count = ComponentScanCount(local, local.GetInt(kMainSection, "Total", 0));
    for (int i = 0; i < count; ++i) {
        const std::string section = ComponentSection(i);
        const std::string title = codec.GbkToUtf8(ReadDescriptionText(local, section, "Title"));
        const std::string version = codec.GbkToUtf8(ReadDescriptionText(local, section, "version"));
        m_ctx.services.view.AddListLine(Format(updtext::kFmtInstalled, title.c_str(), version.c_str()));
    }

    if (m_ctx.localMode == LocalMode::Automatic) Press();
    return !m_bClosed;
}

void UpdateWizard::Press() {
    if (m_bBusy || m_bClosed) return;

    m_bBusy = true;
    AutoAction next = AutoAction::None;
    switch (m_nStep) {
    case WizardStep::Check:
        next = RunCheck();
        break;
    case WizardStep::Install:
        next = RunInstall();
        break;
    case WizardStep::Finish:
        RunFinish();
        break;
    }
    m_bBusy = false;

    if (m_ctx.cancelRequested) {
        CloseView();
    } else if (next == AutoAction::Press) {
        Press();
    } else if (next == AutoAction::Close) {
        CloseView();
    }
}

void UpdateWizard::Cancel() {
    if (m_bBusy) {
        m_ctx.cancelRequested = true;
        return;
    }
    CloseView();
}

AutoAction UpdateWizard::RunCheck() {
    const CheckOutcome outcome = CheckVersions(m_ctx);
    if (outcome == CheckOutcome::Newer) {
        EnterInstall();
    } else if (outcome == CheckOutcome::TransferError) {
        ReportTransferError();
    } else {
        EnterFinish();
    }
    return AfterCheck(outcome, m_ctx.localMode, m_ctx.serverMode);
}

AutoAction UpdateWizard::RunInstall() {
    const InstallOutcome outcome = DownloadAndReplace(m_ctx);
    if (outcome == InstallOutcome::Updated || outcome == InstallOutcome::Failed) {
        EnterFinish();
        m_bUpdated = outcome == InstallOutcome::Updated;
    } else if (outcome == InstallOutcome::TransferError) {
        ReportTransferError();
    }
    return AfterInstall(outcome, m_ctx.serverMode);
}

void UpdateWizard::RunFinish() {
    if (m_bUpdated) {
        const IProfile& server = m_ctx.Server();
        const ITextCodec& codec = m_ctx.services.codec;
        const Gbk mainExe = ReadDescriptionText(server, kMainSection, "MainExe");
        const Gbk mainUrl = ReadDescriptionText(server, kMainSection, "MainUrl");
        // The program must be one in the application directory, and the page
        // a web address: the server description is not trusted to start
        // anything else.
        if (!mainExe.empty() && IsPlainFileName(mainExe)) {
            m_ctx.services.shell.Open(m_ctx.paths.appDir + codec.GbkToUtf8(mainExe), "", "", ShowMode::Normal);
        }
        UrlParts page;
        if (!mainUrl.empty() && ParseUpdateUrl(mainUrl.Bytes(), page) && !page.host.empty()) {
            m_ctx.services.shell.Open(codec.GbkToUtf8(mainUrl), "", "", ShowMode::Normal);
        }
    }
    CloseView();
}

void UpdateWizard::EnterInstall() {
    m_nStep = WizardStep::Install;
    m_ctx.services.view.SetButtonText(updtext::kButtonInstall);
}

void UpdateWizard::EnterFinish() {
    m_nStep = WizardStep::Finish;
    m_ctx.services.view.SetButtonText(updtext::kButtonFinish);
    m_ctx.services.view.SetProgress(100);
}

// The step stays where it is: a broken connection or a full disk may be
// gone by the next press, which repeats the step's work from its start.
void UpdateWizard::ReportTransferError() {
    const std::string& why = m_ctx.transferError;
    m_ctx.services.view.ShowError(why.empty() ? std::string(updtext::kInternalError) : why);
}

void UpdateWizard::CloseView() {
    if (m_bClosed) return;
    m_bClosed = true;
    m_ctx.services.view.Close();
}

}  // namespace vt
