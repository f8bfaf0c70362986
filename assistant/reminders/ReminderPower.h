#pragma once
// A reminder that ends in a power action: "每个法定工作日 18:30 关机". The
// action lies in the record's power block (ReminderCodec.h); a record without
// one only reminds, as every reminder did before.
//
// An occurrence's action is carried out only when the program saw the
// occurrence come: its ticks ran on without a gap up to it. One that came
// while the computer was off or asleep, or while the clock jumped forward,
// or that fires at once after an edit or a load, is only named in the alert's
// missed note: a shutdown missed at 18:30 must not shut the computer down
// when it starts the next morning.
#include <cstdint>
#include <optional>

#include "assistant/calendar/Occurrences.h"
#include "assistant/reminders/ReminderItem.h"
#include "assistant/settings/EndAction.h"
#include "shared/core/Clock.h"

namespace vt {

// The numbers are what the power block keeps: never renumber. The order is
// the editor's drop-down's.
enum class ReminderPowerAction : std::int32_t {
    None = 0,  // 仅提醒
    ShutDown = 1,
    Restart = 2,
    LogOff = 3,
    Sleep = 4,
    Hibernate = 5,
    Lock = 6,
};
constexpr int kReminderPowerActionCount = 7;

// "仅提醒", "关机", "重启", "注销", "睡眠", "休眠", "锁定" (UTF-8); the five the
// countdown knows are named as its end actions are.
const char* ReminderPowerActionName(ReminderPowerAction action);
// A stored number; nothing for a number no action has (a later copy's).
std::optional<ReminderPowerAction> ReminderPowerActionFromValue(std::int32_t value);
// The countdown's end action that carries it out; nothing for None and Lock
// (locking has no last minute: it locks at once).
std::optional<EndAction> EndActionOf(ReminderPowerAction action);

// The record's action: None without a power block, with another writer's
// bytes there, or with a number this copy does not know.
ReminderPowerAction PowerActionOf(const ReminderItem& item);
// Whether the record can take an action: false where another writer's bytes
// lie in the power block (they are kept, and the reminder only reminds).
bool CanStorePowerAction(const ReminderItem& item);
// Stores the action (None clears the block); false, and the record
// unchanged, where CanStorePowerAction is false.
bool SetPowerAction(ReminderItem& item, ReminderPowerAction action);

// A tick of the reminder clock to the second.
struct TickMoment {
    bool valid = false;  // false before the first tick
    std::int64_t second = 0;
};
TickMoment TickAt(const LocalTime& now);

// Ticks further apart than this, or going backwards, are a gap: the computer
// slept, or the clock was set. A busy moment that holds the timer back a few
// seconds is not.
constexpr std::int64_t kMaxTickGapSeconds = 10;

enum class PowerDecision {
    None,      // the reminder has no action
    CarryOut,  // due now: the last minute begins (锁定: it locks at once)
    OnlyName,  // missed: the alert names it, the action never runs
};

// For a reminder with `action` that fires at the tick `now` (the previous tick
// `previous`) for the occurrence `occurrence` (its latest at or before now).
// Carried out when the ticks ran on without a gap and the occurrence lies no
// earlier than the previous tick's minute.
PowerDecision DecidePower(ReminderPowerAction action, LocalMinute occurrence, const TickMoment& previous,
                          const TickMoment& now);

}  // namespace vt
