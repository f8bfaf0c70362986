#pragma once
// When a transfer lets the window's messages through: by the clock, not by
// what was read. A fast download then does not stop to look at an empty
// queue after every block, and a slow one still keeps the window live.
#include <cstdint>
#include <functional>

namespace vt {

// The longest a transfer goes between two looks at the window's messages,
// as long as its reads return; a read that waits for the network looks
// from its wait handler, on the same schedule.
constexpr std::uint64_t kPumpIntervalMs = 25;
// Messages taken per look at most; a look ends early at an empty queue.
constexpr int kPumpAttempts = 10;

// Milliseconds on a clock that never goes back; any start.
using MonotonicClock = std::function<std::uint64_t()>;
std::uint64_t SteadyMilliseconds();

class PumpPacer {
public:
    explicit PumpPacer(MonotonicClock now = SteadyMilliseconds) : m_now(std::move(now)) {}

    // True when the window's messages are due: at the first call, then once
    // kPumpIntervalMs have passed since the last true. The caller pumps.
    bool Due();
    // Makes the next Due true: a new transfer looks at the messages as
    // soon as it waits or its first block is in.
    void Restart() { m_bStarted = false; }

private:
    MonotonicClock m_now;
    std::uint64_t m_nLastMs = 0;
    bool m_bStarted = false;
};

}  // namespace vt
