#include "shared/win/ProcessList.h"

#include <windows.h>

#include <winternl.h>

namespace vt::win {
namespace {

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

}  // namespace

std::optional<std::vector<ListedProcess>> ListProcesses() {
    // The table's size from the last call, with room for a few more: a
    // call that finds the buffer too small costs nearly as much as one
    // that fills it.
    static ULONG s_nSizeHint = 64 * 1024;
    std::vector<ULONGLONG> buffer;  // the entries hold 8-byte fields
    for (int attempt = 0; attempt < 4; ++attempt) {
        buffer.resize(s_nSizeHint / sizeof(ULONGLONG) + 1);
        ULONG needed = 0;
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG));
        const NTSTATUS status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(), size, &needed);
        if (status == kInfoLengthMismatch) {
            // Processes may start between two calls.
            s_nSizeHint = (needed > size ? needed : size * 2) + 16 * 1024;
            continue;
        }
        if (!NT_SUCCESS(status)) return std::nullopt;
        std::vector<ListedProcess> processes;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        for (ULONG offset = 0;;) {
            const auto& entry = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(bytes + offset);
            const UNICODE_STRING& name = entry.ImageName;
            processes.push_back({static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(entry.UniqueProcessId)),
                                 name.Buffer ? std::wstring(name.Buffer, name.Length / sizeof(wchar_t)) : L""});
            if (!entry.NextEntryOffset) break;
            offset += entry.NextEntryOffset;
            if (offset + sizeof entry > size) return std::nullopt;  // a table that points past itself
        }
        return processes;
    }
    return std::nullopt;
}

}  // namespace vt::win
