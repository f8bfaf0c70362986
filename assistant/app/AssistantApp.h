#pragma once
// The assistant's application object: single-instance rule, the hidden main
// window, the message loop and the exit order.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "assistant/app/CommandHandOff.h"
#include "assistant/app/CommandLine.h"

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

    // Start-up, message loop and exit; returns the process exit code. args:
    // the command line after the program's name (UTF-8).
    int Run(const std::vector<std::string>& args = {});

    // Decides whether an automatic update check is due (atStartup) or runs
    // one on request, by launching update.bat beside the program.
    void ScheduleUpdate(bool atStartup);

private:
    bool InitInstance();
    int ExitInstance(int code);
    // The command line: a message for a wrong one or /?, the hand-off to a
    // running copy, and carrying it out here (AssistantCommand.cpp).
    static void ShowCommandMessage(const std::string& text, UINT icon);
    int HandOff();
    bool CarryOut(const LaunchCommand& command);

    win::WinClock m_clock;
    win::WinShell m_shell;
    win::WinRegistry m_registry;
    win::WinPower m_power;
    std::unique_ptr<win::WinVolumeDevice> m_volume;
    std::unique_ptr<ShutdownDialog> m_pMainDialog;
    win::KernelHandle m_mutex;
    std::vector<std::string> m_args;
    LaunchCommand m_command;  // Kind::None without arguments
    CommandReceiver m_receiver;
    int m_startExitCode = 0;  // when start-up ends the program at once
};

}  // namespace vt
