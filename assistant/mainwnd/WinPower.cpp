#include "assistant/mainwnd/WinPower.h"

#include <windows.h>

namespace vt::win {

void WinPower::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

void WinPower::ExitSession(std::uint32_t flags) { ExitWindowsEx(flags, 0); }

// The request belongs to the calling thread: always the user-interface
// thread, which lives as long as the program.
void WinPower::SetExecutionState(std::uint32_t flags) { SetThreadExecutionState(flags); }

}  // namespace vt::win
