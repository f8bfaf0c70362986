#include "assistant/settings/EndAction.h"

namespace vt {

const char* EndActionName(EndAction action) {
    switch (action) {
    case EndAction::ShutDown:
        return "关机";
    case EndAction::Restart:
        return "重启";
    case EndAction::LogOff:
        return "注销";
    case EndAction::Sleep:
        return "睡眠";
    case EndAction::Hibernate:
        return "休眠";
    }
    return "关机";
}

std::optional<EndAction> EndActionFromValue(std::uint32_t value) {
    for (EndAction action : kEndActions)
        if (static_cast<std::uint32_t>(action) == value) return action;
    return std::nullopt;
}

}  // namespace vt
