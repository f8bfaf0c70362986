#pragma once
// The countdown set to a time of day ("在 23:30"): how many seconds until
// the next such moment.
#include <cstdint>

#include "shared/core/Clock.h"

namespace vt {

// Seconds from now until the next hour:minute:00 on the local clock: today,
// or tomorrow when that moment has come already (also when it is this very
// second, so a target never ends the countdown at the next tick). A day
// counts 24 hours; 1 to 86400.
std::int32_t SecondsUntilNext(const LocalTime& now, int hour, int minute);

}  // namespace vt
