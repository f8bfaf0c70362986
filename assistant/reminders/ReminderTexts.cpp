#include "assistant/reminders/ReminderTexts.h"

#include "shared/core/Text.h"

namespace vt {

namespace {

const char* const kWeekdayNames[] = {"日", "一", "二", "三", "四", "五", "六"};
const char* const kMonthNames[] = {"零", "一", "二", "三", "四", "五", "六",
                                   "七", "八", "九", "十", "十一", "十二"};
const char* const kRuleTexts[] = {"指定日期", "每天", "每个工作日", "每个双休日",
                                  "每个星期%s", "每月%d号", "每年%s月%d号"};
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
    default:
        return "GetDayString函数出错了！";
    }
}

std::string StateText(std::int32_t state) {
    if (state >= 0 && state < CountOf(kStateTexts)) return kStateTexts[state];
    return kStateTexts[0];
}

std::string ManagerCaption(const LocalTime& now) {
    return Format("%s  北京时间  %d-%d-%d  %d:%02d:%02d 星期%s", "提醒管理器", now.year,
                  now.month, now.day, now.hour, now.minute, now.second,
                  WeekdayName(now.weekday).c_str());
}

std::string AlertCaptionSuffix(int hour, int minute) {
    return Format("%s(%d:%02d)", " - 时间到了！", hour, minute);
}

}  // namespace vt
