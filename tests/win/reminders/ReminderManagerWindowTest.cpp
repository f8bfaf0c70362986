// The reminder manager window with its list, its one-second check, the
// alerts it opens and the answers they send back.
#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderRowView.h"
#include "resource.h"
#include "shared/win/Encoding.h"
#include "tests/win/reminders/ReminderWindowHarness.h"

namespace vt::test {
namespace {

using win::FromGbk;
using win::ToGbk;
using win::ToUtf8;

COLORREF Colour(Rgb c) { return RGB(c.r, c.g, c.b); }

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// The manager's answer to one stage of the list's custom drawing.
struct Drawn {
    LRESULT result;
    COLORREF text;
    COLORREF background;
};

Drawn CustomDraw(HWND manager, HWND list, DWORD stage, int row) {
    NMLVCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = list;
    draw.nmcd.hdr.idFrom = IDC_REMINDER_LIST;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    draw.clrTextBk = CLR_DEFAULT;
    LRESULT result = SendMessageW(manager, WM_NOTIFY, IDC_REMINDER_LIST, reinterpret_cast<LPARAM>(&draw));
    return Drawn{result, draw.clrText, draw.clrTextBk};
}

struct TooltipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK LookForTooltip(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<TooltipSearch*>(lp);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0 || GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindTooltipOf(HWND owner) {
    TooltipSearch search = {owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), LookForTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(ReminderWindowTest, ListShowsTheFileInSevenColumnsWithStateColoursAndStripes) {
    WriteFile(FileOf({Reminder(RepeatKind::Weekly, 2026, 3, 7, 8, 5, L"开会", ReminderState::Ready, L"三楼会议室"),
                      Reminder(RepeatKind::Yearly, 2026, 12, 6, 23, 30, L"生日", ReminderState::Expired)}));
    CreateManager();
    EXPECT_FALSE(IsWindowVisible(Manager()));
    ASSERT_EQ(Rows(), 2);
    // Loaded on Monday 2026-12-07 at 8:00.
    const wchar_t* row0[] = {L"开会", L"2026-3-7", L"每个星期六", L"8:05", L"三楼会议室", L"准备中", L"12月12日 8:05"};
    const wchar_t* row1[] = {L"生日", L"2026-12-6", L"每年十二月6号", L"23:30", L"", L"已过期", L"12月6日 23:30"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Cell(0, c), row0[c]) << "column " << c;
        EXPECT_EQ(Cell(1, c), row1[c]) << "column " << c;
    }

    // Every heading and every cell of the program's own reads in full, and
    // the columns leave room for the vertical scroll bar: the list never
    // needs scrolling sideways.
    RECT client;
    GetClientRect(List(), &client);
    int columnsWidth = 0;
    const wchar_t* headings[] = {L"名称", L"日期", L"周期", L"时间", L"内容", L"状态", L"下次提醒"};
    for (int c = 0; c < 7; ++c) {
        wchar_t text[32] = {};
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = text;
        col.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(List(), LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&col)));
        EXPECT_STREQ(text, headings[c]);
        const int margin = 12;  // the list's own padding at either side of a text
        EXPECT_LE(SendMessageW(List(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(headings[c])) + margin, col.cx)
            << "heading " << c;
        if (c != vt::kTitleColumn && c != vt::kContentColumn) {
            const std::wstring cell = Cell(0, c);
            EXPECT_LE(SendMessageW(List(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell.c_str())) + margin,
                      col.cx)
                << "cell " << c;
        }
        columnsWidth += col.cx;
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    EXPECT_LE(columnsWidth + GetSystemMetrics(SM_CXVSCROLL), client.right - client.left);
    EXPECT_EQ(SendMessageW(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x521, 0x521);
    RECT item = {};
    item.left = LVIR_BOUNDS;
    SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.bottom - item.top, 20) << "rows as tall as the image list's images";

    EXPECT_EQ(CustomDraw(Manager(), List(), CDDS_PREPAINT, 0).result, CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(CustomDraw(Manager(), List(), CDDS_ITEMPREPAINT, 0).result, CDRF_NOTIFYSUBITEMDRAW);
    Drawn ready = CustomDraw(Manager(), List(), CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0);
    EXPECT_EQ(ready.result, CDRF_DODEFAULT);
    // In the colours the row view gives the state and the row's place.
    EXPECT_EQ(ready.text, Colour(StateTextColour(static_cast<int>(ReminderState::Ready))));
    EXPECT_EQ(ready.background, Colour(RowBackground(0)));
    Drawn expired = CustomDraw(Manager(), List(), CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1);
    EXPECT_EQ(expired.text, Colour(StateTextColour(static_cast<int>(ReminderState::Expired))));
    EXPECT_EQ(expired.background, Colour(RowBackground(1)));
    EXPECT_NE(expired.text, ready.text);
    EXPECT_NE(expired.background, ready.background);

    HWND tip = FindTooltipOf(Manager());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t tipText[80] = {};
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.lpszText = tipText;
    ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_STREQ(tipText, L"双击可以查看详细内容");
    EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(List()));
}

TEST_F(ReminderWindowTest, TheCaptionIsTheClockAndAnAlertOpensOneTickAfterTheFiring) {
    ReminderItem meeting = Reminder(RepeatKind::Once, 2026, 12, 7, 8, 30, L"开会", ReminderState::Ready, L"带上周报");
    SetText(meeting.command, ToGbk(L"C:\\Program Files\\会议\\start.exe"));
    SetText(meeting.music, ToGbk(L"D:\\音乐\\ring.mp3"));
    WriteFile(FileOf({meeting, Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"later")}));
    CreateManager();

    TickAt(8, 29, 59);
    EXPECT_EQ(WindowText(Manager()), L"提醒管理器  北京时间  2026-12-7  8:29:59 星期一");
    EXPECT_EQ(Cell(0, 5), L"准备中");
    TickAt(8, 30, 0);
    EXPECT_EQ(Cell(0, 5), L"提醒中");
    EXPECT_EQ(Cell(1, 5), L"准备中");
    EXPECT_TRUE(m_dialog->Alerts().empty()) << "not in the tick that fires it";
    EXPECT_TRUE(m_shell.opened.empty());
    Drawn red = CustomDraw(Manager(), List(), CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0);
    EXPECT_EQ(red.text, Colour(StateTextColour(static_cast<int>(ReminderState::Alerting))));
    EXPECT_NE(red.text, Colour(StateTextColour(static_cast<int>(ReminderState::Ready))));

    TickAt(8, 30, 1);
    ASSERT_EQ(m_dialog->Alerts().size(), 1u);
    HWND alert = Alert(0).Hwnd();
    EXPECT_TRUE(IsWindowVisible(alert));
    EXPECT_EQ(WindowText(alert), L"开会 - 时间到了！(8:30)");
    EXPECT_EQ(ItemText(alert, IDC_ALERT_CONTENT), L"带上周报");
    EXPECT_EQ(GetWindow(alert, GW_OWNER), Manager());
    EXPECT_TRUE(GetWindowLongW(Manager(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "the manager stays on top";
    EXPECT_TRUE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST) << "so its alerts must too";
    std::vector<std::string> launched = {ToUtf8(L"\"C:\\Program Files\\会议\\start.exe\""),
                                         ToUtf8(L"\"D:\\音乐\\ring.mp3\"")};
    EXPECT_EQ(m_shell.opened, launched) << "program first, then music, each quoted";

    // With the manager hidden the alert sits in the middle of the work area.
    RECT work, rc;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(alert, &rc);
    EXPECT_NEAR((rc.left + rc.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rc.top + rc.bottom) / 2, (work.top + work.bottom) / 2, 1);

    TickAt(8, 30, 2);
    EXPECT_EQ(m_dialog->Alerts().size(), 1u) << "one alert per firing";
    EXPECT_EQ(m_shell.opened.size(), 2u);
}

TEST_F(ReminderWindowTest, AClockChangeOrAResumeChecksAtOnceAndALateAlertSaysWhatItAnswers) {
    ReminderItem daily = Reminder(RepeatKind::Daily, 2026, 12, 1, 7, 30, L"喝水", ReminderState::Ready, L"起来走走");
    ASSERT_TRUE(WriteDoneBlock(daily, MinuteOf(At(2026, 12, 4, 7, 30))));  // done through Friday's
    WriteFile(FileOf({daily}));
    CreateManager();  // Monday 8:00
    EXPECT_EQ(Cell(0, 6), L"12月5日 7:30") << "the first occurrence not done";
    // What the main window passes on of WM_TIMECHANGE and a resume.
    m_dialog->OnClockJump();
    EXPECT_EQ(Cell(0, 5), L"提醒中") << "checked at once, no tick needed";
    EXPECT_TRUE(m_dialog->Alerts().empty());
    m_dialog->OnClockJump();
    ASSERT_EQ(m_dialog->Alerts().size(), 1u) << "the resume checked at once as well";
    EXPECT_EQ(WindowText(Alert(0).Hwnd()), L"喝水 - 时间到了！(7:30)");
    EXPECT_EQ(ItemText(Alert(0).Hwnd(), IDC_ALERT_CONTENT), L"错过的提醒：12月7日 7:30，共3次\r\n起来走走");
    SendMessageW(Manager(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(m_dialog->Alerts().size(), 1u);

    RunAnswering([&] { Click(Alert(0).Hwnd(), IDOK); }, {AnswerBox(IDYES)});
    EXPECT_EQ(Cell(0, 6), L"12月8日 7:30") << "Saturday to Monday answered at once";
    // Midnight: the next occurrence is today's now.
    m_clock.Set(2026, 12, 8, 0, 0, 0);
    Tick();
    EXPECT_EQ(Cell(0, 6), L"今天 7:30");
    EXPECT_EQ(Cell(0, 5), L"准备中");
}

// Counts the cell writes the list receives: texts set, or (the list being
// virtual) rows asked to fetch their cells again.
LRESULT CALLBACK CountCellWrites(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == LVM_SETITEMTEXTW || msg == LVM_SETITEMW || msg == LVM_REDRAWITEMS) ++*reinterpret_cast<int*>(data);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST_F(ReminderWindowTest, OnlyStateCellsThatChangeAreWrittenSoTheListDoesNotFlicker) {
    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"a"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, L"b"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 10, 0, L"c", ReminderState::Expired)}));
    CreateManager();
    int writes = 0;
    SetWindowSubclass(List(), CountCellWrites, 1, reinterpret_cast<DWORD_PTR>(&writes));
    TickAt(8, 29, 0);  // c re-armed: one cell
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(Cell(2, 5), L"准备中");
    writes = 0;
    TickAt(8, 29, 1);
    TickAt(8, 29, 2);
    EXPECT_EQ(writes, 0) << "nothing changed";
    TickAt(8, 30, 0);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(Cell(1, 5), L"提醒中");
    RemoveWindowSubclass(List(), CountCellWrites, 1);
}

TEST_F(ReminderWindowTest, AlertAnswersReachTheirOwnReminderAfterRowsAboveAreDeleted) {
    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, L"a"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, L"b"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, L"c")}));
    CreateManager();
    TickAt(8, 30, 0);
    TickAt(8, 30, 1);
    ASSERT_EQ(m_dialog->Alerts().size(), 3u);

    Select({0});
    std::wstring question, caption;
    EXPECT_EQ(ClickAnswering(IDC_DELETE_REMINDER, {AnswerBox(IDYES, &question, &caption)}), 1u);
    EXPECT_EQ(question, L"你确定删除已选择的提醒吗？");
    EXPECT_EQ(caption, L"Vantrel");
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 0), L"b");

    // c's alert is put off with its button.
    Click(Alert(2).Hwnd(), IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(Alert(2).Hwnd()));
    EXPECT_EQ(Alert(2).Countdown(), 300);
    EXPECT_EQ(Cell(1, 5), L"稍后再次提醒");
    EXPECT_EQ(Cell(0, 5), L"提醒中") << "b untouched";

    // a's reminder is gone: its answer changes nothing.
    Click(Alert(0).Hwnd(), IDCANCEL);
    EXPECT_EQ(Cell(0, 5), L"提醒中");
    EXPECT_EQ(Cell(1, 5), L"稍后再次提醒");

    // b: "No" to the confirmation leaves everything as it was, "Yes" ends it.
    std::wstring confirm, confirmCaption;
    EXPECT_EQ(RunAnswering([&] { Click(Alert(1).Hwnd(), IDOK); }, {AnswerBox(IDNO, &confirm, &confirmCaption)}), 1u);
    EXPECT_EQ(confirm, L"你确认收到了该提醒吗？");
    EXPECT_EQ(confirmCaption, L"提醒确认：");
    EXPECT_TRUE(IsWindowVisible(Alert(1).Hwnd()));
    EXPECT_EQ(Cell(0, 5), L"提醒中");
    EXPECT_EQ(RunAnswering([&] { Click(Alert(1).Hwnd(), IDOK); }, {AnswerBox(IDYES)}), 1u);
    EXPECT_FALSE(IsWindowVisible(Alert(1).Hwnd()));
    EXPECT_TRUE(Alert(1).IsDone());
    EXPECT_EQ(Cell(0, 5), L"已过期");

    TickAt(8, 30, 2);
    EXPECT_EQ(m_dialog->Alerts().size(), 2u) << "the acknowledged alert is let go, the others stay";
    EXPECT_EQ(Cell(0, 5), L"已过期");
}

TEST_F(ReminderWindowTest, EscCloseBoxAndMenuPutTheAlertOffUntilItComesBackByItself) {
    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 0, L"x")}));
    CreateManager();
    Tick();
    Tick();
    ASSERT_EQ(m_dialog->Alerts().size(), 1u);
    ReminderAlertDialog& alert = Alert(0);
    auto tickAlert = [&](int times) {
        for (int i = 0; i < times; ++i) SendMessageW(alert.Hwnd(), WM_TIMER, kAlertTimerId, 0);
    };
    tickAlert(1);  // the first beep and flash, one second after opening
    EXPECT_EQ(alert.Countdown(), 300);

    // Esc, as the program's message loop hands it to the dialog.
    MSG esc = {};
    esc.hwnd = GetDlgItem(alert.Hwnd(), IDCANCEL);
    esc.message = WM_KEYDOWN;
    esc.wParam = VK_ESCAPE;
    EXPECT_TRUE(win::Dialog::RouteMessage(&esc));
    EXPECT_FALSE(IsWindowVisible(alert.Hwnd()));
    EXPECT_EQ(Cell(0, 5), L"稍后再次提醒");
    tickAlert(300);
    EXPECT_FALSE(IsWindowVisible(alert.Hwnd()));
    tickAlert(1);
    EXPECT_TRUE(IsWindowVisible(alert.Hwnd())) << "back 301 seconds later";
    EXPECT_EQ(Cell(0, 5), L"稍后再次提醒") << "the list keeps saying so";

    SendMessageW(alert.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();  // the dialog posts itself IDCANCEL for its close box
    EXPECT_FALSE(IsWindowVisible(alert.Hwnd())) << "the close box puts it off too";
    EXPECT_EQ(alert.Countdown(), 300);

    SendMessageW(alert.Hwnd(), WM_COMMAND, ID_SNOOZE_10, 0);  // "等十分钟"
    EXPECT_EQ(alert.Countdown(), 600);
    tickAlert(600);
    EXPECT_FALSE(IsWindowVisible(alert.Hwnd()));
    tickAlert(1);
    EXPECT_TRUE(IsWindowVisible(alert.Hwnd())) << "back 601 seconds later";

    // A minimised alert left alone is restored by its own timer.
    ShowWindow(alert.Hwnd(), SW_MINIMIZE);
    tickAlert(301);
    EXPECT_FALSE(IsIconic(alert.Hwnd()));

    const int seconds[] = {300, 600, 900, 1800, 3600};
    for (int i = 0; i < 5; ++i) {
        SendMessageW(alert.Hwnd(), WM_COMMAND, ID_SNOOZE_5 + i, 0);
        EXPECT_EQ(alert.Countdown(), seconds[i]);
    }
    EXPECT_EQ(Cell(0, 5), L"稍后再次提醒");
}

// A window titled as the main window: the manager must not go looking for
// it, it reaches its owner through the balloon it was given.
std::vector<WPARAM> g_balloons;
LRESULT CALLBACK FakeMainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SHOWBALLOON) {
        g_balloons.push_back(wp);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST_F(ReminderWindowTest, AReminderInAlertIsNotEditedButTheOwnerShowsItsBalloon) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FakeMainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VtFakeMainWindow";
    RegisterClassW(&wc);
    HWND main = CreateWindowW(L"VtFakeMainWindow", kMainWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(main, nullptr);
    g_balloons.clear();

    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 0, L"due"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"later")}));
    CreateManager();
    EXPECT_FALSE(Enabled(Manager(), IDC_EDIT_REMINDER));
    EXPECT_FALSE(Enabled(Manager(), IDC_DELETE_REMINDER));
    Tick();  // row 0 alerting

    Select({1});
    EXPECT_TRUE(Enabled(Manager(), IDC_EDIT_REMINDER));
    EXPECT_TRUE(Enabled(Manager(), IDC_DELETE_REMINDER));
    Select({0, 1});
    EXPECT_FALSE(Enabled(Manager(), IDC_EDIT_REMINDER)) << "the first selected row is alerting";
    EXPECT_TRUE(Enabled(Manager(), IDC_DELETE_REMINDER));

    NMITEMACTIVATE dbl = {};
    dbl.hdr.hwndFrom = List();
    dbl.hdr.idFrom = IDC_REMINDER_LIST;
    dbl.hdr.code = NM_DBLCLK;
    dbl.iItem = 1;
    size_t editors =
        RunAnswering([&] { SendMessageW(Manager(), WM_NOTIFY, IDC_REMINDER_LIST, reinterpret_cast<LPARAM>(&dbl)); },
                     {WithDialog(L"编辑提醒", [](HWND ed) { PostMessageW(ed, WM_COMMAND, IDCANCEL, 0); })});
    EXPECT_EQ(editors, 0u) << "no editor for a reminder in alert";
    EXPECT_EQ(m_balloons, std::vector<std::string>{"提醒正在运行中是不可以编辑的哦～"});
    EXPECT_TRUE(g_balloons.empty()) << "no public message to a window found by title";

    // Once answered, the row may be edited again.
    Tick();  // its alert opens
    ASSERT_EQ(m_dialog->Alerts().size(), 1u);
    RunAnswering([&] { Click(Alert(0).Hwnd(), IDOK); }, {AnswerBox(IDYES)});
    EXPECT_TRUE(Enabled(Manager(), IDC_EDIT_REMINDER));

    Select({});
    EXPECT_FALSE(Enabled(Manager(), IDC_EDIT_REMINDER));
    EXPECT_FALSE(Enabled(Manager(), IDC_DELETE_REMINDER));
    DestroyWindow(main);
}

// No holiday schedule beside the file: the statutory-workday reminder keeps
// to Monday to Friday in 2027, and the owner is told so once.
TEST_F(ReminderWindowTest, AYearWithoutScheduleIsToldThroughTheOwnersBalloon) {
    m_clock.Set(2026, 12, 31, 12, 0);
    WriteFile(FileOf({Reminder(RepeatKind::StatutoryWorkdays, 2026, 9, 1, 8, 30, L"w", ReminderState::Expired)}));
    CreateManager();
    Tick();
    TickAt(12, 1, 0);
    EXPECT_EQ(m_balloons, std::vector<std::string>{"2027年的法定节假日安排尚未获取，暂按周一至周五提醒。"});
}

void TypeAndAccept(HWND editor, const std::wstring& title, const std::wstring& content, int stateIndex) {
    if (!title.empty())
        SendMessageW(GetDlgItem(editor, IDC_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    if (!content.empty())
        SendMessageW(GetDlgItem(editor, IDC_CONTENT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(content.c_str()));
    if (stateIndex >= 0) SendMessageW(GetDlgItem(editor, IDC_STATE), CB_SETCURSEL, stateIndex, 0);
    PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
}

TEST_F(ReminderWindowTest, NewAndEditGoThroughTheEditorAndReachTheFileWhenTheWindowCloses) {
    CreateManager();
    m_clock.Set(2026, 12, 7, 8, 5, 30);
    EXPECT_EQ(ClickAnswering(IDC_NEW_REMINDER,
                             {WithDialog(L"新建提醒", [](HWND ed) { TypeAndAccept(ed, L"交报告", L"", -1); })}),
              1u);
    ASSERT_EQ(Rows(), 1);
    const wchar_t* added[] = {L"交报告", L"2026-12-7", L"指定日期", L"8:05", L"提醒内容", L"准备中", L"今天 8:05"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(Cell(0, c), added[c]) << "column " << c;
    EXPECT_TRUE(FileBytes().empty()) << "written only when the window closes";

    Select({0});
    EXPECT_EQ(ClickAnswering(IDC_EDIT_REMINDER,
                             {WithDialog(L"编辑提醒", [](HWND ed) { TypeAndAccept(ed, L"", L"改过了", 1); })}),
              1u);
    EXPECT_EQ(Cell(0, 0), L"交报告");
    EXPECT_EQ(Cell(0, 4), L"改过了");
    EXPECT_EQ(Cell(0, 5), L"已过期");
    EXPECT_EQ(Cell(0, 6), L"") << "a Once reminder that is done has no next occurrence";

    // Cancel changes nothing.
    EXPECT_EQ(ClickAnswering(IDC_EDIT_REMINDER, {WithDialog(L"编辑提醒",
                                                            [](HWND ed) {
                                                                SendMessageW(GetDlgItem(ed, IDC_TITLE), WM_SETTEXT, 0,
                                                                             reinterpret_cast<LPARAM>(L"x"));
                                                                PostMessageW(ed, WM_COMMAND, IDCANCEL, 0);
                                                            })}),
              1u);
    EXPECT_EQ(Cell(0, 0), L"交报告");

    ShowWindow(Manager(), SW_SHOW);
    Click(Manager(), IDOK);  // "完成(&S)"
    EXPECT_FALSE(IsWindowVisible(Manager()));
    std::string bytes = FileBytes();
    ASSERT_EQ(bytes.size(), kReminderItemSize);
    ReminderItem saved = DecodeReminder(reinterpret_cast<const unsigned char*>(bytes.data()));
    EXPECT_EQ(FromGbk(GetText(saved.title)), L"交报告");
    EXPECT_EQ(FromGbk(GetText(saved.content)), L"改过了");
    EXPECT_EQ(saved.state, 3);
    EXPECT_EQ(saved.hour, 8);
    EXPECT_EQ(saved.minute, 5);

    // Esc saves as well.
    ClickAnswering(IDC_NEW_REMINDER, {WithDialog(L"新建提醒", [](HWND ed) { TypeAndAccept(ed, L"", L"", -1); })});
    SendMessageW(Manager(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(FileBytes().size(), 2 * kReminderItemSize);
}

TEST_F(ReminderWindowTest, SaveAndCloseWritesOpenAlertsAsReadyAndClosesTheirWindows) {
    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 8, 0, L"a"),
                      Reminder(RepeatKind::Once, 2026, 12, 7, 8, 0, L"b"),
                      Reminder(RepeatKind::Daily, 2026, 1, 1, 7, 0, L"c", ReminderState::Expired)}));
    CreateManager();
    Tick();
    Tick();
    ASSERT_EQ(m_dialog->Alerts().size(), 2u);
    Click(Alert(0).Hwnd(), IDCANCEL);  // a snoozed, b alerting
    HWND alerts[] = {Alert(0).Hwnd(), Alert(1).Hwnd()};
    ShowWindow(Manager(), SW_SHOW);

    m_dialog->SaveAndClose();
    EXPECT_FALSE(IsWindowVisible(Manager()));
    EXPECT_FALSE(IsWindow(alerts[0]));
    EXPECT_FALSE(IsWindow(alerts[1]));
    std::string bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 3 * kReminderItemSize);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(DecodeReminder(p).state, 0);
    EXPECT_EQ(DecodeReminder(p + kReminderItemSize).state, 0);
    EXPECT_EQ(DecodeReminder(p + 2 * kReminderItemSize).state, 3);

    // Nothing fires once the way out has begun.
    TickAt(9, 0, 0);
    EXPECT_EQ(m_dialog->Alerts().size(), 2u);
    EXPECT_EQ(m_shell.opened.size(), 0u);
}

TEST_F(ReminderWindowTest, ADamagedFileIsKeptAsideAndTheUserIsToldOnce) {
    std::vector<unsigned char> bytes = FileOf(
        {Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"a"), Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"b")});
    bytes.insert(bytes.end(), 100, 0x55);
    WriteFile(bytes);
    std::wstring text, caption;
    EXPECT_EQ(RunAnswering([&] { CreateManager(); }, {AnswerBox(IDOK, &text, &caption)}), 1u);
    EXPECT_EQ(caption, L"Vantrel");
    EXPECT_EQ(text, L"提醒文件已损坏，只读出了2条提醒。\n原文件已另存为：\n" + m_path + L".bak");
    std::vector<unsigned char> kept;
    ASSERT_TRUE(m_files.ReadAll(ToUtf8(m_path + L".bak"), kept));
    EXPECT_EQ(kept, bytes);
    EXPECT_EQ(Rows(), 2);

    EXPECT_EQ(RunAnswering([&] { SendMessageW(Manager(), WM_COMMAND, IDCANCEL, 0); }, {AnswerBox(IDOK)}), 0u)
        << "told once only";
    EXPECT_EQ(FileBytes().size(), 2 * kReminderItemSize);
}

TEST_F(ReminderWindowTest, AFolderRefusingNewFilesStillKeepsEveryChangeWithoutAWord) {
    WriteFile(FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"a")}));
    ASSERT_TRUE(CreateDirectoryW((m_path + L".tmp").c_str(), nullptr));  // no new file can go there
    EXPECT_EQ(RunAnswering([&] { CreateManager(); }, {AnswerBox(IDOK)}), 0u) << "nothing to tell";
    ClickAnswering(IDC_NEW_REMINDER, {WithDialog(L"新建提醒", [](HWND ed) { TypeAndAccept(ed, L"", L"", -1); })});
    SendMessageW(Manager(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(FileBytes().size(), 2 * kReminderItemSize) << "written in place";
    RemoveDirectoryW((m_path + L".tmp").c_str());
}

TEST_F(ReminderWindowTest, AFolderWhereNoReminderCanBeKeptIsNamedOnceAtStart) {
    // Neither a new file nor Notify.dat itself can be written (Wine lets
    // root write anything a permission would refuse: a handle that lets
    // others read but not write stands in for it).
    const auto original = FileOf({Reminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, L"a")});
    WriteFile(original);
    ASSERT_TRUE(CreateDirectoryW((m_path + L".tmp").c_str(), nullptr));
    HANDLE lock = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::wstring text, caption;
    EXPECT_EQ(RunAnswering([&] { CreateManager(); }, {AnswerBox(IDOK, &text, &caption)}), 1u);
    EXPECT_EQ(caption, L"Vantrel");
    const std::wstring folder = m_dir.substr(0, m_dir.size() - 1);
    EXPECT_EQ(text.rfind(L"无法在文件夹“" + folder + L"”中保存提醒", 0), 0u) << ToUtf8(text);
    EXPECT_EQ(Rows(), 1) << "its reminders are there as ever";

    EXPECT_EQ(RunAnswering([&] { SendMessageW(Manager(), WM_COMMAND, IDCANCEL, 0); }, {AnswerBox(IDOK)}), 0u)
        << "told once only";
    EXPECT_EQ(FileBytes(), std::string(original.begin(), original.end())) << "left as it was";
    CloseHandle(lock);
    RemoveDirectoryW((m_path + L".tmp").c_str());
}

}  // namespace
}  // namespace vt::test
