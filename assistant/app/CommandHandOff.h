#pragma once
// The command line on its way between two copies of the assistant: the new
// copy hands its arguments to the running one's main window (WM_COPYDATA),
// which answers 1 when it takes them and 0 when it refuses them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "assistant/app/CommandLine.h"

namespace vt {

// The arguments this process was started with, after the program's name (UTF-8).
std::vector<std::string> ProgramArguments();

// Sends the arguments to the running copy's main window and waits for its
// answer; the exit code for this copy (kExitAccepted, kExitRefused, or
// kExitNoRunningWindow when the window did not answer).
int HandCommandOver(HWND runningMain, const std::vector<std::string>& args);

// Carries a command out; false when it cannot be carried out now.
using CommandSink = std::function<bool(const LaunchCommand&)>;

// The main window's answer to WM_COPYDATA (lParam as the message brings
// it): 1 when the data is a command line of ours that sink took, 0 for
// anything else, whoever sent it.
LRESULT AnswerCommandCopyData(LPARAM lParam, const CommandSink& sink);

// Makes a window answer WM_COPYDATA through AnswerCommandCopyData, without
// the window's own class knowing (a subclass, gone with the window or this object).
class CommandReceiver {
public:
    CommandReceiver() = default;
    ~CommandReceiver();
    CommandReceiver(const CommandReceiver&) = delete;
    CommandReceiver& operator=(const CommandReceiver&) = delete;

    bool Attach(HWND window, CommandSink sink);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_window = nullptr;
    CommandSink m_sink;
};

}  // namespace vt
