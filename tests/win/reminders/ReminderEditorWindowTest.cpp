// The reminder editor: its start values, the day and time menus, the
// buttons that show the choice, and what OK stores.
#include <cstring>

#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderEditDialog.h"
#include "assistant/reminders/ReminderPower.h"
#include "resource.h"
#include "shared/win/Encoding.h"
#include "tests/win/reminders/ReminderWindowHarness.h"

namespace vt::test {
namespace {

using win::FromGbk;
using win::ToGbk;

// An open pop-up menu of a thread.
BOOL CALLBACK LookForMenu(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32768") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

class ReminderEditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void SetUp() override { m_clock.Set(2026, 12, 6, 8, 5, 30); }  // a Sunday
    void TearDown() override {
        m_editor.reset();
        PumpMessages();
    }

    void Open(EditMode mode, const ReminderItem& item = ZeroReminder()) {
        m_editor = std::make_unique<ReminderEditDialog>(m_clock);
        m_editor->SetEditItem(mode, item);
        ASSERT_TRUE(m_editor->Create(nullptr));
    }
    HWND Ed() const { return m_editor->Hwnd(); }
    std::wstring Text(int id) const { return WindowText(GetDlgItem(Ed(), id)); }
    void SetTextOf(int id, const std::wstring& text) {
        SendMessageW(GetDlgItem(Ed(), id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Command(int id) { SendMessageW(Ed(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    SYSTEMTIME Picker(int id) const {
        SYSTEMTIME t = {};
        SendDlgItemMessageW(Ed(), id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return t;
    }
    // The user turns the date picker to another day; the time stays.
    void TurnDate(WORD year, WORD month, WORD day) {
        SYSTEMTIME t = Picker(IDC_DATE);
        t.wYear = year;
        t.wMonth = month;
        t.wDay = day;
        TurnPicker(IDC_DATE, t);
    }
    // The user turns a picker: the new value, then its change notice.
    void TurnPicker(int id, SYSTEMTIME t) {
        SendDlgItemMessageW(Ed(), id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
        NMDATETIMECHANGE change = {};
        change.nmhdr.hwndFrom = GetDlgItem(Ed(), id);
        change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        change.st = t;
        SendMessageW(Ed(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
    }
    // Clicks the button that opens a pop-up menu and closes the menu again.
    void OpenAndCloseMenu(int buttonId) {
        ModalStep closeMenu;
        closeMenu.find = [](DWORD thread) {
            HWND found = nullptr;
            EnumThreadWindows(thread, LookForMenu, reinterpret_cast<LPARAM>(&found));
            return found;
        };
        HWND editor = Ed();
        closeMenu.act = [editor](HWND) { PostMessageW(editor, WM_CANCELMODE, 0, 0); };
        EXPECT_EQ(RunAnswering([&] { Click(Ed(), buttonId); }, {closeMenu}), 1u);
    }
    static std::vector<std::wstring> MenuTexts(HMENU menu) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
            texts.push_back(text);
        }
        return texts;
    }
    static bool RadioChecked(HMENU menu, UINT id) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoW(menu, id, FALSE, &info);
        return (info.fType & MFT_RADIOCHECK) && (info.fState & MFS_CHECKED);
    }
    bool SelectsAllOnDoubleClick(int id) {
        HWND edit = GetDlgItem(Ed(), id);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"alpha beta gamma"));
        SendMessageW(edit, EM_SETSEL, 0, 0);
        LPARAM at = MAKELPARAM(4, 4);
        SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(edit, WM_LBUTTONUP, 0, at);
        SendMessageW(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(edit, WM_LBUTTONUP, 0, at);
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == 16;
    }

    FakeClock m_clock;
    std::unique_ptr<ReminderEditDialog> m_editor;
};

TEST_F(ReminderEditorTest, ANewReminderStartsFromTheDefaultsAtTheCurrentMinute) {
    Open(EditMode::New);
    EXPECT_EQ(WindowText(Ed()), L"新建提醒");
    EXPECT_EQ(Text(IDC_TITLE), L"提醒标题");
    EXPECT_EQ(Text(IDC_CONTENT), L"提醒内容");
    EXPECT_EQ(Text(IDC_COMMAND), L"");
    EXPECT_EQ(Text(IDC_MUSIC), L"");
    HWND state = GetDlgItem(Ed(), IDC_STATE);
    ASSERT_EQ(SendMessageW(state, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(state, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(IDC_STATE), L"准备中");
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√指定日期");
    EXPECT_EQ(Text(IDC_TIME_BUTTON), L"√8:05");
    SYSTEMTIME date = Picker(IDC_DATE);
    EXPECT_EQ(date.wYear, 2026);
    EXPECT_EQ(date.wMonth, 12);
    EXPECT_EQ(date.wDay, 6);

    Click(Ed(), IDOK);
    EXPECT_FALSE(IsWindowVisible(Ed()));
    const ReminderItem& item = m_editor->GetEditItem();
    EXPECT_EQ(FromGbk(GetText(item.title)), L"提醒标题");
    EXPECT_EQ(FromGbk(GetText(item.content)), L"提醒内容");
    EXPECT_EQ(item.repeat, 0);
    EXPECT_EQ(item.state, 0);
    EXPECT_EQ(item.year * 10000 + item.month * 100 + item.day, 20261206);
    EXPECT_EQ(item.hour * 100 + item.minute, 805);
    EXPECT_EQ(item.alertTicks, 0);
    unsigned char zeros[sizeof item.reserved2] = {};
    EXPECT_EQ(std::memcmp(item.reserved2, zeros, sizeof item.reserved2), 0);
}

TEST_F(ReminderEditorTest, TheDayMenuIsBuiltAfreshEachTimeForThePickedDate) {
    Open(EditMode::New);
    OpenAndCloseMenu(IDC_DAY_BUTTON);
    OpenAndCloseMenu(IDC_DAY_BUTTON);
    std::vector<std::wstring> sunday = {L"指定日期",      L"每天",           L"每个工作日",
                                        L"每个双休日",    L"每个星期日",     L"每月6号",
                                        L"每年十二月6号", L"每个法定工作日", L"每年农历十月廿八"};
    EXPECT_EQ(MenuTexts(m_editor->DayMenu()), sunday) << "nine rules, once";
    EXPECT_TRUE(RadioChecked(m_editor->DayMenu(), ID_DAY_FIRST));

    Command(ID_DAY_FIRST + 4);
    EXPECT_EQ(m_editor->Kind(), 4);
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每个星期日");

    SYSTEMTIME monday = Picker(IDC_DATE);
    monday.wDay = 7;
    TurnPicker(IDC_DATE, monday);
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每个星期一");
    EXPECT_EQ(m_editor->Kind(), 4) << "the kind stays, only its wording follows the date";
    OpenAndCloseMenu(IDC_DAY_BUTTON);
    std::vector<std::wstring> texts = MenuTexts(m_editor->DayMenu());
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[4], L"每个星期一");
    EXPECT_EQ(texts[6], L"每年十二月7号");
    EXPECT_EQ(texts[8], L"每年农历十月廿九");
    EXPECT_TRUE(RadioChecked(m_editor->DayMenu(), ID_DAY_FIRST + 4));
    EXPECT_FALSE(RadioChecked(m_editor->DayMenu(), ID_DAY_FIRST));

    Click(Ed(), IDOK);
    EXPECT_EQ(m_editor->GetEditItem().repeat, 4);
    EXPECT_EQ(m_editor->GetEditItem().day, 7);
}

TEST_F(ReminderEditorTest, TheLunarRuleShowsThePickedDatesLunarDateBesideThePicker) {
    Open(EditMode::New);
    HWND lunar = GetDlgItem(Ed(), IDC_LUNAR_DATE);
    ASSERT_NE(lunar, nullptr);
    // The editor itself is not shown in these tests: the static's own style says.
    auto shown = [&] { return (GetWindowLongW(lunar, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_FALSE(shown()) << "only with the lunar rule";

    Command(ID_DAY_FIRST + 8);
    EXPECT_EQ(m_editor->Kind(), 8);
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每年农历十月廿八");
    EXPECT_TRUE(shown());
    EXPECT_EQ(Text(IDC_LUNAR_DATE), L"农历十月廿八");

    TurnDate(2027, 9, 15);  // 中秋
    EXPECT_EQ(Text(IDC_LUNAR_DATE), L"农历八月十五");
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每年农历八月十五");

    TurnDate(2023, 3, 22);  // 闰二月初一: the rule is the ordinary month
    EXPECT_EQ(Text(IDC_LUNAR_DATE), L"农历闰二月初一");
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每年农历二月初一");

    Command(ID_DAY_FIRST + 7);
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每个法定工作日");
    EXPECT_FALSE(shown());
    Command(ID_DAY_FIRST + 8);
    Click(Ed(), IDOK);
    EXPECT_EQ(m_editor->GetEditItem().repeat, 8);
    EXPECT_EQ(m_editor->GetEditItem().year * 10000 + m_editor->GetEditItem().month * 100 + m_editor->GetEditItem().day,
              20230322)
        << "the Gregorian date picked is kept";
}

TEST_F(ReminderEditorTest, OutsideTheLunarTableTheLunarRuleIsNotOffered) {
    Open(EditMode::New);
    TurnDate(1899, 6, 1);
    OpenAndCloseMenu(IDC_DAY_BUTTON);
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(m_editor->DayMenu(), ID_DAY_FIRST + 8, FALSE, &info));
    EXPECT_TRUE(info.fState & MFS_GRAYED);
    ASSERT_TRUE(GetMenuItemInfoW(m_editor->DayMenu(), ID_DAY_FIRST + 7, FALSE, &info));
    EXPECT_FALSE(info.fState & MFS_GRAYED);
}

TEST_F(ReminderEditorTest, TheTimeMenuSetsThePickerAndTheButtonCaption) {
    Open(EditMode::New);
    std::vector<std::wstring> times = MenuTexts(m_editor->TimeMenu());
    ASSERT_EQ(times.size(), 48u);
    EXPECT_EQ(times[0], L"0:00");
    EXPECT_EQ(times[15], L"7:30");
    EXPECT_EQ(times[47], L"23:30");

    Command(ID_TIME_FIRST + 15);
    SYSTEMTIME t = Picker(IDC_TIME);
    EXPECT_EQ(t.wHour, 7);
    EXPECT_EQ(t.wMinute, 30);
    EXPECT_EQ(Text(IDC_TIME_BUTTON), L"√7:30");
    Command(ID_TIME_LAST + 1);  // would be 24:00
    EXPECT_EQ(Text(IDC_TIME_BUTTON), L"√7:30");

    t.wHour = 21;
    t.wMinute = 5;
    TurnPicker(IDC_TIME, t);
    EXPECT_EQ(Text(IDC_TIME_BUTTON), L"√21:05");
    OpenAndCloseMenu(IDC_TIME_BUTTON);
    EXPECT_EQ(GetMenuItemCount(m_editor->TimeMenu()), 48) << "appended once, at initialisation";

    Click(Ed(), IDOK);
    EXPECT_EQ(m_editor->GetEditItem().hour, 21);
    EXPECT_EQ(m_editor->GetEditItem().minute, 5);
}

TEST_F(ReminderEditorTest, OkCutsLongTextsAtWholeCharactersAndKeepsWhatItHasNoControlFor) {
    ReminderItem item = Reminder(RepeatKind::Monthly, 2026, 5, 31, 7, 45, L"月报", ReminderState::Expired, L"写月报");
    SetText(item.command, ToGbk(L"C:\\Tools\\report.exe"));
    item.alertTicks = 42;
    item.reserved1[3] = 9;
    item.reserved2[4000] = 7;
    Open(EditMode::Edit, item);
    EXPECT_EQ(WindowText(Ed()), L"编辑提醒");
    EXPECT_EQ(Text(IDC_TITLE), L"月报");
    EXPECT_EQ(Text(IDC_COMMAND), L"C:\\Tools\\report.exe");
    EXPECT_EQ(Text(IDC_STATE), L"已过期");
    EXPECT_EQ(Text(IDC_DAY_BUTTON), L"√每月31号");
    EXPECT_EQ(Text(IDC_TIME_BUTTON), L"√7:45");

    SetTextOf(IDC_TITLE, std::wstring(2000, L'a'));
    SetTextOf(IDC_CONTENT, std::wstring(600, L'内'));
    SetTextOf(IDC_MUSIC, L"E:\\" + std::wstring(1100, L'b'));
    Click(Ed(), IDOK);
    const ReminderItem& out = m_editor->GetEditItem();
    EXPECT_EQ(GetText(out.title).Bytes(), std::string(1023, 'a'));
    EXPECT_EQ(FromGbk(GetText(out.content)), std::wstring(511, L'内')) << "1022 bytes: no half character";
    EXPECT_EQ(GetText(out.music).size(), 1023u);
    EXPECT_EQ(out.content[1023], '\0');
    EXPECT_EQ(FromGbk(GetText(out.command)), L"C:\\Tools\\report.exe");
    EXPECT_EQ(out.state, 3) << "已过期 accepted unchanged";
    EXPECT_EQ(out.repeat, 5);
    EXPECT_EQ(out.year * 10000 + out.month * 100 + out.day, 20260531);
    EXPECT_EQ(out.hour * 100 + out.minute, 745);
    EXPECT_EQ(out.alertTicks, 42);
    EXPECT_EQ(out.reserved1[3], 9);
    EXPECT_EQ(out.reserved2[4000], 7);
}

TEST_F(ReminderEditorTest, ThePowerDropDownShowsTheRecordsActionAndOkStoresTheChoice) {
    Open(EditMode::New);
    HWND power = GetDlgItem(Ed(), IDC_POWER_ACTION);
    const wchar_t* items[] = {L"仅提醒", L"关机", L"重启", L"注销", L"睡眠", L"休眠", L"锁定"};
    ASSERT_EQ(SendMessageW(power, CB_GETCOUNT, 0, 0), 7);
    for (int i = 0; i < 7; ++i) {
        wchar_t text[16] = {};
        SendMessageW(power, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, items[i]);
    }
    EXPECT_EQ(Text(IDC_POWER_ACTION), L"仅提醒") << "a new reminder only reminds";
    SendMessageW(power, CB_SETCURSEL, 1, 0);
    Click(Ed(), IDOK);
    ReminderItem stored = m_editor->GetEditItem();
    EXPECT_EQ(PowerActionOf(stored), ReminderPowerAction::ShutDown);

    // Opened again, the record's action shows; a change goes back, and
    // 仅提醒 leaves the reserved area as a record without an action has it.
    Open(EditMode::Edit, stored);
    power = GetDlgItem(Ed(), IDC_POWER_ACTION);
    EXPECT_EQ(Text(IDC_POWER_ACTION), L"关机");
    EXPECT_TRUE(IsWindowEnabled(power));
    SendMessageW(power, CB_SETCURSEL, 6, 0);
    Click(Ed(), IDOK);
    EXPECT_EQ(PowerActionOf(m_editor->GetEditItem()), ReminderPowerAction::Lock);
    const ReminderItem locked = m_editor->GetEditItem();  // the editor goes when the next opens
    Open(EditMode::Edit, locked);
    SendDlgItemMessageW(Ed(), IDC_POWER_ACTION, CB_SETCURSEL, 0, 0);
    Click(Ed(), IDOK);
    unsigned char zeros[sizeof stored.reserved2] = {};
    EXPECT_EQ(std::memcmp(m_editor->GetEditItem().reserved2, zeros, sizeof zeros), 0);

    // Another writer's bytes where the action goes: only 仅提醒, and they stay.
    ReminderItem foreign = Reminder(RepeatKind::Daily, 2026, 5, 31, 18, 30, L"别人的");
    std::memcpy(foreign.reserved2 + kDoneBlockSize, "someone's bytes", 16);
    Open(EditMode::Edit, foreign);
    EXPECT_EQ(Text(IDC_POWER_ACTION), L"仅提醒");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Ed(), IDC_POWER_ACTION)));
    Click(Ed(), IDOK);
    EXPECT_EQ(std::memcmp(m_editor->GetEditItem().reserved2, foreign.reserved2, sizeof foreign.reserved2), 0);
}

TEST_F(ReminderEditorTest, ARecordWithAnImpossibleDateOpensAtThePresentMoment) {
    ReminderItem item = Reminder(RepeatKind::Once, 2026, 2, 30, 25, 0, L"坏");
    Open(EditMode::Edit, item);
    SYSTEMTIME date = Picker(IDC_DATE);
    EXPECT_EQ(date.wYear * 10000 + date.wMonth * 100 + date.wDay, 20261206);
    Click(Ed(), IDOK);
    EXPECT_EQ(m_editor->GetEditItem().day, 6);
    EXPECT_EQ(m_editor->GetEditItem().hour, 8);
}

TEST_F(ReminderEditorTest, DoubleClickSelectsTheWholeTitleContentAndMusicButAWordOfTheCommand) {
    Open(EditMode::New);
    EXPECT_TRUE(SelectsAllOnDoubleClick(IDC_TITLE));
    EXPECT_TRUE(SelectsAllOnDoubleClick(IDC_CONTENT));
    EXPECT_TRUE(SelectsAllOnDoubleClick(IDC_MUSIC));
    EXPECT_FALSE(SelectsAllOnDoubleClick(IDC_COMMAND));
}

}  // namespace
}  // namespace vt::test
