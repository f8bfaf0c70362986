#pragma once
// What happens when the countdown runs out. Shutting down is what the
// countdown has always done; the others end the logon in other ways, or only
// put the computer to sleep, and then the assistant keeps running.
#include <cstdint>
#include <optional>

namespace vt {

// The numbers are what the settings store keeps: never renumber.
enum class EndAction : std::uint32_t { ShutDown = 0, Restart = 1, LogOff = 2, Sleep = 3, Hibernate = 4 };

inline constexpr EndAction kEndActions[] = {EndAction::ShutDown, EndAction::Restart, EndAction::LogOff,
                                            EndAction::Sleep, EndAction::Hibernate};

// The action's name as the drop-down lists show it and the status line
// names it: "关机", "重启", "注销", "睡眠", "休眠" (UTF-8).
const char* EndActionName(EndAction action);

// A stored number; nothing for a number no action has.
std::optional<EndAction> EndActionFromValue(std::uint32_t value);

// Shut down, restart and log off end the logon and the assistant with it;
// sleep and hibernate come back to a running assistant.
inline bool EndsLogon(EndAction action) { return action != EndAction::Sleep && action != EndAction::Hibernate; }

}  // namespace vt
