#pragma once
// The assistant's application object: single-instance rule, the hidden main
// window, the message loop and the exit order.
#include <windows.h>

#include <memory>

#include "assistant/mainwnd/WinPower.h"
#include "assistant/mainwnd/WinVolumeDevice.h"
#include "shared/win/Handles.h"
#include "shared/win/Platform.h"
#include "shared/win/WinRegistry.h"

namespace vt {

class ShutdownDialog;

class AssistantApp {
public:
    AssistantApp();
    ~AssistantApp();

    // Start-up, message loop and exit; returns the process exit code.
    int Run();

    // Decides whether an automatic update check is due (atStartup) or runs
    // one on request, by launching update.bat beside the program.
    void ScheduleUpdate(bool atStartup);

private:
    bool InitInstance();
    int ExitInstance(int code);

    win::WinClock m_clock;
    win::WinShell m_shell;
    win::WinRegistry m_registry;
    win::WinPower m_power;
    std::unique_ptr<win::WinVolumeDevice> m_volume;
    std::unique_ptr<ShutdownDialog> m_pMainDialog;
    win::KernelHandle m_mutex;
};

}  // namespace vt
