#pragma once
// Reminder records to and from the bytes of Notify.dat. The file is nothing
// but whole records one after another, so this is the whole format; the file
// access itself is in ReminderFile.h. ParseReminderBytes is also the entry
// point of the loader's fuzz target.
#include <cstddef>
#include <vector>

#include "assistant/reminders/ReminderItem.h"

namespace vt {

// Integers are written little-endian whatever the host's byte order.
void EncodeReminder(const ReminderItem& item, unsigned char* out);  // kReminderItemSize bytes
ReminderItem DecodeReminder(const unsigned char* in);               // kReminderItemSize bytes

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
