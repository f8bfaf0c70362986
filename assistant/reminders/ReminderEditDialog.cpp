#include "assistant/reminders/ReminderEditDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "assistant/reminders/ReminderPower.h"
#include "assistant/reminders/ReminderTexts.h"
#include "resource.h"
#include "shared/win/Encoding.h"

namespace vt {

static_assert(kDayMenuFirst == ID_DAY_FIRST && kDayMenuFirst + kDayMenuCount - 1 == ID_DAY_LAST);
static_assert(kTimeMenuFirst == ID_TIME_FIRST && kTimeMenuFirst + kTimeMenuCount - 1 == ID_TIME_LAST);

namespace {

constexpr wchar_t kProgramFilter[] = L"可执行程序(*.exe)\0*.exe\0所有文件(*.*)\0*.*\0";
constexpr wchar_t kMusicFilter[] = L"音乐文件(*.mp3;*.wma;*.wav;*.rm)\0*.mp3;*.wma;*.wav;*.rm\0所有文件(*.*)\0*.*\0";

SYSTEMTIME MakeTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(WeekdayOf(year, month, day));
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// A record read from a damaged file may hold a date no picker can show.
bool IsShowable(int year, int month, int day, int hour, int minute) {
    if (year < 1752 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
    SYSTEMTIME t = MakeTime(year, month, day, hour, minute, 0);
    FILETIME ft;
    return SystemTimeToFileTime(&t, &ft) != FALSE;  // rejects 31 April and 29 February of common years
}

}  // namespace

ReminderEditDialog::ReminderEditDialog(const IClock& clock)
    : Dialog(IDD_REMINDER_EDIT), m_clock(clock), m_working(ZeroReminder()) {}

void ReminderEditDialog::SetEditItem(EditMode mode, const ReminderItem& item) {
    m_mode = mode;
    m_working = mode == EditMode::Edit ? item : ZeroReminder();
}

BOOL ReminderEditDialog::OnInitDialog() {
    m_dayMenu.Reset(LoadMenuW(win::ResourceModule(), MAKEINTRESOURCEW(IDR_DAYMENU)));
    m_timeMenu.Reset(LoadMenuW(win::ResourceModule(), MAKEINTRESOURCEW(IDR_TIMEMENU)));
    SetProgramIcon(IDI_MAIN);
    m_font.Apply(Hwnd());
    m_title.Attach(Hwnd(), IDC_TITLE);
    m_content.Attach(Hwnd(), IDC_CONTENT);
    m_music.Attach(Hwnd(), IDC_MUSIC);

    HWND state = Item(IDC_STATE);
    SendMessageW(state, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"准备中"));
    SendMessageW(state, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"已过期"));
    HWND power = Item(IDC_POWER_ACTION);
    for (int i = 0; i < kReminderPowerActionCount; ++i)
        SendMessageW(power, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::FromUtf8(PowerActionItemText(i)).c_str()));

    SetText(win::FromUtf8(EditorCaption(m_mode)));
    FillControls(InitialEditorFields(m_mode, m_working, m_clock.Now()));

    // Only 0:00 is in the resource; the other 47 half hours follow it.
    for (int k = 1; k < kTimeMenuCount; ++k)
        AppendMenuW(TimeMenu(), MF_STRING, kTimeMenuFirst + k, win::FromUtf8(TimeMenuText(k)).c_str());
    UpdateTimeButton();
    UpdateDayButton();
    return TRUE;
}

void ReminderEditDialog::FillControls(const EditorFields& f) {
    LocalTime now = m_clock.Now();
    SYSTEMTIME when = m_mode == EditMode::New ? MakeTime(now.year, now.month, now.day, now.hour, now.minute, now.second)
                                              : MakeTime(f.year, f.month, f.day, f.hour, f.minute, 0);
    // Such a record is shown (and, on OK, stored) at the present moment
    // rather than as a date the pickers would garble.
    if (!IsShowable(f.year, f.month, f.day, f.hour, f.minute))
        when = MakeTime(now.year, now.month, now.day, now.hour, now.minute, 0);
    SetPickerTime(IDC_DATE, when);
    SetPickerTime(IDC_TIME, when);

    SetItemText(IDC_TITLE, win::FromGbk(f.title));
    SetItemText(IDC_CONTENT, win::FromGbk(f.content));
    SetItemText(IDC_COMMAND, win::FromGbk(f.command));
    SetItemText(IDC_MUSIC, win::FromGbk(f.music));
    SendDlgItemMessageW(Hwnd(), IDC_STATE, CB_SETCURSEL, f.stateIndex, 0);
    SendDlgItemMessageW(Hwnd(), IDC_POWER_ACTION, CB_SETCURSEL, f.powerAction, 0);
    // Another writer's bytes lie where the action goes: it only reminds.
    EnableWindow(Item(IDC_POWER_ACTION), f.powerStorable ? TRUE : FALSE);
    m_nKind = f.kind;
}

bool ReminderEditDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_BROWSE_COMMAND:
        if (code == BN_CLICKED) ChooseFile(IDC_COMMAND, L"exe", kProgramFilter);
        return true;
    case IDC_BROWSE_MUSIC:
        if (code == BN_CLICKED) ChooseFile(IDC_MUSIC, L"mp3", kMusicFilter);
        return true;
    case IDC_DAY_BUTTON:
        if (code == BN_CLICKED) {
            BuildDayMenu();
            ShowPopup(DayMenu());
        }
        return true;
    case IDC_TIME_BUTTON:
        if (code == BN_CLICKED) ShowPopup(TimeMenu());
        return true;
    }
    if (control) return false;  // menu commands come without a control
    int kind = KindFromDayMenuCommand(id);
    if (kind >= 0) {
        m_nKind = kind;
        UpdateDayButton();
        return true;
    }
    int hour = 0, minute = 0;
    if (TimeFromMenuCommand(id, hour, minute)) {
        OnTimeChosen(hour, minute);
        return true;
    }
    return false;
}

bool ReminderEditDialog::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code != DTN_DATETIMECHANGE) return false;
    if (header->idFrom == IDC_DATE)
        UpdateDayButton();
    else if (header->idFrom == IDC_TIME)
        UpdateTimeButton();
    else
        return false;
    result = 0;
    return true;
}

void ReminderEditDialog::OnOK() {
    EditorFields f;
    f.title = win::ToGbk(ItemText(IDC_TITLE));
    f.content = win::ToGbk(ItemText(IDC_CONTENT));
    f.command = win::ToGbk(ItemText(IDC_COMMAND));
    f.music = win::ToGbk(ItemText(IDC_MUSIC));
    f.stateIndex = SendDlgItemMessageW(Hwnd(), IDC_STATE, CB_GETCURSEL, 0, 0) != 0 ? 1 : 0;
    f.kind = m_nKind;
    f.powerAction = static_cast<int>(SendDlgItemMessageW(Hwnd(), IDC_POWER_ACTION, CB_GETCURSEL, 0, 0));
    if (f.powerAction < 0) f.powerAction = 0;  // nothing chosen: 仅提醒
    SYSTEMTIME date = PickerTime(IDC_DATE), time = PickerTime(IDC_TIME);
    f.year = date.wYear;
    f.month = date.wMonth;
    f.day = date.wDay;
    f.hour = time.wHour;
    f.minute = time.wMinute;
    ApplyEditorFields(f, m_working);
    EndDialog(IDOK);
}

// Removes what the last opening put in (or the resource's placeholder), so
// the menu never lists a rule twice, and words the rules for the date now
// picked.
void ReminderEditDialog::BuildDayMenu() {
    HMENU popup = DayMenu();
    CalendarDate date = PickedDate();
    DeleteMenu(popup, ID_DAY_PLACEHOLDER, MF_BYCOMMAND);
    for (int k = 0; k < kDayMenuCount; ++k) DeleteMenu(popup, kDayMenuFirst + k, MF_BYCOMMAND);
    // A date outside the lunar table has no lunar rule to offer.
    const bool lunar = !LunarStaticText(date).empty();
    for (int k = 0; k < kDayMenuCount; ++k) {
        const UINT flags = k == static_cast<int>(RepeatKind::LunarYearly) && !lunar ? MF_STRING | MF_GRAYED : MF_STRING;
        AppendMenuW(popup, flags, kDayMenuFirst + k, win::FromUtf8(DayMenuText(k, date)).c_str());
    }
    if (m_nKind >= 0 && m_nKind < kDayMenuCount)
        CheckMenuRadioItem(popup, kDayMenuFirst, kDayMenuFirst + kDayMenuCount - 1, kDayMenuFirst + m_nKind,
                           MF_BYCOMMAND);
}

void ReminderEditDialog::UpdateDayButton() {
    const CalendarDate date = PickedDate();
    SetItemText(IDC_DAY_BUTTON, win::FromUtf8(DayButtonCaption(m_nKind, date)));
    // A lunar rule names a lunar date the picker does not show; the static
    // follows the date always and shows with that rule only.
    SetItemText(IDC_LUNAR_DATE, win::FromUtf8(LunarStaticText(date)));
    ShowWindow(Item(IDC_LUNAR_DATE), m_nKind == static_cast<int>(RepeatKind::LunarYearly) ? SW_SHOW : SW_HIDE);
}

void ReminderEditDialog::UpdateTimeButton() {
    SYSTEMTIME t = PickerTime(IDC_TIME);
    SetItemText(IDC_TIME_BUTTON, win::FromUtf8(TimeButtonCaption(t.wHour, t.wMinute)));
}

void ReminderEditDialog::OnTimeChosen(int hour, int minute) {
    SYSTEMTIME t = PickerTime(IDC_DATE);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = 0;
    t.wMilliseconds = 0;
    SetPickerTime(IDC_TIME, t);
    SetItemText(IDC_TIME_BUTTON, win::FromUtf8(TimeButtonCaption(hour, minute)));
}

void ReminderEditDialog::ShowPopup(HMENU popup) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    // The choice arrives as a command of this dialog.
    TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, Hwnd(), nullptr);
}

void ReminderEditDialog::ChooseFile(int editId, const wchar_t* defaultExtension, const wchar_t* filter) {
    wchar_t path[2048] = {};
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Hwnd();
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = static_cast<DWORD>(sizeof path / sizeof path[0]);
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (GetOpenFileNameW(&ofn)) SetItemText(editId, path);
}

SYSTEMTIME ReminderEditDialog::PickerTime(int id) const {
    SYSTEMTIME t = {};
    SendDlgItemMessageW(Hwnd(), id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

void ReminderEditDialog::SetPickerTime(int id, const SYSTEMTIME& time) {
    SendDlgItemMessageW(Hwnd(), id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

CalendarDate ReminderEditDialog::PickedDate() const {
    SYSTEMTIME t = PickerTime(IDC_DATE);
    // The weekday is computed rather than taken from the picker, which need
    // not fill it in.
    return DateOn(t.wYear, t.wMonth, t.wDay);
}

}  // namespace vt
