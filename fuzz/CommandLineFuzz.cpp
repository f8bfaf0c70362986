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

bool Same(const vt::CountdownRequest& a, const vt::CountdownRequest& b) {
    return a.cancel == b.cancel && a.way == b.way && a.minutes == b.minutes && a.clockMinute == b.clockMinute &&
           a.condition.kind == b.condition.kind && a.condition.program == b.condition.program &&
           a.condition.minutes == b.condition.minutes && a.action == b.action;
}

bool Same(const vt::LaunchCommand& a, const vt::LaunchCommand& b) {
    return a.kind == b.kind && a.request.has_value() == b.request.has_value() &&
           (!a.request || Same(*a.request, *b.request));
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
        VT_FUZZ_CHECK(got->request && got->request->cancel == (got->kind == vt::LaunchCommand::Kind::Cancel));
        if (got->kind == vt::LaunchCommand::Kind::Start) {
            const vt::CountdownRequest& request = *got->request;
            switch (request.way) {
            case vt::CountdownWay::Minutes:
                VT_FUZZ_CHECK(request.minutes >= vt::kCommandMinMinutes && request.minutes <= vt::kCommandMaxMinutes);
                break;
            case vt::CountdownWay::Clock:
                VT_FUZZ_CHECK(request.clockMinute < 24 * 60);
                break;
            case vt::CountdownWay::Condition:
                // The form refuses a condition it cannot arm.
                VT_FUZZ_CHECK(vt::IsValid(request.condition));
                if (request.condition.kind == vt::JobConditionKind::ProgramExit)
                    VT_FUZZ_CHECK(request.condition.program.find_first_of("\\/:") == std::string::npos);
                break;
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
