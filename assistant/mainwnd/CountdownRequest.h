#pragma once
// A countdown asked for from outside the form (the command line): set one
// way and start it, or stop whatever runs or waits.
#include <cstdint>
#include <optional>

#include "assistant/settings/EndAction.h"
#include "assistant/settings/JobConditionSetting.h"

namespace vt {

enum class CountdownWay { Minutes, Clock, Condition };

struct CountdownRequest {
    bool cancel = false;
    CountdownWay way = CountdownWay::Minutes;
    std::uint32_t minutes = 1;             // Minutes
    std::uint32_t clockMinute = 0;         // Clock: minutes after midnight
    JobCondition condition{};              // Condition
    std::optional<EndAction> action = {};  // none: the form's choice
};

}  // namespace vt
