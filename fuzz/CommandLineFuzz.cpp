// libFuzzer target: the command line another copy hands over (WM_COPYDATA
// payload) and the parser behind it, on arbitrary bytes. A payload is
// either refused or carries a command the running copy can carry out, and
// re-encoding its arguments gives the same command.
#include <cstdint>
#include <string>
#include <vector>

#include "assistant/app/CommandLine.h"
#include "fuzz/FuzzCheck.h"

namespace {

bool Same(const vt::LaunchCommand& a, const vt::LaunchCommand& b) {
    return a.kind == b.kind && a.way == b.way && a.minutes == b.minutes && a.hour == b.hour && a.minute == b.minute &&
           a.program == b.program && a.action == b.action;
}

std::vector<std::string> Split(const std::string& payload) {
    std::vector<std::string> args;
    std::string current;
    for (char c : payload) {
        if (c == '\0') {
            args.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string payload(reinterpret_cast<const char*>(data), size);
    const auto got = vt::DecodeCommandPayload(vt::kCommandCopyDataTag, payload.data(), payload.size());
    if (got) {
        VT_FUZZ_CHECK(size <= vt::kCommandPayloadLimit && payload.back() == '\0');
        VT_FUZZ_CHECK(got->kind == vt::LaunchCommand::Kind::Start || got->kind == vt::LaunchCommand::Kind::Cancel);
        if (got->kind == vt::LaunchCommand::Kind::Start) {
            switch (got->way) {
            case vt::CommandWay::Clock:
                VT_FUZZ_CHECK(got->hour >= 0 && got->hour <= 23 && got->minute >= 0 && got->minute <= 59);
                break;
            case vt::CommandWay::ProgramExit:
                VT_FUZZ_CHECK(!got->program.empty() && got->program.find_first_of("\\/:") == std::string::npos);
                break;
            default:
                VT_FUZZ_CHECK(got->minutes >= vt::kCommandMinMinutes && got->minutes <= vt::kCommandMaxMinutes);
            }
        }
        const std::vector<std::string> args = Split(payload);
        VT_FUZZ_CHECK(vt::EncodeCommandPayload(args) == payload);
        const vt::CommandParse again = vt::ParseCommandLine(args);
        VT_FUZZ_CHECK(again.ok && Same(again.command, *got));
    }
    // The same bytes as a command line of the starting copy: any argument
    // list parses to a command or to a message that says what is wrong.
    const vt::CommandParse parse = vt::ParseCommandLine(Split(payload + '\0'));
    VT_FUZZ_CHECK(parse.ok != !parse.error.empty());
    return 0;
}
