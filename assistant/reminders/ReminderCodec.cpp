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

// Where the block's parts lie, counted from its start.
constexpr std::size_t kDoneTagAt = 0;
constexpr std::size_t kDoneValueAt = 4;
constexpr std::size_t kDoneCheckAt = 12;
constexpr unsigned char kDoneTag[4] = {'V', 't', 'D', 'n'};

static_assert(offsetof(ReminderItem, reserved2) == kDoneBlockOffset, "the block opens the reserved area");
static_assert(kDoneCheckAt + 4 == kDoneBlockSize, "block layout");

std::uint32_t Fnv1a(const unsigned char* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        h ^= data[i];
        h *= 16777619u;
    }
    return h;
}

std::int64_t Get64(const unsigned char* in, std::size_t offset) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(in[offset + i]) << (8 * i);
    return static_cast<std::int64_t>(v);
}

void Put64(unsigned char* out, std::size_t offset, std::int64_t value) {
    std::uint64_t v = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) out[offset + i] = static_cast<unsigned char>(v >> (8 * i));
}

unsigned char* BlockOf(ReminderItem& item) { return item.reserved2; }
const unsigned char* BlockOf(const ReminderItem& item) { return item.reserved2; }

// The power block's parts; the tag and check value lie where the done block
// has them.
constexpr std::size_t kPowerStart = kPowerBlockOffset - kDoneBlockOffset;
constexpr std::size_t kPowerValueAt = 4;
constexpr unsigned char kPowerTag[4] = {'V', 't', 'P', 'w'};
static_assert(kPowerStart + kPowerBlockSize <= sizeof(ReminderItem::reserved2), "the block lies in the reserved area");

// What a 16-byte block of ours holds: Empty (all zero), Ours (the tag and a
// matching check value) or Foreign.
DoneBlockKind KindOfBlock(const unsigned char* block, const unsigned char (&tag)[4]) {
    bool zero = true;
    for (std::size_t i = 0; i < kDoneBlockSize && zero; ++i) zero = block[i] == 0;
    if (zero) return DoneBlockKind::Empty;
    if (std::memcmp(block + kDoneTagAt, tag, sizeof tag) != 0) return DoneBlockKind::Foreign;
    if (static_cast<std::uint32_t>(Get32(block, kDoneCheckAt)) != Fnv1a(block, kDoneCheckAt))
        return DoneBlockKind::Foreign;
    return DoneBlockKind::Ours;
}

void SealBlock(unsigned char* block, const unsigned char (&tag)[4]) {
    std::memcpy(block + kDoneTagAt, tag, sizeof tag);
    Put32(block, kDoneCheckAt, static_cast<std::int32_t>(Fnv1a(block, kDoneCheckAt)));
}

}  // namespace

DoneBlock ReadDoneBlock(const ReminderItem& item) {
    const unsigned char* block = BlockOf(item);
    DoneBlock read;
    read.kind = KindOfBlock(block, kDoneTag);
    if (read.kind == DoneBlockKind::Ours) read.doneThrough = Get64(block, kDoneValueAt);
    return read;
}

bool WriteDoneBlock(ReminderItem& item, LocalMinute doneThrough) {
    if (ReadDoneBlock(item).kind == DoneBlockKind::Foreign) return false;
    unsigned char* block = BlockOf(item);
    Put64(block, kDoneValueAt, doneThrough);
    SealBlock(block, kDoneTag);
    return true;
}

PowerBlock ReadPowerBlock(const ReminderItem& item) {
    const unsigned char* block = BlockOf(item) + kPowerStart;
    PowerBlock read;
    read.kind = KindOfBlock(block, kPowerTag);
    if (read.kind == DoneBlockKind::Ours) read.action = Get32(block, kPowerValueAt);
    return read;
}

bool WritePowerBlock(ReminderItem& item, std::int32_t action) {
    if (ReadPowerBlock(item).kind == DoneBlockKind::Foreign) return false;
    unsigned char* block = BlockOf(item) + kPowerStart;
    std::memset(block, 0, kPowerBlockSize);
    if (action == 0) return true;
    Put32(block, kPowerValueAt, action);
    SealBlock(block, kPowerTag);
    return true;
}

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

void FromFileByteOrder(ReminderItem& item) {
    const std::uint16_t probe = 1;
    if (*reinterpret_cast<const unsigned char*>(&probe) == 1) return;  // the file's order already
    item = DecodeReminder(reinterpret_cast<const unsigned char*>(&item));
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
    for (std::size_t i = 0; i < items.size(); ++i) EncodeReminder(items[i], bytes.data() + i * kReminderItemSize);
    return bytes;
}

}  // namespace vt
