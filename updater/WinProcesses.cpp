#include "updater/WinProcesses.h"

#include <windows.h>
#include <tlhelp32.h>

#include "shared/win/Encoding.h"

namespace vt::win {

std::vector<ProcessEntry> WinProcesses::List() {
    std::vector<ProcessEntry> entries;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return entries;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    // The updater itself is never a process to end before a replacement: a
    // description naming Update.exe in needclose would otherwise stop the
    // update half way. Its own file is moved aside instead.
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID != self) entries.push_back(ProcessEntry{entry.th32ProcessID, ToGbk(entry.szExeFile)});
    }
    CloseHandle(snapshot);
    return entries;
}

bool WinProcesses::Terminate(std::uint32_t pid) {
    // Only the right to end it: a process that grants no more than that
    // (another user's, a protected one) can still be ended.
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (!process) return false;
    TerminateProcess(process, 0);
    CloseHandle(process);
    return true;
}

void WinProcesses::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace vt::win
