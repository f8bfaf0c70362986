#include "tests/support/StandIn.h"

#include <windows.h>

#include <cwchar>

namespace vt::test {

const wchar_t kStandInArgument[] = L"--vt-stand-in-running-program";
const wchar_t kStandInWindowArgument[] = L"--vt-stand-in-window";

namespace {

const bool g_bStandIn = [] {
    if (wcsstr(GetCommandLineW(), kStandInArgument)) {
        if (wcsstr(GetCommandLineW(), kStandInWindowArgument))
            CreateWindowExW(0, L"STATIC", L"stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                            nullptr);
        Sleep(60000);
        ExitProcess(3);
    }
    return false;
}();

}  // namespace

StandInProcess::StandInProcess(const std::wstring& exe, Shows shows) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\" " + kStandInArgument;
    if (shows == Shows::AWindow) cmd += std::wstring(L" ") + kStandInWindowArgument;
    m_bStarted = CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi);
}

DWORD StandInProcess::WaitExit(DWORD ms) {
    DWORD code = STILL_ACTIVE;
    if (!m_bStarted) return code;
    WaitForSingleObject(m_pi.hProcess, ms);
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void StandInProcess::End() {
    if (!m_bStarted) return;
    TerminateProcess(m_pi.hProcess, 1);
    WaitForSingleObject(m_pi.hProcess, 10000);
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_bStarted = false;
}

}  // namespace vt::test
