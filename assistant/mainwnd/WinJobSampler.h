#pragma once
// What the countdown's conditions are decided from, read from Windows: the
// toolhelp process snapshot, GetLastInputInfo, the interface table of the IP
// helper (GetIfTable2; delay-loaded, so only a network condition loads it)
// and GetSystemTimes. Each read is made only when asked for.
#include <cstdint>

#include "assistant/mainwnd/JobCondition.h"

namespace vt::win {

class WinJobSampler : public IJobSampler {
public:
    std::optional<std::vector<std::string>> ProcessNames() override;
    std::optional<std::uint64_t> InputAgeMs() override;
    std::optional<std::uint64_t> NetworkBytes() override;
    std::optional<CpuTimes> SystemTimes() override;
};

// Seconds since the system started, sleep included: the clock of JobWatch.
std::uint64_t MonotonicSeconds();

}  // namespace vt::win
