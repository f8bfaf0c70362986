#pragma once
// Record builders for the reminder tests, with the stand-ins they use: the
// in-memory file system and the settable clock (tests/support).
#include <cstring>
#include <string>

#include "assistant/calendar/Calendar.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"
#include "shared/core/FileSystem.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/MemoryFileSystem.h"

namespace vt::test {

inline ReminderItem MakeReminder(RepeatKind kind, int year, int month, int day, int hour, int minute,
                                 const std::string& title = "t", ReminderState state = ReminderState::Ready) {
    ReminderItem item = ZeroReminder();
    item.year = year;
    item.month = month;
    item.day = day;
    item.repeat = static_cast<std::int32_t>(kind);
    item.hour = hour;
    item.minute = minute;
    SetText(item.title, Gbk(title));
    SetState(item, state);
    return item;
}

// The bytes of one record whose every byte is set, reserved areas and
// alertTicks included, so a test sees any byte a load or save fails to carry.
inline Bytes PatternedRecord(unsigned seed, std::int32_t state) {
    Bytes b(kReminderItemSize);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<unsigned char>((i * 31 + seed * 7 + 1) & 0xFF);
    std::uint32_t s = static_cast<std::uint32_t>(state);
    for (int i = 0; i < 4; ++i) b[4132 + i] = static_cast<unsigned char>(s >> (8 * i));
    return b;
}

inline void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace vt::test
