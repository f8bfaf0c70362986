#include "assistant/reminders/ReminderPower.h"

#include "assistant/reminders/ReminderCodec.h"

namespace vt {

const char* ReminderPowerActionName(ReminderPowerAction action) {
    if (std::optional<EndAction> end = EndActionOf(action)) return EndActionName(*end);
    return action == ReminderPowerAction::Lock ? "锁定" : "仅提醒";
}

std::optional<ReminderPowerAction> ReminderPowerActionFromValue(std::int32_t value) {
    if (value < 0 || value >= kReminderPowerActionCount) return std::nullopt;
    return static_cast<ReminderPowerAction>(value);
}

std::optional<EndAction> EndActionOf(ReminderPowerAction action) {
    switch (action) {
    case ReminderPowerAction::ShutDown:
        return EndAction::ShutDown;
    case ReminderPowerAction::Restart:
        return EndAction::Restart;
    case ReminderPowerAction::LogOff:
        return EndAction::LogOff;
    case ReminderPowerAction::Sleep:
        return EndAction::Sleep;
    case ReminderPowerAction::Hibernate:
        return EndAction::Hibernate;
    case ReminderPowerAction::None:
    case ReminderPowerAction::Lock:
        break;
    }
    return std::nullopt;
}

ReminderPowerAction PowerActionOf(const ReminderItem& item) {
    PowerBlock block = ReadPowerBlock(item);
    if (block.kind != DoneBlockKind::Ours) return ReminderPowerAction::None;
    return ReminderPowerActionFromValue(block.action).value_or(ReminderPowerAction::None);
}

bool CanStorePowerAction(const ReminderItem& item) { return ReadPowerBlock(item).kind != DoneBlockKind::Foreign; }

bool SetPowerAction(ReminderItem& item, ReminderPowerAction action) {
    return WritePowerBlock(item, static_cast<std::int32_t>(action));
}

TickMoment TickAt(const LocalTime& now) {
    TickMoment tick;
    tick.valid = true;
    tick.second = MinuteOf(now) * 60 + now.second;
    return tick;
}

PowerDecision DecidePower(ReminderPowerAction action, LocalMinute occurrence, const TickMoment& previous,
                          const TickMoment& now) {
    if (action == ReminderPowerAction::None) return PowerDecision::None;
    if (!previous.valid || !now.valid || occurrence == kNoOccurrence) return PowerDecision::OnlyName;
    const std::int64_t gap = now.second - previous.second;
    if (gap < 0 || gap > kMaxTickGapSeconds) return PowerDecision::OnlyName;
    // The occurrence came while the ticks watched: in the previous tick's
    // minute (a re-arm at the very minute fires a tick later) or after it.
    const LocalMinute previousMinute = previous.second >= 0 ? previous.second / 60 : -((-previous.second + 59) / 60);
    if (occurrence < previousMinute || occurrence * 60 > now.second) return PowerDecision::OnlyName;
    return PowerDecision::CarryOut;
}

}  // namespace vt
