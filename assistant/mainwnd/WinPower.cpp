#include "assistant/mainwnd/WinPower.h"

#include <windows.h>

#include "assistant/mainwnd/PowerActions.h"
#include "shared/win/Handles.h"
#include "shared/win/Ignored.h"

namespace vt::win {

static_assert(kExitShutDown == (EWX_FORCE | EWX_POWEROFF));
static_assert(kExitRestart == (EWX_REBOOT | EWX_FORCE));
static_assert(kExitLogOff == (EWX_LOGOFF | EWX_FORCE));
static_assert(kExitCountdownEnd == (EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF));
static_assert(kStayAwake == (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) && kMaySleep == ES_CONTINUOUS);

namespace {

// powrprof.dll is loaded at the first sleep or hibernate, from the system
// folder only, and kept for the rest of the process: the assistant starts
// without it, and a copy planted beside the program is never taken.
HMODULE PowerLibrary() {
    static HMODULE module = LoadLibraryExW(L"powrprof.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module;
}

template <typename Function>
Function PowerFunction(const char* name) {
    HMODULE module = PowerLibrary();
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

void WinPower::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return NoteIgnored(L"OpenProcessToken");
    KernelHandle owned(token);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return NoteIgnored(L"LookupPrivilegeValueW");
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) NoteIgnored(L"AdjustTokenPrivileges");
}

void WinPower::ExitSession(std::uint32_t flags) {
    if (!ExitWindowsEx(flags, 0)) NoteIgnored(L"ExitWindowsEx");
}

// The request belongs to the calling thread: always the user-interface
// thread, which lives as long as the program.
void WinPower::SetExecutionState(std::uint32_t flags) { SetThreadExecutionState(flags); }

}  // namespace vt::win

namespace vt::win {

void WinPower::Suspend(bool hibernate) {
    using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
    auto setSuspendState = PowerFunction<SetSuspendStateFn>("SetSuspendState");
    // Not forced (the argument is ignored since Windows Vista anyway); wake-up
    // events stay allowed, so a reminder's wake timer or the user can wake it.
    if (!setSuspendState) return NoteIgnored(L"LoadLibraryExW(powrprof.dll)");
    if (!setSuspendState(hibernate ? TRUE : FALSE, FALSE, FALSE)) NoteIgnored(L"SetSuspendState");
}

bool WinPower::CanHibernate() {
    using IsPwrHibernateAllowedFn = BOOLEAN(WINAPI*)();
    auto allowed = PowerFunction<IsPwrHibernateAllowedFn>("IsPwrHibernateAllowed");
    return allowed && allowed();
}

void WinPower::Lock() {
    if (!LockWorkStation()) NoteIgnored(L"LockWorkStation");
}

}  // namespace vt::win
