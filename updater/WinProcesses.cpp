#include "updater/WinProcesses.h"

#include <windows.h>

#include "shared/win/Encoding.h"
#include "shared/win/Handles.h"
#include "shared/win/ProcessList.h"
#include "updater/MessagePump.h"

namespace vt::win {
namespace {

// The process's top-level windows, hidden ones included (the assistant's
// main window is never shown while it sits in the tray).
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search.pid) search.found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t text[256] = {};
    // A window that does not answer within the timeout has no title here:
    // a hung program must not hang the updater.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 500, &length))
        return {};
    return std::wstring(text, length < 256 ? length : 255);
}

}  // namespace

std::vector<ProcessEntry> WinProcesses::List() {
    std::vector<ProcessEntry> entries;
    // The updater itself is never a process to end before a replacement: a
    // description naming Update.exe in needclose would otherwise stop the
    // update half way. Its own file is moved aside instead.
    const DWORD self = GetCurrentProcessId();
    for (const ListedProcess& process : ListProcesses().value_or(std::vector<ListedProcess>{}))
        if (process.id != self) entries.push_back(ProcessEntry{process.id, ToGbk(process.exeName)});
    return entries;
}

bool WinProcesses::Terminate(std::uint32_t pid) {
    // Only the right to end it: a process that grants no more than that
    // (another user's, a protected one) can still be ended.
    const KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    if (!process) return false;
    TerminateProcess(process.Get(), 0);
    return true;
}

bool WinProcesses::HasWindowTitled(std::uint32_t pid, const std::string& title) {
    const std::wstring wanted = FromUtf8(title);
    for (HWND hwnd : TopLevelWindows(pid))
        if (TitleOf(hwnd) == wanted) return true;
    return false;
}

void WinProcesses::SendCommand(std::uint32_t pid, const std::string& title, int command) {
    const std::wstring wanted = FromUtf8(title);
    for (HWND hwnd : TopLevelWindows(pid)) {
        if (TitleOf(hwnd) != wanted) continue;
        // Sent rather than posted, so that it is taken even by a window
        // whose thread runs a modal loop; the short timeout keeps the
        // updater's own window live. Whether it ends is seen by waiting.
        DWORD_PTR result = 0;
        SendMessageTimeoutW(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0, SMTO_ABORTIFHUNG, 500, &result);
    }
}

void WinProcesses::PostClose(std::uint32_t pid) {
    for (HWND hwnd : TopLevelWindows(pid)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

bool WinProcesses::WaitExit(std::uint32_t pid, unsigned milliseconds) {
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process) {
        // Gone already; any other refusal says nothing about it.
        if (GetLastError() == ERROR_INVALID_PARAMETER) return true;
        ::Sleep(milliseconds);
        return false;
    }
    return WaitForSingleObject(process.Get(), milliseconds) == WAIT_OBJECT_0;
}

// The pause after a forced end runs on the wizard's thread: its window keeps
// answering, taking messages as they come (a press of "取消" then is heard
// when the step returns; the replacement is never cut in half).
void WinProcesses::Sleep(unsigned milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_ALLINPUT);
        PumpWaitingMessages(nullptr, 10);
    }
}

}  // namespace vt::win
