#include "assistant/mainwnd/WinJobSampler.h"

#include <windows.h>

// The interface table's types come with the sockets' address definitions.
#include <winsock2.h>
#include <ws2ipdef.h>

#include <iphlpapi.h>
#include <tlhelp32.h>

#include "shared/win/Encoding.h"
#include "shared/win/Handles.h"

namespace vt::win {
namespace {

std::uint64_t FromFileTime(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

std::optional<std::vector<std::string>> WinJobSampler::ProcessNames() {
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return std::nullopt;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    // The snapshot holds this very process at least: an empty one failed.
    if (!Process32FirstW(snapshot.Get(), &entry)) return std::nullopt;
    std::vector<std::string> names;
    do {
        names.push_back(ToUtf8(entry.szExeFile));
    } while (Process32NextW(snapshot.Get(), &entry));
    return names;
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
