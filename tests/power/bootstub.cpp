// Stands in for Wine's wineboot.exe in the power test's own prefix. Under Wine,
// ExitWindowsEx starts "wineboot --kill [--shutdown]", which would end every
// process of the prefix; this stand-in only notes its command line in the
// file named by VT_POWER_LOG, so the assistant has to end by itself.
#include <windows.h>

int wmain() {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VT_POWER_LOG", path, MAX_PATH)) return 0;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const wchar_t* line = GetCommandLineW();
    char utf8[2048] = {};
    int n = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8 - 2, nullptr, nullptr);
    if (n > 0) {
        utf8[n - 1] = '\n';
        DWORD written = 0;
        WriteFile(file, utf8, static_cast<DWORD>(n), &written, nullptr);
    }
    CloseHandle(file);
    return 0;
}
