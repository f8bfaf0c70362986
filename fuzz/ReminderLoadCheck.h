#pragma once
// What must hold for any bytes found in Notify.dat, shared by the libFuzzer
// target and the native test that replays the corpus and random buffers:
//  - whole records load, a trailing fragment never does;
//  - load then save gives back every byte but the state rule;
//  - the bytes load into the book as the file does, and the exit save
//    writes the book's records as they are;
//  - nothing the windows derive from a record (cells, rule text, colours,
//    due test, a few ticks, the alert's request) reads outside a table.
// Returns an empty string when all holds, otherwise what went wrong.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderBook.h"
#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderRowView.h"
#include "assistant/reminders/ReminderTicker.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt::fuzz {

inline std::string CheckReminderLoad(const std::uint8_t* data, std::size_t size) {
    const std::size_t stateAt = offsetof(ReminderItem, state);
    ParsedReminders parsed = ParseReminderBytes(data, size);
    if (parsed.items.size() != size / kReminderItemSize) return "record count";
    if (parsed.fragmentBytes != size % kReminderItemSize) return "fragment size";

    std::vector<unsigned char> saved = SerializeReminders(parsed.items);
    if (saved.size() != parsed.items.size() * kReminderItemSize) return "saved size";
    // Compared around each record's state, a block at a time.
    for (std::size_t at = 0; at < saved.size(); at += kReminderItemSize) {
        const std::size_t after = stateAt + 4;
        if (std::memcmp(&saved[at], data + at, stateAt) != 0 ||
            std::memcmp(&saved[at + after], data + at + after, kReminderItemSize - after) != 0)
            return "byte changed by load and save";
    }
    for (std::size_t r = 0; r < parsed.items.size(); ++r) {
        const unsigned char* in = data + r * kReminderItemSize + stateAt;
        bool wasExpired = in[0] == 3 && in[1] == 0 && in[2] == 0 && in[3] == 0;
        if (parsed.items[r].state != (wasExpired ? 3 : 0)) return "state rule";
    }

    for (const ReminderItem& item : parsed.items) {
        ReminderCells cells = CellsOf(item);
        if (cells.rule.empty() || cells.state.empty()) return "empty cell";
        if (cells.title.size() > kReminderTextSize) return "title cell too long";
        (void)StateTextColour(item.state);
        int w = DateOf(item).weekday;
        if (w < 0 || w > 6) return "weekday";
    }

    // Into the book from the bytes in memory, and through the clock, as the
    // program runs it; the file's own path reads the same bytes alike.
    test::MemoryFileSystem fs;
    ReminderBook book(fs, "Notify.dat");
    const ReminderLoadReport report = book.LoadBytes(data, size);
    if (static_cast<std::size_t>(book.Count()) != parsed.items.size()) return "book count";
    if (report.records != parsed.items.size() || report.fragmentBytes != parsed.fragmentBytes) return "load report";
    if (book.BackupPending() != (parsed.fragmentBytes > 0)) return "backup duty";
    for (int tick = 0; tick < 3; ++tick) {
        LocalTime now;
        now.year = 2026;
        now.month = 12;
        now.day = 6 + tick;
        now.weekday = tick;
        now.hour = 8 * tick;
        TickResult result = CheckReminders(book, now);
        for (const AlertRequest& alert : result.alerts)
            if (book.RowOf(alert.id) != alert.row) return "alert row";
    }
    if (!book.SaveAtExit()) return "save";
    const std::vector<unsigned char>& file = fs.files["Notify.dat"];
    if (file.size() != parsed.items.size() * kReminderItemSize) return "file size";
    for (int row = 0; row < book.Count(); ++row)
        if (IsAlertOpen(*book.At(row))) return "alert open after the exit save";

    // The saved file holds the records as the book has them (the file's
    // path reads them with the same code as the bytes above).
    unsigned char record[kReminderItemSize];
    for (int row = 0; row < book.Count(); ++row) {
        EncodeReminder(*book.At(row), record);
        if (std::memcmp(record, &file[static_cast<std::size_t>(row) * kReminderItemSize], kReminderItemSize) != 0)
            return "saved record";
    }
    return std::string();
}

}  // namespace vt::fuzz
