#include "assistant/reminders/ReminderEditing.h"

#include "assistant/reminders/ReminderPower.h"
#include "assistant/reminders/ReminderTexts.h"
#include "shared/core/Text.h"

namespace vt {

namespace {

// The defaults are record text, hence code page 936 bytes: 提醒标题, 提醒内容.
const char kDefaultTitle[] = "\xCC\xE1\xD0\xD1\xB1\xEA\xCC\xE2";
const char kDefaultContent[] = "\xCC\xE1\xD0\xD1\xC4\xDA\xC8\xDD";

}  // namespace

std::string EditorCaption(EditMode mode) { return mode == EditMode::Edit ? "编辑提醒" : "新建提醒"; }

EditorFields InitialEditorFields(EditMode mode, const ReminderItem& item, const LocalTime& now) {
    EditorFields f;
    if (mode == EditMode::Edit) {
        f.title = GetText(item.title);
        f.content = GetText(item.content);
        f.command = GetText(item.command);
        f.music = GetText(item.music);
        f.stateIndex = HasState(item, ReminderState::Ready) ? 0 : 1;
        f.kind = item.repeat;
        f.year = item.year;
        f.month = item.month;
        f.day = item.day;
        f.hour = item.hour;
        f.minute = item.minute;
        f.powerAction = static_cast<int>(PowerActionOf(item));
        f.powerStorable = CanStorePowerAction(item);
    } else {
        f.title = Gbk(kDefaultTitle);
        f.content = Gbk(kDefaultContent);
        f.stateIndex = 0;
        f.kind = static_cast<int>(RepeatKind::Once);
        f.year = now.year;
        f.month = now.month;
        f.day = now.day;
        f.hour = now.hour;
        f.minute = now.minute;
    }
    return f;
}

void ApplyEditorFields(const EditorFields& f, ReminderItem& working) {
    SetText(working.title, f.title);
    SetText(working.content, f.content);
    working.year = f.year;
    working.month = f.month;
    working.day = f.day;
    working.hour = f.hour;
    working.minute = f.minute;
    SetState(working, f.stateIndex != 0 ? ReminderState::Expired : ReminderState::Ready);
    SetText(working.command, f.command);
    SetText(working.music, f.music);
    working.repeat = f.kind;
    const ReminderPowerAction action = ReminderPowerActionFromValue(f.powerAction).value_or(ReminderPowerAction::None);
    if (action != PowerActionOf(working)) SetPowerAction(working, action);
}

std::string PowerActionItemText(int index) {
    std::optional<ReminderPowerAction> action = ReminderPowerActionFromValue(index);
    return action ? ReminderPowerActionName(*action) : std::string();
}

std::string TimeMenuText(int k) { return Format(k % 2 ? "%d:30" : "%d:00", k / 2); }

bool TimeFromMenuCommand(int commandId, int& hour, int& minute) {
    // Only the 48 items the menu offers: one more would mean 24:00.
    int k = commandId - kTimeMenuFirst;
    if (k < 0 || k >= kTimeMenuCount) return false;
    hour = k / 2;
    minute = k % 2 ? 30 : 0;
    return true;
}

std::string TimeButtonCaption(int hour, int minute) { return Format("√%d:%02d", hour, minute); }

std::string DayMenuText(int kind, const CalendarDate& date) { return GetDayString(kind, date); }

int KindFromDayMenuCommand(int commandId) {
    int kind = commandId - kDayMenuFirst;
    return kind >= 0 && kind < kDayMenuCount ? kind : -1;
}

std::string DayButtonCaption(int kind, const CalendarDate& date) { return "√" + GetDayString(kind, date); }

}  // namespace vt
