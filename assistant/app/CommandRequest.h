#pragma once
// What a command line asks of the countdown form.
#include <optional>

#include "assistant/app/CommandLine.h"
#include "assistant/mainwnd/CountdownRequest.h"

namespace vt {

// Start and Cancel; nothing for the commands the form has no part in (None, Usage).
std::optional<CountdownRequest> CountdownRequestFor(const LaunchCommand& command);

}  // namespace vt
