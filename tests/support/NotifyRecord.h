#pragma once
// Notify.dat records as bytes, for the tests that hand the real assistant a
// file and read back what it saved: written as another copy of the program
// would, at the offsets the product's layout names (ReminderItem.h; the
// done-through block in ReminderCodec.h).
#include <cstddef>
#include <cstdint>
#include <string>

#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderItem.h"

namespace vt::test {

constexpr std::size_t kRecordSize = kReminderItemSize;
constexpr std::size_t kStateOffset = offsetof(ReminderItem, state);
constexpr std::size_t kTicksOffset = offsetof(ReminderItem, alertTicks);

inline void PutRecordInt(std::string& rec, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        rec[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

inline std::int32_t GetRecordInt(const std::string& rec, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(rec[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

struct RecordTime {
    int year, month, day, hour, minute;
};

// One record as a copy from before the done-through block writes it; title
// and content are code page 936 bytes (at most 1023 each).
inline std::string NotifyRecord(RepeatKind kind, const RecordTime& at, const std::string& title,
                                const std::string& content = "", ReminderState state = ReminderState::Ready) {
    std::string rec(kRecordSize, '\0');
    PutRecordInt(rec, offsetof(ReminderItem, year), at.year);
    PutRecordInt(rec, offsetof(ReminderItem, month), at.month);
    PutRecordInt(rec, offsetof(ReminderItem, day), at.day);
    PutRecordInt(rec, offsetof(ReminderItem, repeat), static_cast<std::int32_t>(kind));
    PutRecordInt(rec, offsetof(ReminderItem, hour), at.hour);
    PutRecordInt(rec, offsetof(ReminderItem, minute), at.minute);
    rec.replace(offsetof(ReminderItem, title), title.size(), title);
    rec.replace(offsetof(ReminderItem, content), content.size(), content);
    PutRecordInt(rec, kStateOffset, static_cast<std::int32_t>(state));
    return rec;
}

}  // namespace vt::test
