#pragma once
// Driving the real Update.exe: start it, find its wizard, wait for a step.
#include <string>

#include "tests/e2e/Driver.h"
#include "tests/support/WizardNames.h"

namespace vt::e2e {

// Update.exe of dir started, and its wizard once it shows; null when either
// fails.
inline HWND StartWizard(Process& p, const std::wstring& dir) {
    if (!p.Start(dir + L"Update.exe")) return nullptr;
    return p.WaitWindow(kWizardTitle);
}

// The machine this test program is built for, read from its own image in
// memory: the kind of the Update.exe of the same build.
inline WORD BuildMachine() {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew)->FileHeader.Machine;
}

inline WORD OtherMachine() {
    return BuildMachine() == IMAGE_FILE_MACHINE_AMD64 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
}

// How the wizard names a kind.
inline std::wstring MachineText(WORD machine) { return machine == IMAGE_FILE_MACHINE_AMD64 ? L"x64" : L"x86"; }

// Waits for the status line to read status; the step's other texts are set
// by then.
inline bool WaitStatus(HWND wizard, const std::wstring& status, DWORD timeoutMs = kStepTimeoutMs) {
    if (!wizard || !WaitFor([&] { return ItemText(wizard, kStatus) == status; }, timeoutMs)) return false;
    Settle(wizard);
    return true;
}

}  // namespace vt::e2e
