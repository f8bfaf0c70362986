// The application object's side of the command line: messages about it,
// the hand-off to a copy that runs already, and the command carried out.
#include "assistant/AssistantNames.h"
#include "assistant/app/AssistantApp.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "shared/win/Encoding.h"

namespace vt {
namespace {

// A copy that has only just started may not have made its window yet.
constexpr DWORD kWaitForRunningWindowMs = 5000;

HWND WaitForRunningWindow() {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindWindowW(nullptr, kMainWindowTitle)) return found;
        if (GetTickCount() - start >= kWaitForRunningWindowMs) return nullptr;
        Sleep(100);
    }
}

}  // namespace

void AssistantApp::ShowCommandMessage(const std::string& text, UINT icon) {
    MessageBoxW(nullptr, win::FromUtf8(text).c_str(), kProductName, MB_OK | icon);
}

int AssistantApp::HandOff() {
    HWND running = WaitForRunningWindow();
    return running ? HandCommandOver(running, m_args) : kExitNoRunningWindow;
}

// The main window's countdown form carries the command out.
bool AssistantApp::CarryOut(const LaunchCommand& command) {
    return command.request && m_pMainDialog && m_pMainDialog->Hwnd() && m_pMainDialog->CarryOut(*command.request);
}

}  // namespace vt
