#include "assistant/reminders/ReminderTexts.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace vt {
namespace {

CalendarDate Date(int year, int month, int day, int weekday) {
    CalendarDate d;
    d.year = year;
    d.month = month;
    d.day = day;
    d.weekday = weekday;
    return d;
}

TEST(GetDayString, EveryKindForOneDate) {
    CalendarDate dec6 = Date(2026, 12, 6, 0);  // a Sunday
    const char* expected[] = {"指定日期", "每天", "每个工作日", "每个双休日", "每个星期日", "每月6号", "每年十二月6号"};
    for (int kind = 0; kind < 7; ++kind) EXPECT_EQ(GetDayString(kind, dec6), expected[kind]);
}

TEST(GetDayString, NamesWeekdaysAndMonthsFromTheirTables) {
    EXPECT_EQ(GetDayString(4, Date(2026, 12, 9, 3)), "每个星期三");
    EXPECT_EQ(GetDayString(5, Date(2026, 1, 31, 6)), "每月31号");
    // The yearly rule names the month in words.
    for (const auto& [date, text] :
         {std::pair{Date(2027, 1, 1, 5), "每年一月1号"}, std::pair{Date(2026, 11, 1, 0), "每年十一月1号"}})
        EXPECT_EQ(GetDayString(6, date), text);
}

TEST(GetDayString, StatutoryWorkdaysAndLunarYearly) {
    EXPECT_EQ(GetDayString(7, Date(2026, 12, 6, 0)), "每个法定工作日");
    EXPECT_EQ(GetDayString(8, Date(2026, 9, 25, 5)), "每年农历八月十五");
    EXPECT_EQ(GetDayString(8, Date(2026, 2, 17, 2)), "每年农历正月初一");
    EXPECT_EQ(GetDayString(8, Date(2026, 2, 10, 2)), "每年农历腊月廿三");
    EXPECT_EQ(GetDayString(8, Date(2024, 2, 9, 5)), "每年农历腊月三十");
    // Picked in 闰二月: the rule is the ordinary 二月.
    EXPECT_EQ(GetDayString(8, Date(2023, 3, 22, 3)), "每年农历二月初一");
}

TEST(GetDayString, LunarRuleOutsideTheTableGivesTheErrorText) {
    EXPECT_EQ(GetDayString(8, Date(1900, 1, 30, 2)), "GetDayString函数出错了！");
    EXPECT_EQ(GetDayString(8, Date(2101, 1, 29, 6)), "GetDayString函数出错了！");
    EXPECT_EQ(GetDayString(8, Date(INT_MIN, INT_MIN, INT_MIN, 0)), "GetDayString函数出错了！");
    EXPECT_EQ(GetDayString(8, Date(2026, 2, 30, 0)), "GetDayString函数出错了！");
}

TEST(LunarStaticText, PickedDateAsLunarDate) {
    EXPECT_EQ(LunarStaticText(Date(2026, 9, 25, 5)), "农历八月十五");
    EXPECT_EQ(LunarStaticText(Date(2023, 3, 22, 3)), "农历闰二月初一");
    EXPECT_EQ(LunarStaticText(Date(1899, 12, 31, 0)), "");
}

TEST(GetDayString, UnknownKindGivesTheErrorText) {
    for (int kind : {9, -1, INT_MAX, INT_MIN})
        EXPECT_EQ(GetDayString(kind, Date(2026, 12, 6, 0)), "GetDayString函数出错了！");
}

TEST(GetDayString, DamagedMonthOrWeekdayIsShownAsItsNumber) {
    EXPECT_EQ(GetDayString(6, Date(2026, 13, 5, 0)), "每年13月5号");
    EXPECT_EQ(GetDayString(6, Date(2026, -2, 5, 0)), "每年-2月5号");
    EXPECT_EQ(GetDayString(6, Date(2026, 0, 5, 0)), "每年零月5号");
    EXPECT_EQ(GetDayString(4, Date(2026, 1, 1, 7)), "每个星期7");
    EXPECT_EQ(GetDayString(6, Date(2026, INT_MIN, INT_MIN, 0)), "每年-2147483648月-2147483648号");
}

TEST(StateText, FourStatesAndReadyForAnythingElse) {
    EXPECT_EQ(StateText(0), "准备中");
    EXPECT_EQ(StateText(1), "提醒中");
    EXPECT_EQ(StateText(2), "稍后再次提醒");
    EXPECT_EQ(StateText(3), "已过期");
    EXPECT_EQ(StateText(4), "准备中");
    EXPECT_EQ(StateText(-1), "准备中");
}

TEST(Captions, ManagerClockAndAlertSuffix) {
    LocalTime now;
    now.year = 2026;
    now.month = 12;
    now.day = 6;
    now.weekday = 0;
    now.hour = 13;
    now.minute = 5;
    now.second = 9;
    EXPECT_EQ(ManagerCaption(now), "提醒管理器  北京时间  2026-12-6  13:05:09 星期日");
    EXPECT_EQ(AlertCaptionSuffix(9, 5), " - 时间到了！(9:05)");
}

TEST(UnsavableFolder, MessageNamesTheFolderOfTheFile) {
    EXPECT_EQ(FolderOf("C:\\Program Files\\Vantrel\\Notify.dat"), "C:\\Program Files\\Vantrel");
    EXPECT_EQ(FolderOf("C:\\Notify.dat"), "C:\\");
    EXPECT_EQ(FolderOf("/srv/app/Notify.dat"), "/srv/app");
    EXPECT_EQ(FolderOf("Notify.dat"), ".");
    std::string text = UnsavableFolderMessage("D:\\共享\\工具\\Notify.dat");
    EXPECT_EQ(text.rfind("无法在文件夹“D:\\共享\\工具”中保存提醒", 0), 0u) << text;
    EXPECT_NE(text.find("丢失"), std::string::npos);
}

TEST(LoadProblem, MessageSaysWhatWasReadAndWhereTheOriginalIs) {
    ReminderLoadReport r;
    r.found = true;
    r.readable = true;
    r.records = 2;
    r.fragmentBytes = 17;
    r.backupPath = "D:\\工具\\Notify.dat.bak";
    EXPECT_EQ(LoadProblemMessage(r, "D:\\工具\\Notify.dat"),
              "提醒文件已损坏，只读出了2条提醒。\n原文件已另存为：\nD:\\工具\\Notify.dat.bak");
    r.readable = false;
    r.records = 0;
    EXPECT_EQ(LoadProblemMessage(r, "x"), "提醒文件无法读取。\n原文件已另存为：\nD:\\工具\\Notify.dat.bak");
    r.backupPath.clear();
    EXPECT_EQ(LoadProblemMessage(r, "D:\\工具\\Notify.dat"),
              "提醒文件已损坏或无法读取，也无法另存一份。\n在能另存之前，程序不会改写它：\nD:\\工具\\Notify.dat")
        << "no copy: the file itself is named";
}

}  // namespace
}  // namespace vt
