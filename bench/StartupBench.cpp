// Start-up time of a program: from CreateProcess to its window existing
// (found by title), median of several runs. Prints the median, the fastest
// and the slowest run in milliseconds.
//   startup_bench <exe> <window title> [runs] [show command] [<exe2> <title2>]...
// With a show command the clock stops only once the program's message loop
// has run: the command (a WM_COMMAND id that shows the window) is posted to
// the window as soon as it exists, and the run ends when the window is
// visible. A window exists before its program has finished starting (the
// assistant creates its main window, then loads its reminders), and a sent
// message can be answered early while the program waits in a SendMessage of
// its own; a posted one is handled by the loop only. A show command of 0
// stops at the window.
//
// With more programs the runs take turns (first, second, ..., first, ...)
// and each program gets a line of its own, in the order given: on a machine
// shared with other work, a burst of load then slows all of them alike and
// their ratios stay fair.
//
// Where one start's time goes:
//   startup_bench --steps <exe> <title> <runs> <show command> <stamps file>
// starts the program with VT_STARTUP_STAMPS naming the stamps file, in which
// the program notes the moment of each of its start-up steps; prints for
// each step the medians of its moment (ms since CreateProcess) and of its
// own time, then those of the window turning visible.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

// One start; a negative time when the window never came.
double TimeOneStart(const wchar_t* exe, const wchar_t* title, WPARAM showCommand, LARGE_INTEGER freq,
                    LARGE_INTEGER* started = nullptr, const wchar_t* awaitFile = nullptr) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (started) *started = t0;
    if (!CreateProcessW(exe, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    HWND found = nullptr;
    for (int spin = 0; spin < 200000 && !found; ++spin) {
        found = FindWindowW(nullptr, title);
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
    // The program writes its stamps once its start is complete, which may
    // be after its window shows.
    for (int spin = 0; ready && awaitFile && spin < 500 && GetFileAttributesW(awaitFile) == INVALID_FILE_ATTRIBUTES;
         ++spin)
        Sleep(10);
    if (awaitFile) Sleep(50);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    Sleep(200);
    return ready ? 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart : -1;
}

bool PrintFigures(std::vector<double> times) {
    if (times.empty()) return false;
    std::sort(times.begin(), times.end());
    std::printf("%.1f %.1f %.1f\n", times[times.size() / 2], times.front(), times.back());
    return true;
}

// The stamps file: the counter's frequency on the first line, then one line
// per step, "<counter> <step>". One run: appends each step's moment (ms since
// CreateProcess) to steps, in order, and the moment the window showed last.
bool StepsOfOneStart(const wchar_t* exe, const wchar_t* title, WPARAM showCommand, const wchar_t* stampsFile,
                     std::vector<std::pair<std::string, double>>& steps) {
    DeleteFileW(stampsFile);
    SetEnvironmentVariableW(L"VT_STARTUP_STAMPS", stampsFile);
    LARGE_INTEGER freq, t0;
    QueryPerformanceFrequency(&freq);
    const double visible = TimeOneStart(exe, title, showCommand, freq, &t0, stampsFile);
    SetEnvironmentVariableW(L"VT_STARTUP_STAMPS", nullptr);
    FILE* f = visible < 0 ? nullptr : _wfopen(stampsFile, L"r");
    if (!f) return false;
    long long theirFreq = 0, stamp = 0;
    char step[128];
    bool ok = std::fscanf(f, "%lld", &theirFreq) == 1 && theirFreq == freq.QuadPart;
    while (ok && std::fscanf(f, "%lld %127s", &stamp, step) == 2)
        steps.emplace_back(step, 1000.0 * static_cast<double>(stamp - t0.QuadPart) / freq.QuadPart);
    std::fclose(f);
    steps.emplace_back("visible", visible);
    return ok;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Per step, over the runs: the median of its moment and of its own time
// (since the step before it).
int PrintSteps(const wchar_t* exe, const wchar_t* title, int runs, WPARAM showCommand, const wchar_t* stampsFile) {
    std::vector<std::string> names;
    std::vector<std::vector<double>> at, own;
    for (int i = 0; i < runs; ++i) {
        std::vector<std::pair<std::string, double>> steps;
        if (!StepsOfOneStart(exe, title, showCommand, stampsFile, steps)) return 1;
        for (std::size_t k = 0; k < steps.size(); ++k) {
            if (k == names.size()) {
                names.push_back(steps[k].first);
                at.emplace_back();
                own.emplace_back();
            }
            if (names[k] != steps[k].first) return 1;  // the steps came in another order
            at[k].push_back(steps[k].second);
            // The window may show before the start's deferred work: its
            // own time is that of the program's steps.
            own[k].push_back(names[k] == "visible" ? 0 : steps[k].second - (k ? steps[k - 1].second : 0));
        }
    }
    std::printf("%8s %8s  step (medians of %d runs, ms: since CreateProcess, own time)\n", "at", "own", runs);
    std::vector<std::size_t> order(names.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return Median(at[a]) < Median(at[b]); });
    for (std::size_t k : order) std::printf("%8.1f %8.1f  %s\n", Median(at[k]), Median(own[k]), names[k].c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 7 && std::wcscmp(argv[1], L"--steps") == 0)
        return PrintSteps(argv[2], argv[3], _wtoi(argv[4]), static_cast<WPARAM>(_wtoi(argv[5])), argv[6]);
    if (argc < 3) return 2;
    int runs = argc > 3 ? _wtoi(argv[3]) : 7;
    WPARAM showCommand = argc > 4 ? static_cast<WPARAM>(_wtoi(argv[4])) : 0;
    struct Program {
        const wchar_t* exe;
        const wchar_t* title;
        std::vector<double> times;
    };
    std::vector<Program> programs{{argv[1], argv[2], {}}};
    for (int a = 5; a + 1 < argc; a += 2) programs.push_back({argv[a], argv[a + 1], {}});
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    // Each round begins with the next program: the start right after the
    // previous round's last program pays for its end (the tray, the
    // prefix's services), and that must not always fall on the same one.
    for (int i = 0; i < runs; ++i) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program& p = programs[(i + k) % programs.size()];
            double t = TimeOneStart(p.exe, p.title, showCommand, freq);
            if (t >= 0) p.times.push_back(t);
        }
    }
    int status = 0;
    for (const Program& p : programs)
        if (!PrintFigures(p.times)) {
            std::printf("- - -\n");
            status = 1;
        }
    return status;
}
