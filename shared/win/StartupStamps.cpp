#include "shared/win/StartupStamps.h"

#include <windows.h>

#include <cstdio>
#include <iterator>

namespace vt::win {
namespace {

struct Stamps {
    bool checked = false;
    bool on = false;
    wchar_t file[MAX_PATH] = {};
    int count = 0;
    const char* steps[32] = {};
    LARGE_INTEGER at[32] = {};
};

Stamps& TheStamps() {
    static Stamps stamps;
    if (!stamps.checked) {
        stamps.checked = true;
        DWORD n = GetEnvironmentVariableW(L"VT_STARTUP_STAMPS", stamps.file, MAX_PATH);
        stamps.on = n > 0 && n < MAX_PATH;
    }
    return stamps;
}

}  // namespace

void StartupStamp(const char* step) {
    Stamps& s = TheStamps();
    if (!s.on || s.count == static_cast<int>(std::size(s.steps))) return;
    QueryPerformanceCounter(&s.at[s.count]);
    s.steps[s.count++] = step;
}

void WriteStartupStamps() {
    Stamps& s = TheStamps();
    if (!s.on) return;
    s.on = false;
    FILE* f = _wfopen(s.file, L"w");
    if (!f) return;
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::fprintf(f, "%lld\n", static_cast<long long>(freq.QuadPart));
    for (int i = 0; i < s.count; ++i)
        std::fprintf(f, "%lld %s\n", static_cast<long long>(s.at[i].QuadPart), s.steps[i]);
    std::fclose(f);
}

}  // namespace vt::win
