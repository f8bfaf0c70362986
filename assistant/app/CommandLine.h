#pragma once
// Vantrel.exe's command line: set the countdown one way and start it, stop
// it, or show the usage. Arguments are UTF-8 strings as the caller split
// them. A copy that finds another one running hands the same arguments over
// (WM_COPYDATA) and the running copy parses them again with this parser, so
// both sides agree on what a command means.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assistant/mainwnd/CountdownRequest.h"

namespace vt {

struct LaunchCommand {
    enum class Kind {
        None,    // no arguments: start-up as always
        Start,   // set the countdown as the request says and start it
        Cancel,  // /cancel: stop whatever runs or waits
        Usage,   // /?: show the usage
    };
    Kind kind = Kind::None;
    // What the countdown form carries out, for Start and Cancel only. Start:
    // one way with its value (the minutes of /in and of the idle conditions
    // 1 to 65535, the program of /when-exit as given, UTF-8) and the action
    // of /action, if any.
    std::optional<CountdownRequest> request;
};

inline constexpr std::uint32_t kCommandMinMinutes = 1;
inline constexpr std::uint32_t kCommandMaxMinutes = 65535;

struct CommandParse {
    bool ok = false;
    LaunchCommand command;
    std::string error;  // what is wrong, naming the argument (UTF-8)
};

CommandParse ParseCommandLine(const std::vector<std::string>& args);

// The usage (UTF-8): every switch with a line on what it does, and examples.
const std::string& CommandUsage();
// The message box text for a refused command line: what is wrong, then the usage.
std::string CommandErrorText(const CommandParse& parse);

// WM_COPYDATA from a new copy to the running one: dwData is this tag, the
// payload the arguments in order, each UTF-8 and ended by a zero byte.
inline constexpr std::uint32_t kCommandCopyDataTag = 0x56544331;  // "VTC1"
inline constexpr std::size_t kCommandPayloadLimit = 4096;
inline constexpr std::size_t kCommandArgumentLimit = 16;

std::string EncodeCommandPayload(const std::vector<std::string>& args);
// The command a payload carries, when it is one the running copy carries
// out (Start or Cancel); nothing for a foreign tag, a payload too long, not
// ended, not UTF-8, with too many arguments or arguments the parser refuses.
std::optional<LaunchCommand> DecodeCommandPayload(std::uint64_t tag, const void* data, std::size_t size);

// What the new copy's process ends with.
inline constexpr int kExitAccepted = 0;         // the running copy took the command
inline constexpr int kExitRefused = 1;          // the running copy refused it
inline constexpr int kExitBadArguments = 2;     // the command line itself is wrong
inline constexpr int kExitNoRunningWindow = 3;  // a copy runs but its window never answered

}  // namespace vt
