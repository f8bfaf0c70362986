#pragma once
// How the reminder-file fuzz target turns its input into the bytes of
// Notify.dat. A record is 8276 bytes, most of them text, so raw files make
// long inputs that the fuzzer mutates slowly. Inputs therefore come in two
// forms, told apart by the first byte:
//  - odd: the rest is the file itself, byte for byte;
//  - even: the rest is records in short form: the six date and time fields
//    (24 bytes), then five pieces of text, each a length byte and that many
//    bytes, filling title, content, command, music and the reserved bytes by
//    repetition (no piece: zeros), then state and alert ticks (8 bytes).
//    At most kMaxShortRecords records: whatever is left over becomes the
//    file's trailing fragment (inputs are shorter than a record).
// Either form reaches every kind of file: unterminated and cut double-byte
// text, hostile numbers, fragments.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "assistant/reminders/ReminderItem.h"

namespace vt::fuzz {

// Enough for every way a file ends, few enough to keep each run quick.
constexpr int kMaxShortRecords = 3;

inline std::vector<unsigned char> ReminderFileOfInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    if (data[0] & 1) return std::vector<unsigned char>(data + 1, data + size);
    std::vector<unsigned char> file;
    std::size_t i = 1;
    for (int records = 0;; ++records) {
        const std::size_t start = i;
        unsigned char record[kReminderItemSize] = {};
        bool whole = records < kMaxShortRecords && i + 24 <= size;
        if (whole) std::memcpy(record, data + i, 24);
        i += 24;
        const std::size_t fields[] = {offsetof(ReminderItem, title), offsetof(ReminderItem, content),
                                      offsetof(ReminderItem, command), offsetof(ReminderItem, music)};
        for (int piece = 0; piece < 5 && whole; ++piece) {
            if (i >= size) {
                whole = false;
                break;
            }
            const std::size_t length = data[i++];
            if (i + length > size) {
                whole = false;
                break;
            }
            if (length > 0) {
                // By doubling copies: a loop per byte would cost more than the check.
                auto fill = [&](std::size_t at, std::size_t count) {
                    std::size_t have = length < count ? length : count;
                    std::memcpy(record + at, data + i, have);
                    while (have < count) {
                        const std::size_t n = have < count - have ? have : count - have;
                        std::memcpy(record + at + have, record + at, n);
                        have += n;
                    }
                };
                if (piece < 4) {
                    fill(fields[piece], kReminderTextSize);
                } else {
                    fill(offsetof(ReminderItem, reserved1), sizeof ReminderItem::reserved1);
                    fill(offsetof(ReminderItem, reserved2), sizeof ReminderItem::reserved2);
                }
            }
            i += length;
        }
        if (whole && i + 8 <= size) {
            std::memcpy(record + offsetof(ReminderItem, state), data + i, 8);
            i += 8;
            file.insert(file.end(), record, record + kReminderItemSize);
            continue;
        }
        // Too short for a record: the rest is the trailing fragment.
        file.insert(file.end(), data + start, data + size);
        return file;
    }
}

}  // namespace vt::fuzz
