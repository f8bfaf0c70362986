#include "assistant/mainwnd/WinJobSampler.h"

#include <windows.h>

// The interface table's types come with the sockets' address definitions.
#include <winsock2.h>
#include <ws2ipdef.h>

#include <iphlpapi.h>

#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"
#include "shared/win/ProcessList.h"

namespace vt::win {
namespace {

// Top-level windows other programs made while a hook was in place. The hook
// calls come on the thread that set it, as it takes its messages.
unsigned g_nWindowsCreated = 0;

void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (!hwnd || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    if (GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return;
    // WINEVENT_SKIPOWNPROCESS is not honoured everywhere (Wine).
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != GetCurrentProcessId()) ++g_nWindowsCreated;
}

std::uint64_t FromFileTime(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

std::optional<std::vector<RunningProcess>> WinJobSampler::Processes() {
    std::optional<std::vector<ListedProcess>> listed = ListProcesses();
    if (!listed) return std::nullopt;
    std::vector<RunningProcess> processes;
    processes.reserve(listed->size());
    for (const ListedProcess& process : *listed) processes.push_back({process.id, ToUtf8(process.exeName)});
    return processes;
}

bool WinJobSampler::StartHinted() {
    if (!m_bWatchingStarts) {
        m_bWatchingStarts = true;
        m_windowHook.Reset(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated, 0, 0,
                                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
        // Without the hook a program is still found by the regular looks.
        if (!m_windowHook) NoteIgnored(L"SetWinEventHook");
        m_nWindowsSeen = g_nWindowsCreated;
        return true;
    }
    const bool hinted = g_nWindowsCreated != m_nWindowsSeen;
    m_nWindowsSeen = g_nWindowsCreated;
    return hinted;
}

void WinJobSampler::Release() {
    m_held.clear();
    m_windowHook.Reset();
    m_bWatchingStarts = false;
}

bool WinJobSampler::Hold(const std::vector<std::uint32_t>& ids) {
    Release();
    for (std::uint32_t id : ids) {
        // Opened right after the look that listed it: its id cannot have
        // gone to another process in between unless it ended, and then the
        // next look tells. One that cannot be opened (ended already, or
        // another user's) is looked for instead, with the rest.
        KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        if (!process) {
            m_held.clear();
            return false;
        }
        m_held.push_back(std::move(process));
    }
    return !m_held.empty();
}

std::optional<bool> WinJobSampler::HeldRunning() {
    bool running = false;
    for (const KernelHandle& process : m_held) {
        const DWORD result = WaitForSingleObject(process.Get(), 0);
        if (result == WAIT_FAILED) return std::nullopt;
        running = running || result == WAIT_TIMEOUT;
    }
    return running;
}

std::optional<std::uint64_t> WinJobSampler::InputAgeMs() {
    LASTINPUTINFO input = {};
    input.cbSize = sizeof input;
    if (!GetLastInputInfo(&input)) return std::nullopt;
    // Both are milliseconds of the 32-bit tick count, which wraps after 49.7
    // days: the difference stays right across a wrap. An input stamped after
    // the tick was read (it came in between) is one that just happened.
    const DWORD age = GetTickCount() - input.dwTime;
    return age > 0x80000000u ? 0 : age;
}

std::optional<std::uint64_t> WinJobSampler::NetworkBytes() {
    MIB_IF_TABLE2* table = nullptr;
    if (GetIfTable2(&table) != NO_ERROR || !table) return std::nullopt;
    std::uint64_t bytes = 0;
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = table->Table[i];
        // Filter layers repeat the counters of the adapter they sit on.
        if (row.Type == IF_TYPE_SOFTWARE_LOOPBACK || row.InterfaceAndOperStatusFlags.FilterInterface) continue;
        bytes += row.InOctets + row.OutOctets;
    }
    FreeMibTable(table);
    return bytes;
}

std::optional<CpuTimes> WinJobSampler::SystemTimes() {
    FILETIME idle = {}, kernel = {}, user = {};
    if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
    return CpuTimes{FromFileTime(idle), FromFileTime(kernel), FromFileTime(user)};
}

std::uint64_t MonotonicSeconds() { return GetTickCount64() / 1000; }

}  // namespace vt::win
