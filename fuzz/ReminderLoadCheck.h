#pragma once
// What must hold for any bytes found in Notify.dat, shared by the libFuzzer
// target and the native test that replays the corpus and random buffers:
//  - whole records load, a trailing fragment never does;
//  - load then save gives back every byte but the state rule;
//  - nothing the windows derive from a record (cells, rule text, colours,
//    due test, a few ticks, the alert's request) reads outside a table.
// Returns an empty string when all holds, otherwise what went wrong.
#include <cstddef>
#include <cstdint>
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
    for (std::size_t i = 0; i < saved.size(); ++i) {
        std::size_t inRecord = i % kReminderItemSize;
        if (inRecord >= stateAt && inRecord < stateAt + 4) continue;
        if (saved[i] != data[i]) return "byte changed by load and save";
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

    // Through the file interface and the clock, as the program runs it.
    test::MemoryFileSystem fs;
    fs.files["Notify.dat"].assign(data, data + size);
    ReminderBook book(fs, "Notify.dat");
    book.Load();
    if (static_cast<std::size_t>(book.Count()) != parsed.items.size()) return "book count";
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
    if (fs.files["Notify.dat"].size() != parsed.items.size() * kReminderItemSize) return "file size";
    return std::string();
}

}  // namespace vt::fuzz
