#include "assistant/app/AssistantApp.h"

#include <commctrl.h>

#include "assistant/AssistantNames.h"
#include "assistant/app/UpdateSchedule.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"
#include "shared/win/StartupStamps.h"
#include "shared/win/WinProfile.h"

namespace vt {
namespace {

// How long a second copy waits for the first to take its greeting.
constexpr UINT kSecondCopyWaitMs = 5000;

}  // namespace

AssistantApp::AssistantApp() = default;
AssistantApp::~AssistantApp() = default;

void AssistantApp::ScheduleUpdate(bool atStartup) {
    std::string appDir = win::ToUtf8(win::AppDirectory());
    win::WinProfile updateIni(appDir + "update.ini");
    UpdateSchedule(updateIni, m_clock, m_shell, appDir).ScheduleUpdate(atStartup);
}

bool AssistantApp::InitInstance() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    win::StartupStamp("common-controls");

    m_mutex.Reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // A second copy that is about to quit still performs the schedule;
        // the first one does once its message loop runs.
        ScheduleUpdate(true);
        if (m_command.kind != LaunchCommand::Kind::None) {
            m_startExitCode = HandOff();  // and no balloon
            return false;
        }
        // The first copy shows its balloon; no window of ours yet: just quit.
        // A first copy that hangs or is ending must not hold this one up.
        if (HWND first = FindWindowW(nullptr, kMainWindowTitle))
            if (!SendMessageTimeoutW(first, WM_SHOWBALLOON, kBalloonAlreadyRunning, 0, SMTO_ABORTIFHUNG,
                                     kSecondCopyWaitMs, nullptr))
                win::NoteIgnored(L"SendMessageTimeoutW(WM_SHOWBALLOON)");
        return false;
    }

    m_volume = std::make_unique<win::WinVolumeDevice>();
    MainWindowServices services{
        m_registry, m_power, *m_volume, m_shell, [this] { ScheduleUpdate(false); }, win::ToUtf8(win::ModulePath())};
    services.afterStart = [this] { ScheduleUpdate(true); };
    m_pMainDialog = std::make_unique<ShutdownDialog>(std::move(services));
    win::StartupStamp("main-window-object");
    if (m_pMainDialog->Create(nullptr)) m_pMainDialog->Show(SW_HIDE);
    win::StartupStamp("main-window");
    if (!m_pMainDialog->Hwnd()) return false;
    if (!m_receiver.Attach(m_pMainDialog->Hwnd(), [this](const LaunchCommand& c) { return CarryOut(c); }))
        win::NoteIgnored(L"SetWindowSubclass");
    if (m_command.kind != LaunchCommand::Kind::None) CarryOut(m_command);
    return true;
}

int AssistantApp::ExitInstance(int code) {
    m_pMainDialog.reset();  // its child windows go with it
    m_mutex.Reset();
    return code;
}

int AssistantApp::Run(const std::vector<std::string>& args) {
    const CommandParse parsed = ParseCommandLine(args);
    if (!parsed.ok) {
        ShowCommandMessage(CommandErrorText(parsed), MB_ICONEXCLAMATION);
        return kExitBadArguments;
    }
    if (parsed.command.kind == LaunchCommand::Kind::Usage) {
        ShowCommandMessage(CommandUsage(), MB_ICONINFORMATION);
        return 0;
    }
    m_args = args;
    m_command = parsed.command;
    if (!InitInstance()) return ExitInstance(m_startExitCode);
    MSG msg;
    int code = 0;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) break;
        if (win::Dialog::RouteMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitInstance(code);
}

}  // namespace vt
