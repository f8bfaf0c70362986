#pragma once
// What the countdown's conditions are decided from, read from Windows: the
// process table, the held processes' handles, new top-level windows of other
// programs (an out-of-context WinEvent hook, so the thread that asks must
// take its messages), GetLastInputInfo, the
// interface table of the IP helper (GetIfTable2; delay-loaded, so only a
// network condition loads it) and GetSystemTimes. Each read is made only
// when asked for.
#include <cstdint>
#include <vector>

#include "assistant/mainwnd/JobCondition.h"
#include "shared/win/Handles.h"

namespace vt::win {

class WinJobSampler : public IJobSampler {
public:
    std::optional<std::vector<RunningProcess>> Processes() override;
    bool StartHinted() override;
    // Held by handles that may only be waited on.
    bool Hold(const std::vector<std::uint32_t>& ids) override;
    std::optional<bool> HeldRunning() override;
    void Release() override;
    std::optional<std::uint64_t> InputAgeMs() override;
    std::optional<std::uint64_t> NetworkBytes() override;
    std::optional<CpuTimes> SystemTimes() override;

private:
    std::vector<KernelHandle> m_held;
    WinEventHookHandle m_windowHook;
    bool m_bWatchingStarts = false;
    unsigned m_nWindowsSeen = 0;  // of the hook's count
};

// Seconds since the system started, sleep included: the clock of JobWatch.
std::uint64_t MonotonicSeconds();

}  // namespace vt::win
