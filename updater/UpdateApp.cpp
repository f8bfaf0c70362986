#include "updater/UpdateApp.h"

#include <winsock2.h>

#include <commctrl.h>

#include <string>

#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "shared/win/Platform.h"
#include "updater/DownloadAndReplace.h"
#include "updater/UpdateDialog.h"
#include "updater/UpdaterNames.h"
#include "updater/WinCrypto.h"
#include "updater/WinInetClient.h"
#include "updater/WinProcesses.h"
#include "updater/res/resource.h"

namespace vt {
namespace {

constexpr DWORD kReceiveTimeoutMs = 60 * 1000;

std::wstring LoadText(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero length LoadStringW hands out the resource's own text.
    int n = LoadStringW(win::ResourceModule(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 && text ? std::wstring(text, static_cast<size_t>(n)) : std::wstring();
}

// The system's temporary directory with its trailing backslash, whatever its
// length; empty only when the system has none.
std::wstring TempDirectory() {
    std::wstring dir(MAX_PATH + 1, L'\0');
    DWORD n = GetTempPathW(static_cast<DWORD>(dir.size()), &dir[0]);
    if (n > dir.size()) {
        dir.resize(n);
        n = GetTempPathW(static_cast<DWORD>(dir.size()), &dir[0]);
    }
    dir.resize(n < dir.size() ? n : 0);
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    return dir;
}

}  // namespace

UpdateApp::~UpdateApp() {
    if (m_bSockets) WSACleanup();
}

bool UpdateApp::InitInstance() {
    // The handle stays open for the life of the process: it is what a second
    // copy finds.
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, kUpdaterMutexName));
    // A first copy started with other rights (as administrator) makes the
    // mutex inaccessible rather than merely existing: that is a running
    // copy too, and two updaters must never replace the same files at once.
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || (!m_mutex && error == ERROR_ACCESS_DENIED))
        return false;  // silently, the first copy untouched

    // What a previous update moved aside when it replaced this program. The
    // copy that did so may still be ending and hold it: then it stays until
    // a later start.
    DeleteFileW((win::ModulePath() + win::FromUtf8(kSelfAsideSuffix)).c_str());

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        MessageBoxW(nullptr, LoadText(IDS_SOCKETS_INIT_FAILED).c_str(), win::ProgramName().c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_bSockets = true;

    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    return true;
}

void UpdateApp::RunWizard() {
    // Without a temporary directory the server description would be saved
    // as a bare "update.ini" in the current directory, over the local one.
    const std::wstring tempDir = TempDirectory();
    if (tempDir.empty()) return;
    // Declared before the dialog, so the session outlives the connection
    // that the wizard holds.
    win::WinInetClient http(win::ProgramName());
    // The step's work runs on the window's thread: a server that stops
    // sending must not freeze the wizard for the system's long default.
    http.SetReceiveTimeout(kReceiveTimeoutMs);
    win::WinProcesses processes;
    win::WinFileSystem files;
    win::WinShell shell(nullptr);
    win::WinCrypto crypto;
    const UpdatePaths paths =
        MakeUpdatePaths(win::ToUtf8(win::AppDirectory()), win::ToUtf8(tempDir), win::ToUtf8(win::ModulePath()));
    UpdateDialog dialog(UpdateDialogServices{http, processes, files, shell, crypto, m_pPublisherKey}, paths);
    dialog.DoModal(nullptr);
}

int UpdateApp::Run() {
    if (InitInstance()) RunWizard();
    return 0;
}

}  // namespace vt
