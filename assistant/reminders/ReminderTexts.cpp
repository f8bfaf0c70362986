#include "assistant/reminders/ReminderTexts.h"

#include "assistant/calendar/LunarCalendar.h"
#include "shared/core/Text.h"

namespace vt {

namespace {

const char* const kWeekdayNames[] = {"日", "一", "二", "三", "四", "五", "六"};
const char* const kMonthNames[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
const char* const kRuleTexts[] = {"指定日期", "每天",         "每个工作日",     "每个双休日",  "每个星期%s",
                                  "每月%d号", "每年%s月%d号", "每个法定工作日", "每年农历%s%s"};
const char* const kStateTexts[] = {"准备中", "提醒中", "稍后再次提醒", "已过期"};

template <typename T, std::size_t N>
constexpr int CountOf(T (&)[N]) {
    return static_cast<int>(N);
}

}  // namespace

std::string WeekdayName(int weekday) {
    if (weekday >= 0 && weekday < CountOf(kWeekdayNames)) return kWeekdayNames[weekday];
    return Format("%d", weekday);
}

std::string MonthName(int month) {
    if (month >= 0 && month < CountOf(kMonthNames)) return kMonthNames[month];
    return Format("%d", month);
}

std::string GetDayString(int kind, const CalendarDate& date) {
    switch (kind) {
    case 0:
    case 1:
    case 2:
    case 3:
        return kRuleTexts[kind];
    case 4:
        return Format(kRuleTexts[4], WeekdayName(date.weekday).c_str());
    case 5:
        return Format(kRuleTexts[5], date.day);
    case 6:
        return Format(kRuleTexts[6], MonthName(date.month).c_str(), date.day);
    case 7:
        return kRuleTexts[7];
    case 8:
        // The rule is the lunar month and day of the picked date; a date in
        // a leap month recurs in the ordinary month, so its text names that.
        if (const auto lunar = LunarOf(date.year, date.month, date.day))
            return Format(kRuleTexts[8], LunarMonthName(lunar->month).c_str(), LunarDayName(lunar->day).c_str());
        return "GetDayString函数出错了！";
    default:
        return "GetDayString函数出错了！";
    }
}

std::string LunarStaticText(const CalendarDate& date) {
    if (const auto lunar = LunarOf(date.year, date.month, date.day)) return "农历" + LunarDateText(*lunar);
    return std::string();
}

std::string UncoveredYearMessage(int year) {
    return Format("%d年的法定节假日安排尚未获取，暂按周一至周五提醒。", year);
}

std::string StateText(std::int32_t state) {
    if (state >= 0 && state < CountOf(kStateTexts)) return kStateTexts[state];
    return kStateTexts[0];
}

std::string ManagerCaption(const LocalTime& now) {
    return Format("%s  北京时间  %d-%d-%d  %d:%02d:%02d 星期%s", "提醒管理器", now.year, now.month, now.day, now.hour,
                  now.minute, now.second, WeekdayName(now.weekday).c_str());
}

std::string AlertCaptionSuffix(int hour, int minute) { return Format("%s(%d:%02d)", " - 时间到了！", hour, minute); }

std::string MissedNote(const LocalTime& occurrence, std::int64_t count) {
    std::string note =
        Format("错过的提醒：%d月%d日 %d:%02d", occurrence.month, occurrence.day, occurrence.hour, occurrence.minute);
    if (count > 1) note += Format("，共%d次", static_cast<int>(count));
    return note;
}

std::string NextOccurrenceText(const LocalTime& next, const LocalTime& now) {
    if (next.year == now.year && next.month == now.month && next.day == now.day)
        return Format("今天 %d:%02d", next.hour, next.minute);
    return Format("%d月%d日 %d:%02d", next.month, next.day, next.hour, next.minute);
}

std::string FolderOf(const std::string& path) {
    std::string::size_type cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return ".";
    if (cut == 0 || (cut == 2 && path[1] == ':')) ++cut;  // keep the root's separator
    return path.substr(0, cut);
}

std::string UnsavableFolderMessage(const std::string& notifyPath) {
    return "无法在文件夹“" + FolderOf(notifyPath) +
           "”中保存提醒：这个文件夹不允许写入。\n"
           "在这里新建或修改的提醒都不能保存，程序退出后就会丢失。\n"
           "请把本程序复制到一个可以写入的文件夹（例如“我的文档”）中再运行。";
}

std::string LoadProblemMessage(const ReminderLoadReport& report, const std::string& notifyPath) {
    if (report.backupPath.empty())
        return "提醒文件已损坏或无法读取，也无法另存一份。\n在能另存之前，程序不会改写它：\n" + notifyPath;
    if (report.readable)
        return "提醒文件已损坏，只读出了" + std::to_string(report.records) + "条提醒。\n原文件已另存为：\n" +
               report.backupPath;
    return "提醒文件无法读取。\n原文件已另存为：\n" + report.backupPath;
}

}  // namespace vt
