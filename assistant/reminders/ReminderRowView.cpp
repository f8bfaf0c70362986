#include "assistant/reminders/ReminderRowView.h"

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderTexts.h"
#include "shared/core/Text.h"

namespace vt {

namespace {

struct Column {
    const char* heading;
    float factor;  // of a tenth of the client width
};

const Column kColumns[kReminderColumnCount] = {
    {"名称", 1.4f}, {"日期", 1.2f}, {"周期", 2.0f},
    {"时间", 0.8f}, {"内容", 2.5f}, {"状态", 1.8f},
};

}  // namespace

const std::string& ReminderCells::Cell(int column) const {
    static const std::string kRecordText;
    switch (column) {
    case kTitleColumn: return kRecordText;
    case 1: return date;
    case 2: return rule;
    case 3: return time;
    case kContentColumn: return kRecordText;
    default: return state;
    }
}

ReminderCells CellsOf(const ReminderItem& item) {
    ReminderCells cells;
    cells.title = GetText(item.title);
    cells.date = CellOf(item, 1);
    cells.rule = CellOf(item, 2);
    cells.time = CellOf(item, 3);
    cells.content = GetText(item.content);
    cells.state = CellOf(item, kStateColumn);
    return cells;
}

std::string CellOf(const ReminderItem& item, int column) {
    switch (column) {
    case 1: return Format("%d-%d-%d", item.year, item.month, item.day);
    case 2: return GetDayString(item.repeat, DateOf(item));
    case 3: return Format("%d:%02d", item.hour, item.minute);
    case kStateColumn: return StateText(item.state);
    }
    return std::string();
}

std::string ColumnHeading(int column) {
    if (column < 0 || column >= kReminderColumnCount) return std::string();
    return kColumns[column].heading;
}

int ColumnWidth(int column, int clientWidth) {
    if (column < 0 || column >= kReminderColumnCount) return 0;
    float unit = static_cast<float>(clientWidth / 10);
    return static_cast<int>(unit * kColumns[column].factor);
}

Rgb StateTextColour(std::int32_t state) {
    switch (static_cast<ReminderState>(state)) {
    case ReminderState::Alerting: return Rgb{255, 0, 0};
    case ReminderState::Snoozed: return Rgb{0, 255, 0};
    case ReminderState::Expired: return Rgb{128, 128, 128};
    case ReminderState::Ready:
    default: return Rgb{0, 0, 255};
    }
}

Rgb RowBackground(int row) {
    return row % 2 == 0 ? Rgb{240, 240, 230} : Rgb{255, 255, 255};
}

}  // namespace vt
