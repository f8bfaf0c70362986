#include "assistant/reminders/ReminderCodec.h"

#include <cstring>

namespace vt {

namespace {

void Put32(unsigned char* out, std::size_t offset, std::int32_t value) {
    std::uint32_t v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::int32_t Get32(const unsigned char* in, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

// Fields that are bytes already are copied as they stand.
template <typename Field>
void PutBytes(unsigned char* out, std::size_t offset, const Field& field) {
    std::memcpy(out + offset, &field, sizeof field);
}

template <typename Field>
void GetBytes(const unsigned char* in, std::size_t offset, Field& field) {
    std::memcpy(&field, in + offset, sizeof field);
}

}  // namespace

void EncodeReminder(const ReminderItem& item, unsigned char* out) {
    Put32(out, offsetof(ReminderItem, year), item.year);
    Put32(out, offsetof(ReminderItem, month), item.month);
    Put32(out, offsetof(ReminderItem, day), item.day);
    Put32(out, offsetof(ReminderItem, repeat), item.repeat);
    Put32(out, offsetof(ReminderItem, hour), item.hour);
    Put32(out, offsetof(ReminderItem, minute), item.minute);
    PutBytes(out, offsetof(ReminderItem, title), item.title);
    PutBytes(out, offsetof(ReminderItem, content), item.content);
    PutBytes(out, offsetof(ReminderItem, command), item.command);
    PutBytes(out, offsetof(ReminderItem, music), item.music);
    PutBytes(out, offsetof(ReminderItem, reserved1), item.reserved1);
    Put32(out, offsetof(ReminderItem, state), item.state);
    Put32(out, offsetof(ReminderItem, alertTicks), item.alertTicks);
    PutBytes(out, offsetof(ReminderItem, reserved2), item.reserved2);
}

ReminderItem DecodeReminder(const unsigned char* in) {
    ReminderItem item;
    item.year = Get32(in, offsetof(ReminderItem, year));
    item.month = Get32(in, offsetof(ReminderItem, month));
    item.day = Get32(in, offsetof(ReminderItem, day));
    item.repeat = Get32(in, offsetof(ReminderItem, repeat));
    item.hour = Get32(in, offsetof(ReminderItem, hour));
    item.minute = Get32(in, offsetof(ReminderItem, minute));
    GetBytes(in, offsetof(ReminderItem, title), item.title);
    GetBytes(in, offsetof(ReminderItem, content), item.content);
    GetBytes(in, offsetof(ReminderItem, command), item.command);
    GetBytes(in, offsetof(ReminderItem, music), item.music);
    GetBytes(in, offsetof(ReminderItem, reserved1), item.reserved1);
    item.state = Get32(in, offsetof(ReminderItem, state));
    item.alertTicks = Get32(in, offsetof(ReminderItem, alertTicks));
    GetBytes(in, offsetof(ReminderItem, reserved2), item.reserved2);
    return item;
}

void ApplyLoadStateRule(ReminderItem& item) {
    if (!HasState(item, ReminderState::Expired)) SetState(item, ReminderState::Ready);
}

ParsedReminders ParseReminderBytes(const unsigned char* data, std::size_t size) {
    ParsedReminders parsed;
    if (data == nullptr) size = 0;
    std::size_t count = size / kReminderItemSize;
    parsed.items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        ReminderItem item = DecodeReminder(data + i * kReminderItemSize);
        ApplyLoadStateRule(item);
        parsed.items.push_back(item);
    }
    parsed.fragmentBytes = size % kReminderItemSize;
    return parsed;
}

std::vector<unsigned char> SerializeReminders(const std::vector<ReminderItem>& items) {
    std::vector<unsigned char> bytes(items.size() * kReminderItemSize);
    for (std::size_t i = 0; i < items.size(); ++i)
        EncodeReminder(items[i], bytes.data() + i * kReminderItemSize);
    return bytes;
}

}  // namespace vt
