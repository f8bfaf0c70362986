#include "assistant/app/CommandRequest.h"

namespace vt {
namespace {

JobConditionKind KindOf(CommandWay way) {
    switch (way) {
    case CommandWay::UserIdle:
        return JobConditionKind::UserIdle;
    case CommandWay::NetworkIdle:
        return JobConditionKind::NetworkIdle;
    case CommandWay::CpuIdle:
        return JobConditionKind::CpuIdle;
    default:
        return JobConditionKind::ProgramExit;
    }
}

}  // namespace

std::optional<CountdownRequest> CountdownRequestFor(const LaunchCommand& command) {
    CountdownRequest request;
    switch (command.kind) {
    case LaunchCommand::Kind::None:
    case LaunchCommand::Kind::Usage:
        return std::nullopt;
    case LaunchCommand::Kind::Cancel:
        request.cancel = true;
        return request;
    case LaunchCommand::Kind::Start:
        break;
    }
    request.action = command.action;
    switch (command.way) {
    case CommandWay::Minutes:
        request.way = CountdownWay::Minutes;
        request.minutes = command.minutes;
        break;
    case CommandWay::Clock:
        request.way = CountdownWay::Clock;
        request.clockMinute = static_cast<std::uint32_t>(command.hour * 60 + command.minute);
        break;
    default:
        request.way = CountdownWay::Condition;
        request.condition.kind = KindOf(command.way);
        request.condition.program = command.program;
        request.condition.minutes =
            command.way == CommandWay::ProgramExit ? DefaultJobMinutes(request.condition.kind) : command.minutes;
        break;
    }
    return request;
}

}  // namespace vt
