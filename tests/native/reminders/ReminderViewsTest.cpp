// The data the reminder windows show: list cells and colours, launches,
// the editor's fields and menus, the alert's countdown.
#include <gtest/gtest.h>

#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderEditing.h"
#include "assistant/reminders/ReminderLaunch.h"
#include "assistant/reminders/ReminderRowView.h"
#include "assistant/res/resource.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::MakeReminder;

TEST(ReminderRow, CellsOfARecord) {
    ReminderItem r = MakeReminder(RepeatKind::Weekly, 2026, 3, 7, 8, 5, "\xBF\xAA\xBB\xE1");
    SetText(r.content, Gbk("text"));
    SetState(r, ReminderState::Expired);
    ReminderCells c = CellsOf(r);
    EXPECT_EQ(c.title.Bytes(), "\xBF\xAA\xBB\xE1");
    EXPECT_EQ(c.date, "2026-3-7");
    EXPECT_EQ(c.rule, "每个星期六");
    EXPECT_EQ(c.time, "8:05");
    EXPECT_EQ(c.content.Bytes(), "text");
    EXPECT_EQ(c.state, "已过期");
    EXPECT_EQ(&c.Cell(kStateColumn), &c.state);
}

TEST(ReminderRow, DamagedRecordStillGivesTexts) {
    ReminderItem r = MakeReminder(RepeatKind::Yearly, 2147483647, 99, -5, 25, 61);
    r.state = 77;
    ReminderCells c = CellsOf(r);
    EXPECT_EQ(c.rule, "每年99月-5号");
    EXPECT_EQ(c.state, "准备中");
    r.repeat = 12;
    EXPECT_EQ(CellsOf(r).rule, "GetDayString函数出错了！");
}

// The virtual list asks for one cell at a time; each must be the cell the
// whole row would show, and a column the list does not have stays empty.
TEST(ReminderRow, OneCellAtATimeIsTheCellOfTheRow) {
    ReminderItem r = MakeReminder(RepeatKind::Monthly, 2026, 1, 31, 23, 9, "\xBF\xAA\xBB\xE1");
    SetText(r.content, Gbk("x"));
    SetState(r, ReminderState::Snoozed);
    ReminderCells c = CellsOf(r);
    for (int column = 0; column < kReminderColumnCount; ++column)
        EXPECT_EQ(CellOf(r, column), c.Cell(column)) << "column " << column;
    EXPECT_EQ(CellOf(r, 3), "23:09");
    EXPECT_EQ(CellOf(r, -1), "");
    EXPECT_EQ(CellOf(r, kReminderColumnCount), "");
}

TEST(ReminderRow, ColoursByStateAndParity) {
    EXPECT_EQ(StateTextColour(0), (Rgb{0, 0, 255}));
    EXPECT_EQ(StateTextColour(1), (Rgb{255, 0, 0}));
    EXPECT_EQ(StateTextColour(2), (Rgb{0, 255, 0}));
    EXPECT_EQ(StateTextColour(3), (Rgb{128, 128, 128}));
    EXPECT_EQ(StateTextColour(4), (Rgb{0, 0, 255}));
    EXPECT_EQ(StateTextColour(-1), (Rgb{0, 0, 255}));
    EXPECT_EQ(RowBackground(0), (Rgb{240, 240, 230}));
    EXPECT_EQ(RowBackground(1), (Rgb{255, 255, 255}));
    EXPECT_EQ(RowBackground(2), (Rgb{240, 240, 230}));
}

TEST(ReminderRow, ColumnsFillTheListButLeaveRoomForItsScrollBar) {
    // The list's width at 100 %, 150 % and 200 %.
    for (int width : {800, 1200, 1600}) {
        int sum = 0;
        for (int col = 0; col < kReminderColumnCount; ++col) {
            EXPECT_GT(ColumnWidth(col, width), width / 20) << "column " << col << " at " << width;
            sum += ColumnWidth(col, width);
        }
        // A vertical scroll bar is 17 px at 100 % and grows with the scale.
        EXPECT_LE(sum, width - width * 17 / 800) << width;
        EXPECT_GE(sum, width * 95 / 100) << "a wide empty strip at the right, at " << width;
    }
    EXPECT_GT(ColumnWidth(kContentColumn, 800), ColumnWidth(kTitleColumn, 800)) << "the content is the longer text";
    EXPECT_EQ(ColumnWidth(kReminderColumnCount, 800), 0);
    EXPECT_EQ(ColumnHeading(0), "名称");
    EXPECT_EQ(ColumnHeading(5), "状态");
    EXPECT_EQ(ColumnHeading(kNextColumn), "下次提醒");
    EXPECT_EQ(ColumnHeading(-1), "");
}

TEST(ReminderRow, NextOccurrenceCellSaysTodayOrTheDateAndIsEmptyWhenNoneIsLeft) {
    ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30);
    LocalTime now = test::At(2026, 12, 31, 7, 0);
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2026, 12, 31, 8, 30)), now), "今天 8:30");
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2027, 1, 1, 0, 5)), now), "1月1日 0:05");
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2026, 12, 30, 8, 30)), now), "12月30日 8:30")
        << "an occurrence still due from yesterday";
    EXPECT_EQ(CellOf(r, kNextColumn, kNoOccurrence, now), "");
    EXPECT_EQ(CellsOf(r, MinuteOf(test::At(2026, 12, 31, 8, 30)), now).Cell(kNextColumn), "今天 8:30");
}

TEST(ReminderLaunch, LongestPathsAreQuotedWhole) {
    ReminderItem r = ZeroReminder();
    std::string longest = "C:\\" + std::string(1020, 'p');
    SetText(r.command, Gbk(longest));
    SetText(r.music, Gbk("D:\\My Music\\song.mp3"));
    std::vector<LaunchRequest> l = LaunchRequestsFor(r);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].file.Bytes(), "\"" + longest + "\"");
    EXPECT_EQ(l[0].file.size(), 1025u);
    EXPECT_EQ(l[1].file.Bytes(), "\"D:\\My Music\\song.mp3\"");

    SetText(r.command, Gbk(""));
    ASSERT_EQ(LaunchRequestsFor(r).size(), 1u);
    SetText(r.music, Gbk(""));
    EXPECT_TRUE(LaunchRequestsFor(r).empty());
}

TEST(ReminderEditor, NewReminderDefaultsToNowOnceReady) {
    LocalTime now = test::At(2026, 12, 6, 13, 5, 9);
    EditorFields f = InitialEditorFields(EditMode::New, ZeroReminder(), now);
    EXPECT_EQ(f.title.Bytes(), "\xCC\xE1\xD0\xD1\xB1\xEA\xCC\xE2");    // 提醒标题 in code page 936
    EXPECT_EQ(f.content.Bytes(), "\xCC\xE1\xD0\xD1\xC4\xDA\xC8\xDD");  // 提醒内容
    EXPECT_EQ(f.kind, 0);
    EXPECT_EQ(f.stateIndex, 0);

    ReminderItem working = ZeroReminder();
    ApplyEditorFields(f, working);
    EXPECT_EQ(working.year, 2026);
    EXPECT_EQ(working.hour, 13);
    EXPECT_EQ(working.minute, 5);
    EXPECT_EQ(working.state, 0);
    EXPECT_EQ(EditorCaption(EditMode::New), "新建提醒");
}

TEST(ReminderEditor, EditKeepsEveryByteItHasNoControlFor) {
    ReminderItem item = MakeReminder(RepeatKind::Monthly, 2026, 5, 31, 7, 45, "t", ReminderState::Expired);
    item.alertTicks = 42;
    item.reserved1[3] = 9;
    item.reserved2[4000] = 7;
    EditorFields f = InitialEditorFields(EditMode::Edit, item, LocalTime{});
    EXPECT_EQ(f.stateIndex, 1);
    EXPECT_EQ(f.kind, 5);
    f.title = Gbk(std::string(1500, 'z'));

    ReminderItem working = item;
    ApplyEditorFields(f, working);
    EXPECT_EQ(GetText(working.title).Bytes(), std::string(1023, 'z'));
    EXPECT_EQ(working.state, 3);
    EXPECT_EQ(working.alertTicks, 42);
    EXPECT_EQ(working.reserved1[3], 9);
    EXPECT_EQ(working.reserved2[4000], 7);
}

TEST(ReminderEditor, MenusAndButtonCaptions) {
    EXPECT_EQ(TimeMenuText(0), "0:00");
    EXPECT_EQ(TimeMenuText(15), "7:30");
    EXPECT_EQ(TimeMenuText(47), "23:30");
    int h = -1, m = -1;
    ASSERT_TRUE(TimeFromMenuCommand(ID_TIME_FIRST + 15, h, m));
    EXPECT_EQ(h, 7);
    EXPECT_EQ(m, 30);
    EXPECT_FALSE(TimeFromMenuCommand(ID_TIME_LAST + 1, h, m)) << "would be 24:00";
    EXPECT_FALSE(TimeFromMenuCommand(ID_TIME_FIRST - 1, h, m));
    EXPECT_EQ(TimeButtonCaption(7, 30), "√7:30");

    CalendarDate sunday;
    sunday.year = 2026;
    sunday.month = 12;
    sunday.day = 6;
    sunday.weekday = 0;
    EXPECT_EQ(DayMenuText(6, sunday), "每年十二月6号");
    EXPECT_EQ(DayButtonCaption(4, sunday), "√每个星期日");
    EXPECT_EQ(KindFromDayMenuCommand(ID_DAY_FIRST + 4), 4);
    EXPECT_EQ(KindFromDayMenuCommand(ID_DAY_FIRST + 7), 7);
    EXPECT_EQ(KindFromDayMenuCommand(ID_DAY_FIRST + 8), 8);
    EXPECT_EQ(ID_DAY_LAST, ID_DAY_FIRST + 8);
    EXPECT_EQ(KindFromDayMenuCommand(ID_DAY_LAST + 1), -1);
}

TEST(ReminderAlertCountdown, BeepsAfterOneSecondThenEvery301) {
    AlertCountdown c;
    EXPECT_TRUE(c.OnTimer());
    int ticks = 0;
    while (!c.OnTimer()) ++ticks;
    EXPECT_EQ(ticks + 1, 301);
}

TEST(ReminderAlertCountdown, PutOffTenMinutesReturnsAfter601Seconds) {
    AlertCountdown c;
    c.OnTimer();
    c.PutOff(SnoozeSecondsForCommand(ID_SNOOZE_10));
    int ticks = 1;
    while (!c.OnTimer()) ++ticks;
    EXPECT_EQ(ticks, 601);
    EXPECT_EQ(SnoozeSecondsForCommand(ID_SNOOZE_5), 300);
    EXPECT_EQ(SnoozeSecondsForCommand(ID_SNOOZE_60), 3600);
    EXPECT_EQ(SnoozeSecondsForCommand(ID_SNOOZE_60 + 1), 0);
}

}  // namespace
}  // namespace vt
