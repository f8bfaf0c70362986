#include "assistant/reminders/ReminderManagerDialog.h"

#include "assistant/reminders/ReminderAlertDialog.h"
#include "assistant/reminders/ReminderEditDialog.h"
#include "assistant/reminders/ReminderTexts.h"
#include "resource.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"
#include "shared/win/Platform.h"
#include "shared/win/StartupStamps.h"

namespace vt {
namespace {

// Posted at initialisation: the question about a damaged file waits until
// the program has started, instead of holding up the main window's set-up.
constexpr UINT kMsgTellLoadProblem = WM_APP + 1;
// Posted at initialisation the same way: no reminder can be saved here.
constexpr UINT kMsgTellCannotSave = WM_APP + 2;

// A late alert tells so in its first line, above the reminder's own content.
std::wstring AlertContent(const std::wstring& missedNote, const std::wstring& content) {
    return missedNote.empty() ? content : missedNote + L"\r\n" + content;
}

}  // namespace

struct ReminderManagerDialog::OwnedPlatform {
    win::WinFileSystem files;
    win::WinClock clock;
};

ReminderManagerDialog::ReminderManagerDialog(IShell& shell, ShowBalloonFn showBalloon, PowerDueFn powerDue)
    : Dialog(IDD_REMINDER_MANAGER),
      m_ownPlatform(std::make_unique<OwnedPlatform>()),
      m_shell(shell),
      m_clock(m_ownPlatform->clock),
      m_showBalloon(std::move(showBalloon)),
      m_powerDue(std::move(powerDue)),
      m_manager(m_ownPlatform->files, win::ToUtf8(win::AppDirectory()) + "Notify.dat", m_ownPlatform->clock) {}

ReminderManagerDialog::ReminderManagerDialog(ReminderServices services)
    : Dialog(IDD_REMINDER_MANAGER),
      m_shell(services.shell),
      m_clock(services.clock),
      m_showBalloon(std::move(services.showBalloon)),
      m_powerDue(std::move(services.powerDue)),
      m_manager(services.files, std::move(services.notifyPath), services.clock) {}

// The alerts go first (the last member), the list gives back its image list
// while the list still exists, and the base destroys this window.
ReminderManagerDialog::~ReminderManagerDialog() = default;

BOOL ReminderManagerDialog::OnInitDialog() {
    SetProgramIcon(IDI_MAIN);

    // The template's system-modal bit stands for "stays on top of other
    // windows"; not every platform derives that from it.
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_font.Apply(Hwnd());
    HWND list = Item(IDC_REMINDER_LIST);
    m_list.Attach(list);

    m_hTip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, win::ResourceModule(), nullptr);
    if (m_hTip) {
        SendMessageW(m_hTip, TTM_ACTIVATE, TRUE, 0);
        TOOLINFOW tool = {};
        tool.cbSize = sizeof tool;
        // The tooltip watches the list's mouse messages itself, so it works
        // in every message loop, the modal ones included.
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(list);
        tool.lpszText = const_cast<wchar_t*>(L"双击可以查看详细内容");
        SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    Start();
    if (!m_caption.empty()) SetText(m_caption);
    m_list.Fill(m_manager.Book());
    return TRUE;
}

void ReminderManagerDialog::Start() {
    if (m_bStarted) return;
    m_bStarted = true;
    m_lastTick = m_clock.Now();
    m_loadReport = m_manager.Load();
    win::StartupStamp("reminders-loaded");
    UINT notice = 0;
    switch (DecideStartupNotice(m_loadReport, m_manager.CanSave())) {
    case StartupNotice::LoadProblem:
        notice = kMsgTellLoadProblem;
        break;
    case StartupNotice::CannotSave:
        notice = kMsgTellCannotSave;
        break;
    case StartupNotice::None:
        break;
    }
    // The question comes from the manager's window, hidden as ever.
    if (notice && MakeWindow()) PostMessageW(Hwnd(), notice, 0, 0);
    win::StartupStamp("reminders-checked");
}

bool ReminderManagerDialog::MakeWindow() {
    if (Hwnd()) return true;
    if (!Create(nullptr)) return false;
    Show(SW_HIDE);
    return true;
}

void ReminderManagerDialog::Open() {
    Start();
    if (MakeWindow()) Show(SW_SHOW);
}

void ReminderManagerDialog::Tick() {
    Start();
    if (!m_bClosed) CheckReminders();
}

void ReminderManagerDialog::OnDpiChanged(UINT dpi) { m_list.SetDpi(dpi); }

bool ReminderManagerDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_REMINDER_ANSWER:
        OnAnswer(static_cast<ReminderId>(wParam), static_cast<long>(lParam));
        result = 0;
        return true;
    case kMsgTellLoadProblem:
        TellLoadProblem();
        return true;
    case kMsgTellCannotSave:
        ShowMessage(win::FromUtf8(UnsavableFolderMessage(m_manager.Book().Path())), kProductName,
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
        return true;
    }
    return Dialog::OnMessage(msg, wParam, lParam, result);
}

bool ReminderManagerDialog::OnCommand(WORD id, WORD code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_NEW_REMINDER:
        OnNew();
        return true;
    case IDC_EDIT_REMINDER:
        OnEdit();
        return true;
    case IDC_DELETE_REMINDER:
        OnDelete();
        return true;
    }
    return false;
}

bool ReminderManagerDialog::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->idFrom != IDC_REMINDER_LIST) return false;
    switch (header->code) {
    case NM_CUSTOMDRAW:
        result = m_list.OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header), m_manager.Book());
        return true;
    case LVN_GETDISPINFOW:
        m_list.OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(header), m_manager.Book(), m_lastTick);
        result = 0;
        return true;
    case NM_DBLCLK:
        OnEdit();
        result = 0;
        return true;
    case LVN_ITEMCHANGED:
        UpdateButtons();
        result = 0;
        return true;
    }
    return false;
}

void ReminderManagerDialog::OnClockJump() {
    Start();
    if (!m_bClosed) CheckReminders();
}

void ReminderManagerDialog::CheckReminders() {
    TickResult tick = m_manager.OnTimer();
    m_caption = win::FromUtf8(tick.caption);
    const LocalTime now = tick.now;
    const bool newDay = now.year != m_lastTick.year || now.month != m_lastTick.month || now.day != m_lastTick.day;
    m_lastTick = now;
    // Without a window yet there is no list to keep up: it is filled from
    // the book when the window is made.
    if (Hwnd()) {
        SetText(m_caption);
        const ReminderBook& book = m_manager.Book();
        if (m_list.Count() != book.Count()) {
            m_list.Fill(book);  // a row the list failed to take: show the book again
        } else if (newDay) {
            m_list.RedrawAll();  // yesterday's "今天" is a date now
        } else {
            for (int row : tick.changedRows) m_list.SetStateCell(row, *book.At(row));
        }
        if (!tick.changedRows.empty()) UpdateButtons();
    }
    ForgetFinishedAlerts();
    for (const AlertRequest& request : tick.alerts) OpenAlert(request);
    // The owner's balloon says why such reminders keep to Monday to Friday.
    if (tick.uncoveredYear != 0 && m_showBalloon) m_showBalloon(UncoveredYearMessage(tick.uncoveredYear));
    if (m_powerDue)
        for (const PowerRequest& request : tick.power) m_powerDue(request);
}

void ReminderManagerDialog::OpenAlert(const AlertRequest& request) {
    // The manager's window owns the alerts (and keeps them above other
    // windows), shown or not.
    auto alert = std::make_unique<ReminderAlertDialog>();
    if (MakeWindow() && alert->Create(Hwnd())) {
        alert->SetAlertInfo(request.id, win::FromGbk(request.title),
                            AlertContent(win::FromUtf8(request.missedNote), win::FromGbk(request.content)),
                            request.hour, request.minute);
        PlaceAlert(alert->Hwnd());
        alert->Show(SW_SHOW);
        FlashWindow(alert->Hwnd(), TRUE);
        m_alerts.push_back(std::move(alert));
    }
    // Quoted, so paths with blanks reach the shell whole; a failure to
    // start them is not reported.
    for (const LaunchRequest& launch : request.launches)
        if (!m_shell.Open(win::ToUtf8(win::FromGbk(launch.file)), "", "", ShowMode::Normal))
            win::NoteIgnored(L"ShellExecuteW(reminder launch)");
}

// Over the manager when the user is looking at it, else mid-screen.
void ReminderManagerDialog::PlaceAlert(HWND alert) const {
    RECT area = {};
    if (IsVisible() && !IsIconic(Hwnd()))
        GetWindowRect(Hwnd(), &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT rc = {};
    GetWindowRect(alert, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    // An owned window belongs above its owner, and the manager stays above
    // other windows: an alert below it would be hidden by the very window
    // that lists it.
    bool topmost = (GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(alert, topmost ? HWND_TOPMOST : nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | (topmost ? 0 : SWP_NOZORDER));
}

// An acknowledged alert is never shown again; letting it go keeps a program
// that runs for months with daily reminders from piling up hidden windows.
// Only here, in the manager's own tick, is no alert's handler on the stack
// that could still be using its object.
void ReminderManagerDialog::ForgetFinishedAlerts() {
    for (auto it = m_alerts.begin(); it != m_alerts.end();) {
        if ((*it)->IsDone())
            it = m_alerts.erase(it);
        else
            ++it;
    }
}

void ReminderManagerDialog::OnAnswer(ReminderId id, long answer) {
    int row = m_manager.OnAnswer(id, answer);
    if (row < 0) return;  // its reminder was deleted meanwhile
    m_list.SetStateCell(row, *m_manager.Book().At(row));
    UpdateButtons();
}

void ReminderManagerDialog::OnNew() {
    ReminderEditDialog editor(m_clock);
    editor.SetEditItem(EditMode::New, ZeroReminder());
    if (editor.DoModal(Hwnd()) != IDOK || m_bClosed) return;
    int row = m_manager.Add(editor.GetEditItem());
    m_list.Append(*m_manager.Book().At(row));
}

void ReminderManagerDialog::OnEdit() {
    EditDecision decision = m_manager.DecideEdit(m_list.SelectedRows());
    switch (decision.action) {
    case EditDecision::Action::None:
        return;
    case EditDecision::Action::Refuse:
        // The owner says so with a balloon at the tray icon.
        if (m_showBalloon) m_showBalloon(kAlertRunningBalloon);
        return;
    case EditDecision::Action::Edit:
        break;
    }
    ReminderEditDialog editor(m_clock);
    editor.SetEditItem(EditMode::Edit, decision.item);
    // The timer keeps running meanwhile: the reminder may fire, be answered
    // or even be deleted before the editor closes.
    if (editor.DoModal(Hwnd()) != IDOK || m_bClosed) return;
    int row = m_manager.ApplyEdit(decision, editor.GetEditItem());
    if (row < 0) return;
    m_list.SetRow(row, *m_manager.Book().At(row));
    UpdateButtons();
}

void ReminderManagerDialog::OnDelete() {
    std::vector<int> rows = m_list.SelectedRows();
    if (rows.empty()) return;
    if (ShowMessage(L"你确定删除已选择的提醒吗？", kProductName, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // The list's own rows are the truth about what was selected; the book
    // drops the same ones. The file follows at the next close.
    m_manager.Delete(rows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) m_list.Remove(*it);
    if (m_list.Count() != m_manager.Book().Count()) m_list.Fill(m_manager.Book());
    UpdateButtons();
}

void ReminderManagerDialog::UpdateButtons() {
    ManagerButtons buttons = m_manager.Buttons(m_list.SelectedRows());
    EnableWindow(Item(IDC_EDIT_REMINDER), buttons.edit);
    EnableWindow(Item(IDC_DELETE_REMINDER), buttons.remove);
}

// "完成(&S)": out of sight first, then the file.
void ReminderManagerDialog::OnOK() {
    Show(SW_HIDE);
    m_manager.Save();
    EndDialog(IDOK);
}

// Esc and the close box.
void ReminderManagerDialog::OnCancel() {
    m_manager.Save();
    EndDialog(IDCANCEL);
}

void ReminderManagerDialog::SaveAndClose() {
    if (m_bClosed) return;
    // A book never read must not overwrite the file with nothing.
    Start();
    // Nothing fires once the way out has begun: an alert opened now would
    // only be torn down again, and its state would not reach the file.
    m_bClosed = true;
    m_manager.SaveAtExit();
    // The list keeps its images: the window may come back (Resume), and
    // the list takes them with itself when the window is destroyed.
    // The windows go now; the objects with this one, because an alert's
    // confirmation question may still be on the stack below this call.
    for (auto& alert : m_alerts) alert->DestroyWindow();
    if (Hwnd()) EndDialog(IDCANCEL);
}

void ReminderManagerDialog::Resume() {
    if (!m_bClosed) return;
    m_bClosed = false;
    if (!Hwnd()) return;
    // The alerts closed at the way out are Ready again in the book.
    const ReminderBook& book = m_manager.Book();
    if (m_list.Count() != book.Count())
        m_list.Fill(book);
    else
        for (int row = 0; row < book.Count(); ++row) m_list.SetStateCell(row, *book.At(row));
    UpdateButtons();
}

void ReminderManagerDialog::TellLoadProblem() {
    ShowMessage(win::FromUtf8(LoadProblemMessage(m_loadReport, m_manager.Book().Path())), kProductName,
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace vt
