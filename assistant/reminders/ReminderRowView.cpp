#include "assistant/reminders/ReminderRowView.h"

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderPower.h"
#include "assistant/reminders/ReminderTexts.h"
#include "shared/core/Text.h"

namespace vt {

namespace {

std::string DateCell(const ReminderItem& item, LocalMinute, const LocalTime&, const IWorkingDays*) {
    return Format("%d-%d-%d", item.year, item.month, item.day);
}
std::string RuleCell(const ReminderItem& item, LocalMinute, const LocalTime&, const IWorkingDays*) {
    return GetDayString(item.repeat, DateOf(item));
}
std::string TimeCell(const ReminderItem& item, LocalMinute, const LocalTime&, const IWorkingDays*) {
    return Format("%d:%02d", item.hour, item.minute);
}
std::string StateCell(const ReminderItem& item, LocalMinute, const LocalTime&, const IWorkingDays*) {
    return StateText(item.state);
}
std::string NextCell(const ReminderItem& item, LocalMinute next, const LocalTime& now, const IWorkingDays* days) {
    if (next == kNoOccurrence) return std::string();
    const LocalTime when = TimeOfMinute(next);
    std::string text = NextOccurrenceText(when, now);
    // What the occurrence does to the computer: "10月9日 18:30 关机".
    const ReminderPowerAction action = PowerActionOf(item);
    if (action != ReminderPowerAction::None) text += std::string(" ") + ReminderPowerActionName(action);
    // Without the year's schedule the day is a guess, and the cell says so.
    if (item.repeat == static_cast<std::int32_t>(RepeatKind::StatutoryWorkdays) && (!days || !days->Covers(when.year)))
        text += kProvisionalWorkdaysSuffix;
    return text;
}

const ReminderColumn kColumns[kReminderColumnCount] = {
    {"名称", 1.4f, nullptr}, {"日期", 1.2f, DateCell},  {"周期", 2.0f, RuleCell},     {"时间", 0.8f, TimeCell},
    {"内容", 2.5f, nullptr}, {"状态", 1.8f, StateCell}, {"下次提醒", 3.6f, NextCell},  // room for 12月31日
                                                                                       // 23:30（暂按周一至周五）
};

const ReminderColumn kNoColumn = {"", 0.0f, nullptr};

}  // namespace

const ReminderColumn& ColumnAt(int column) {
    return column >= 0 && column < kReminderColumnCount ? kColumns[column] : kNoColumn;
}

const std::string& ReminderCells::Cell(int column) const {
    static const std::string kNone;
    switch (column) {
    case 1:
        return date;
    case 2:
        return rule;
    case 3:
        return time;
    case kStateColumn:
        return state;
    case kNextColumn:
        return next;
    }
    return kNone;
}

ReminderCells CellsOf(const ReminderItem& item, LocalMinute next, const LocalTime& now, const IWorkingDays* days) {
    ReminderCells cells;
    cells.title = GetText(item.title);
    cells.date = CellOf(item, 1, next, now, days);
    cells.rule = CellOf(item, 2, next, now, days);
    cells.time = CellOf(item, 3, next, now, days);
    cells.content = GetText(item.content);
    cells.state = CellOf(item, kStateColumn, next, now, days);
    cells.next = CellOf(item, kNextColumn, next, now, days);
    return cells;
}

std::string CellOf(const ReminderItem& item, int column, LocalMinute next, const LocalTime& now,
                   const IWorkingDays* days) {
    const ReminderColumn& c = ColumnAt(column);
    return c.text ? c.text(item, next, now, days) : std::string();
}

std::string ColumnHeading(int column) { return ColumnAt(column).heading; }

int ColumnWidth(int column, int clientWidth) {
    float shares = 0.3f;  // the scroll bar's
    for (const ReminderColumn& c : kColumns) shares += c.factor;
    return static_cast<int>(static_cast<float>(clientWidth) * ColumnAt(column).factor / shares);
}

Rgb StateTextColour(std::int32_t state) {
    switch (static_cast<ReminderState>(state)) {
    case ReminderState::Alerting:
        return Rgb{255, 0, 0};
    case ReminderState::Snoozed:
        return Rgb{0, 255, 0};
    case ReminderState::Expired:
        return Rgb{128, 128, 128};
    case ReminderState::Ready:
    default:
        return Rgb{0, 0, 255};
    }
}

Rgb RowBackground(int row) { return row % 2 == 0 ? Rgb{240, 240, 230} : Rgb{255, 255, 255}; }

}  // namespace vt
