#pragma once
// The editor dialog's logic: the values its controls start with, the texts
// of its day and time menus and buttons, and how the accepted values go into
// the working record. Every byte of the record that the editor has no
// control for (alertTicks, reserved areas) stays as it was.
//
// Encodings: the four record texts in EditorFields are code page 936, like
// the record itself (so are the defaults of a new reminder); captions and
// menu texts are UTF-8.
#include <string>

#include "assistant/calendar/Calendar.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"

namespace vt {

// The commands of the day and time menus (ID_DAY_FIRST and ID_TIME_FIRST of
// the resources).
constexpr int kDayMenuFirst = 400;  // 400 + RepeatKind, 9 items
constexpr int kDayMenuCount = 9;
constexpr int kTimeMenuFirst = 32794;  // 32794 + k: hour k / 2, minute 0 or 30
constexpr int kTimeMenuCount = 48;

enum class EditMode { New = 0, Edit = 1 };

struct EditorFields {
    Gbk title;
    Gbk content;
    Gbk command;
    Gbk music;
    int stateIndex = 0;  // combo: 0 "准备中", 1 "已过期"
    int kind = 0;        // RepeatKind
    // "到时执行": a ReminderPowerAction, which is also the drop-down's index.
    // Not storable where another writer's bytes lie in the power block: the
    // drop-down then stays at 仅提醒 and cannot be changed.
    int powerAction = 0;
    bool powerStorable = true;
    // Date and time for the two pickers. Taken from the record in edit
    // mode, so a damaged record may hold values no picker accepts.
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
};

std::string EditorCaption(EditMode mode);  // "新建提醒" / "编辑提醒"

// New: the current minute, 提醒标题 / 提醒内容, Once, Ready.
// Edit: everything from the record; any state but Ready shows as 已过期.
EditorFields InitialEditorFields(EditMode mode, const ReminderItem& item, const LocalTime& now);

// The OK step: texts by bounded copy, date and time to the minute, the
// combo's state (Ready or Expired), the kind, and the power action where it
// changed (an unchanged one keeps the block's bytes, a later copy's number
// included).
void ApplyEditorFields(const EditorFields& fields, ReminderItem& working);

// The "到时执行" drop-down's items, in index order (UTF-8).
std::string PowerActionItemText(int index);

std::string TimeMenuText(int k);  // "0:00" .. "23:30"
// Hour and minute of a time menu command; false outside the 48 items.
bool TimeFromMenuCommand(int commandId, int& hour, int& minute);
std::string TimeButtonCaption(int hour, int minute);  // "√7:30"

std::string DayMenuText(int kind, const CalendarDate& date);  // GetDayString
// The kind a day menu command chooses, or -1 for any other id.
int KindFromDayMenuCommand(int commandId);
std::string DayButtonCaption(int kind, const CalendarDate& date);  // "√每个星期三"

}  // namespace vt
