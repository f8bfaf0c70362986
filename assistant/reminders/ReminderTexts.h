#pragma once
// The texts the reminder windows show that do not come from a record: rule
// texts, weekday and month names, state texts and captions. They are UTF-8;
// the Windows layer converts them. Every table lookup is guarded, because the
// values come from a file that may be damaged: a weekday or month outside its
// table is shown as its number, a state outside its table as Ready's text.
#include <cstdint>
#include <string>

#include "assistant/calendar/Calendar.h"
#include "assistant/reminders/ReminderFile.h"
#include "shared/core/Clock.h"

namespace vt {

std::string WeekdayName(int weekday);  // "日", "一" .. "六"
std::string MonthName(int month);      // "零", "一" .. "十二"

// The short text that names a rule, e.g. 每天, 每个星期三, 每月6号,
// 每年十二月6号, 每个法定工作日, 每年农历八月十五; "GetDayString函数出错了！"
// for a kind outside 0..8, and for a lunar rule on a date outside the lunar
// table (1900 to 2100).
std::string GetDayString(int kind, const CalendarDate& date);

// The lunar date of a date, for the editor: "农历八月十五", "农历闰二月初一";
// empty outside the lunar table.
std::string LunarStaticText(const CalendarDate& date);

std::string StateText(std::int32_t state);  // "准备中", "提醒中", "稍后再次提醒", "已过期"

// The manager's caption, which doubles as its clock:
// "提醒管理器  北京时间  2026-12-6  13:05:09 星期日".
std::string ManagerCaption(const LocalTime& now);

// The alert's caption is the title (code page 936, from the record) followed
// by this suffix, e.g. " - 时间到了！(9:05)".
std::string AlertCaptionSuffix(int hour, int minute);

// The first line of an alert that fires later than the occurrence it
// answers: "错过的提醒：12月8日 8:30", with "，共3次" when it answers for
// more than one.
std::string MissedNote(const LocalTime& occurrence, std::int64_t count);

// The list's "下次提醒" cell for the next occurrence that is not done:
// "12月9日 8:30", or "今天 8:30" on today's date.
std::string NextOccurrenceText(const LocalTime& next, const LocalTime& now);
// Follows that cell for a 每个法定工作日 reminder whose next occurrence lies
// in a year the holiday schedule does not cover.
inline constexpr char kProvisionalWorkdaysSuffix[] = "（暂按周一至周五）";
// The balloon that says so, once per year and run:
// "2027年的法定节假日安排尚未获取，暂按周一至周五提醒。"
std::string UncoveredYearMessage(int year);
// The balloon when the user tries to edit a reminder that is alerting or
// snoozed (also what WM_SHOWBALLOON's kBalloonAlertRunning shows).
inline constexpr char kAlertRunningBalloon[] = "提醒正在运行中是不可以编辑的哦～";

// The folder of the reminder file (the path up to its last separator, which
// is left off; "." for a bare name).
std::string FolderOf(const std::string& path);
// Told at start-up when no reminder can be saved beside the program; names
// the folder of notifyPath.
std::string UnsavableFolderMessage(const std::string& notifyPath);
// Told at start-up when the reminder file could not be read whole: how many
// reminders were read and where the original was copied, or, when no copy
// could be made, that the file (notifyPath) stays untouched until one can.
std::string LoadProblemMessage(const ReminderLoadReport& report, const std::string& notifyPath);

}  // namespace vt
