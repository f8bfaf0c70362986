#pragma once
// One reminder as it lies in Notify.dat: a fixed 8276-byte record of 32-bit
// little-endian integers and 1024-byte zero-terminated text fields. The same
// layout is used in memory, so a record travels through the editor, the
// ticker and the file unchanged apart from the fields each of them sets.
//
// Integer fields stay plain int32 because the file may hold any value;
// compare them with the enumerations through the helpers below. Text fields
// hold code page 936 text; SetText keeps at most 1023 bytes of it and zeroes
// the rest of the field.
#include <cstddef>
#include <cstdint>

#include "assistant/calendar/RepeatKind.h"
#include "shared/core/Gbk.h"
#include "shared/core/Text.h"

namespace vt {

enum class ReminderState : std::int32_t {
    Ready = 0,
    Alerting = 1,
    Snoozed = 2,
    Expired = 3,
};

constexpr std::size_t kReminderTextSize = 1024;
constexpr std::size_t kReminderTextMax = kReminderTextSize - 1;

struct ReminderItem {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
    std::int32_t repeat;  // a RepeatKind when the record is sound
    std::int32_t hour;
    std::int32_t minute;
    char title[kReminderTextSize];
    char content[kReminderTextSize];
    char command[kReminderTextSize];
    char music[kReminderTextSize];
    unsigned char reserved1[12];
    std::int32_t state;  // a ReminderState when the record is sound
    std::int32_t alertTicks;
    unsigned char reserved2[4136];  // opens with the done-through block (ReminderCodec.h)
};

constexpr std::size_t kReminderItemSize = 8276;

static_assert(sizeof(ReminderItem) == kReminderItemSize, "record size is fixed by the file");
static_assert(offsetof(ReminderItem, year) == 0, "layout");
static_assert(offsetof(ReminderItem, month) == 4, "layout");
static_assert(offsetof(ReminderItem, day) == 8, "layout");
static_assert(offsetof(ReminderItem, repeat) == 12, "layout");
static_assert(offsetof(ReminderItem, hour) == 16, "layout");
static_assert(offsetof(ReminderItem, minute) == 20, "layout");
static_assert(offsetof(ReminderItem, title) == 24, "layout");
static_assert(offsetof(ReminderItem, content) == 1048, "layout");
static_assert(offsetof(ReminderItem, command) == 2072, "layout");
static_assert(offsetof(ReminderItem, music) == 3096, "layout");
static_assert(offsetof(ReminderItem, reserved1) == 4120, "layout");
static_assert(offsetof(ReminderItem, state) == 4132, "layout");
static_assert(offsetof(ReminderItem, alertTicks) == 4136, "layout");
static_assert(offsetof(ReminderItem, reserved2) == 4140, "layout");

// A record with every byte zero: a Once reminder in state Ready dated 0-0-0.
ReminderItem ZeroReminder();

// Bounded copy into one of the text fields (at most 1023 bytes, never half a
// character, rest zero).
template <std::size_t N>
void SetText(char (&field)[N], const Gbk& text) {
    static_assert(N == kReminderTextSize, "reminder text fields only");
    CopyBounded(field, N, text.Fit(kReminderTextMax).Bytes());
}
template <std::size_t N>
Gbk GetText(const char (&field)[N]) {
    return Gbk(FieldText(field, N));
}

inline bool HasState(const ReminderItem& item, ReminderState s) { return item.state == static_cast<std::int32_t>(s); }
inline void SetState(ReminderItem& item, ReminderState s) { item.state = static_cast<std::int32_t>(s); }

// Alerting and Snoozed: an alert window for the reminder is open, so the
// editor must not replace the record underneath it.
bool IsAlertOpen(const ReminderItem& item);

}  // namespace vt
