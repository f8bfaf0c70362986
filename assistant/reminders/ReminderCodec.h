#pragma once
// Reminder records to and from the bytes of Notify.dat. The file is nothing
// but whole records one after another, so this is the whole format; the file
// access itself is in ReminderFile.h. ParseReminderBytes is also the entry
// point of the loader's fuzz target.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assistant/calendar/Occurrences.h"
#include "assistant/reminders/ReminderItem.h"

namespace vt {

// Integers are written little-endian whatever the host's byte order.
void EncodeReminder(const ReminderItem& item, unsigned char* out);  // kReminderItemSize bytes
ReminderItem DecodeReminder(const unsigned char* in);               // kReminderItemSize bytes
// A record whose bytes were read from the file straight into it: the same
// as decoding them (nothing to do on a little-endian host).
void FromFileByteOrder(ReminderItem& item);

// The done-through block: 16 bytes at the start of the reserved area after
// alertTicks, which programs before it leave zero and never read.
//   +0   4  tag "VtDn"
//   +4   8  done-through moment, signed little-endian, minutes since
//           1970-01-01 0:00 local time (LocalMinute)
//   +12  4  check value: FNV-1a (32-bit) of the 12 bytes before it
// Bytes another writer left there are told apart by the tag and the check
// value, and are never overwritten.
constexpr std::size_t kDoneBlockOffset = 4140;
constexpr std::size_t kDoneBlockSize = 16;

enum class DoneBlockKind {
    Empty,    // all zero: a record from before the block, or a new one
    Ours,     // a valid block
    Foreign,  // something else lies there
};

struct DoneBlock {
    DoneBlockKind kind = DoneBlockKind::Empty;
    LocalMinute doneThrough = kNothingDone;  // valid for Ours
};

DoneBlock ReadDoneBlock(const ReminderItem& item);
// Writes the block where the area is all zero or already ours; false, and
// the record unchanged, where another writer's bytes lie there.
bool WriteDoneBlock(ReminderItem& item, LocalMinute doneThrough);

// The power block: the 16 bytes right after the done-through block, what the
// reminder does to the computer when an occurrence comes (ReminderPower.h).
//   +0   4  tag "VtPw"
//   +4   4  action, signed little-endian (ReminderPowerAction; 0 is none)
//   +8   4  zero, kept for later use
//   +12  4  check value: FNV-1a (32-bit) of the 12 bytes before it
// A reminder without an action has the 16 bytes zero, exactly as a record
// from before the block, so it is written only for an action. Bytes another
// writer left there are told apart and kept as the done-through block's are.
constexpr std::size_t kPowerBlockOffset = kDoneBlockOffset + kDoneBlockSize;  // 4156
constexpr std::size_t kPowerBlockSize = 16;

struct PowerBlock {
    DoneBlockKind kind = DoneBlockKind::Empty;
    std::int32_t action = 0;  // valid for Ours; any value a later copy wrote
};

PowerBlock ReadPowerBlock(const ReminderItem& item);
// Writes the action (0: the 16 bytes zero) where the area is all zero or
// already ours; false, and the record unchanged, where another writer's bytes
// lie there.
bool WritePowerBlock(ReminderItem& item, std::int32_t action);

// Alerting and Snoozed must not survive a restart: their alert windows are
// gone. Every value but Expired becomes Ready, unknown ones included.
void ApplyLoadStateRule(ReminderItem& item);

struct ParsedReminders {
    std::vector<ReminderItem> items;  // the whole records, state rule applied
    std::size_t fragmentBytes = 0;    // trailing bytes too few for a record
};

// A trailing fragment is never turned into a record: the format has no way
// to tell what it was, and padding it would invent a reminder.
ParsedReminders ParseReminderBytes(const unsigned char* data, std::size_t size);

std::vector<unsigned char> SerializeReminders(const std::vector<ReminderItem>& items);

}  // namespace vt
