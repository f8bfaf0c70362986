#include "assistant/mainwnd/ClockTarget.h"

namespace vt {

std::int32_t SecondsUntilNext(const LocalTime& now, int hour, int minute) {
    constexpr std::int32_t kDay = 24 * 60 * 60;
    const std::int32_t target = (hour * 60 + minute) * 60;
    const std::int32_t current = (now.hour * 60 + now.minute) * 60 + now.second;
    std::int32_t seconds = target - current;
    if (seconds <= 0) seconds += kDay;
    return seconds;
}

}  // namespace vt
