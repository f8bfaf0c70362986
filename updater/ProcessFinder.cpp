#include "updater/ProcessFinder.h"

#include <cstddef>

#include "shared/ProgramNames.h"

namespace vt {

namespace {

unsigned char FoldLatin(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameExeName(const Gbk& nameA, const Gbk& nameB) {
    const std::string& a = nameA.Bytes();
    const std::string& b = nameB.Bytes();
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        if (IsGbkLeadByte(ca) && i + 1 < a.size()) {
            // Lead bytes are never letters, so equal lead bytes keep both
            // names at the same character boundary.
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (FoldLatin(ca) != FoldLatin(cb)) return false;
    }
    return true;
}

std::uint32_t FindProcessByName(IProcesses& processes, const Gbk& name) {
    for (const ProcessEntry& entry : processes.List()) {
        if (SameExeName(entry.exeName, name)) return entry.pid;
    }
    return 0;
}

EndProgramResult EndProgram(IProcesses& processes, std::uint32_t pid, const std::function<void()>& keepLive) {
    // Terminating the assistant would lose the reminders changed since they
    // were last saved and leave a dead icon in the tray. It is known by its
    // main window's title; its tray exit command saves the reminders, writes
    // the Run value and removes the tray icon.
    if (processes.HasWindowTitled(pid, kMainWindowTitleUtf8))
        processes.SendCommand(pid, kMainWindowTitleUtf8, kMainExitCommand);
    else
        processes.PostClose(pid);
    for (unsigned waited = 0; waited < kEndProgramWaitMs; waited += kEndProgramSliceMs) {
        if (processes.WaitExit(pid, kEndProgramSliceMs)) return EndProgramResult::EndedItself;
        if (keepLive) keepLive();
    }
    if (!processes.Terminate(pid)) return EndProgramResult::NotOpened;
    processes.Sleep(kWaitAfterTerminateMs);
    return EndProgramResult::Terminated;
}

}  // namespace vt
