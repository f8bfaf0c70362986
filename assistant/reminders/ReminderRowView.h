#pragma once
// What the manager's list shows for a reminder, as plain data: the columns
// (one table of heading, width factor and cell text), the cell texts and the
// row colours. The list window only puts these into its control.
//
// Encodings: title and content come from the record (code page 936); all
// other cells are UTF-8.
#include <cstdint>
#include <string>

#include "assistant/calendar/Occurrences.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"

namespace vt {

constexpr int kReminderColumnCount = 7;
constexpr int kStateColumn = 5;
constexpr int kNextColumn = 6;

constexpr int kTitleColumn = 0;
constexpr int kContentColumn = 4;

// One column of the list.
struct ReminderColumn {
    const char* heading;  // UTF-8
    float factor;         // its share of the list's width (ColumnWidth)
    // The cell (UTF-8) of a record whose next occurrence not done is `next`,
    // at `now`, with the official working days `days` (null: none known);
    // null for the record's own texts (title, content), which stay in code
    // page 936 (GetText).
    std::string (*text)(const ReminderItem& item, LocalMinute next, const LocalTime& now, const IWorkingDays* days);
};

// The column's entry; a column the list does not have has no heading, no
// width and no text.
const ReminderColumn& ColumnAt(int column);

struct ReminderCells {
    Gbk title;          // "名称"
    std::string date;   // "日期", e.g. 2026-3-7
    std::string rule;   // "周期", GetDayString of the record
    std::string time;   // "时间", e.g. 8:05
    Gbk content;        // "内容"
    std::string state;  // "状态"
    std::string next;   // "下次提醒", e.g. 今天 8:30 or 12月9日 8:30; empty when none;
                        // with a power action: 10月9日 18:30 关机;
                        // 每个法定工作日 in a year `days` lacks: 1月4日 8:30（暂按周一至周五）

    // The program's own cell of a column (1, 2, 3, 5 and 6); empty for the
    // title and content columns, whose texts are the record's.
    const std::string& Cell(int column) const;
};

ReminderCells CellsOf(const ReminderItem& item, LocalMinute next = kNoOccurrence, const LocalTime& now = LocalTime(),
                      const IWorkingDays* days = nullptr);
// One of the program's own cells (columns 1, 2, 3, 5 and 6), for a list
// that asks for the cells it shows one at a time; empty for the title and
// content columns (the record's texts, GetText) and for any other column.
std::string CellOf(const ReminderItem& item, int column, LocalMinute next = kNoOccurrence,
                   const LocalTime& now = LocalTime(), const IWorkingDays* days = nullptr);

// Column heading (UTF-8) and width from the list's client width in pixels.
// The columns share the width by their factors and leave a third of a share
// free, room for the vertical scroll bar the list grows once it has more rows
// than it shows: the list never scrolls sideways.
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
