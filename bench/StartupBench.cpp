// Start-up time of a program: from CreateProcess to its window existing
// (found by title), median of several runs. Prints the median, the fastest
// and the slowest run in milliseconds.
//   startup_bench <exe> <window title> [runs] [show command]
// With a show command the clock stops only once the program's message loop
// has run: the command (a WM_COMMAND id that shows the window) is posted to
// the window as soon as it exists, and the run ends when the window is
// visible. A window exists before its program has finished starting (the
// assistant creates its main window, then loads its reminders), and a sent
// message can be answered early while the program waits in a SendMessage of
// its own; a posted one is handled by the loop only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    int runs = argc > 3 ? _wtoi(argv[3]) : 7;
    WPARAM showCommand = argc > 4 ? static_cast<WPARAM>(_wtoi(argv[4])) : 0;
    std::vector<double> times;
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < runs; ++i) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        if (!CreateProcessW(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
        HWND found = nullptr;
        for (int spin = 0; spin < 200000 && !found; ++spin) {
            found = FindWindowW(nullptr, argv[2]);
            if (!found) Sleep(1);
        }
        bool ready = found != nullptr;
        if (found && showCommand) {
            PostMessageW(found, WM_COMMAND, showCommand, 0);
            ready = false;
            for (int spin = 0; spin < 200000 && !ready && IsWindow(found); ++spin) {
                ready = IsWindowVisible(found) != FALSE;
                if (!ready) Sleep(1);
            }
        }
        QueryPerformanceCounter(&t1);
        if (ready) times.push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart);
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        Sleep(200);
    }
    if (times.empty()) return 1;
    std::sort(times.begin(), times.end());
    std::printf("%.1f %.1f %.1f\n", times[times.size() / 2], times.front(), times.back());
    return 0;
}
