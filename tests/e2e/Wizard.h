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

// Waits for the status line to read status; the step's other texts are set
// by then.
inline bool WaitStatus(HWND wizard, const std::wstring& status, DWORD timeoutMs = kStepTimeoutMs) {
    if (!wizard || !WaitFor([&] { return ItemText(wizard, kStatus) == status; }, timeoutMs)) return false;
    Settle(wizard);
    return true;
}

}  // namespace vt::e2e
