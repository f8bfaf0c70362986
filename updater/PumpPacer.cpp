#include "updater/PumpPacer.h"

#include <chrono>

namespace vt {

std::uint64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool PumpPacer::Due() {
    const std::uint64_t now = m_now();
    if (m_bStarted && now - m_nLastMs < kPumpIntervalMs) return false;
    m_bStarted = true;
    m_nLastMs = now;
    return true;
}

}  // namespace vt
