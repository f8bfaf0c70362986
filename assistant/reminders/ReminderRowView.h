#pragma once
// What the manager's list shows for a reminder, as plain data: the six cell
// texts, the column layout and the row colours. The list window only puts
// these into its control.
//
// Encodings: title and content come from the record (code page 936); all
// other cells are UTF-8.
#include <cstdint>
#include <string>

#include "assistant/reminders/ReminderItem.h"

namespace vt {

constexpr int kReminderColumnCount = 6;
constexpr int kStateColumn = 5;

constexpr int kTitleColumn = 0;
constexpr int kContentColumn = 4;

struct ReminderCells {
    Gbk title;            // "名称"
    std::string date;     // "日期", e.g. 2026-3-7
    std::string rule;     // "周期", GetDayString of the record
    std::string time;     // "时间", e.g. 8:05
    Gbk content;          // "内容"
    std::string state;    // "状态"

    // The program's own cell of a column (1, 2, 3 and 5); empty for the
    // title and content columns, whose texts are the record's.
    const std::string& Cell(int column) const;
};

ReminderCells CellsOf(const ReminderItem& item);
// One of the program's own cells (columns 1, 2, 3 and 5), for a list that
// asks for the cells it shows one at a time; empty for the title and content
// columns (the record's texts, GetText) and for any other column.
std::string CellOf(const ReminderItem& item, int column);

// Column heading (UTF-8) and width from the list's client width in pixels.
std::string ColumnHeading(int column);
int ColumnWidth(int column, int clientWidth);

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Text colour by state: Ready blue (also for unknown values), Alerting red,
// Snoozed green, Expired grey.
Rgb StateTextColour(std::int32_t state);
// Even rows a light beige, odd rows white.
Rgb RowBackground(int row);

}  // namespace vt
