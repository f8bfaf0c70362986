#include "assistant/reminders/ReminderAlertDialog.h"

#include "assistant/reminders/ReminderTexts.h"
#include "resource.h"
#include "shared/win/Encoding.h"

namespace vt {

static_assert(kSnoozeMenuFirst == ID_SNOOZE_5 && kSnoozeMenuFirst + 1 == ID_SNOOZE_10 &&
              kSnoozeMenuFirst + 2 == ID_SNOOZE_15 && kSnoozeMenuFirst + 3 == ID_SNOOZE_30 &&
              kSnoozeMenuFirst + kSnoozeMenuCount - 1 == ID_SNOOZE_60);

namespace {

// A multi-line edit breaks lines only at CR LF; a record written elsewhere
// may hold bare LFs.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += text[i];
    }
    return out;
}

}  // namespace

ReminderAlertDialog::ReminderAlertDialog() : Dialog(IDD_REMINDER_ALERT) {}

BOOL ReminderAlertDialog::OnInitDialog() {
    m_font.Apply(Hwnd());
    m_snoozeMenu.Reset(LoadMenuW(win::ResourceModule(), MAKEINTRESOURCEW(IDR_SNOOZEMENU)));
    SetTimer(Hwnd(), kAlertTimerId, 1000, nullptr);
    return TRUE;
}

void ReminderAlertDialog::SetAlertInfo(ReminderId id, const std::wstring& title, const std::wstring& content, int hour,
                                       int minute) {
    m_nId = id;
    SetText(title + win::FromUtf8(AlertCaptionSuffix(hour, minute)));
    SetItemText(IDC_ALERT_CONTENT, WithCrLf(content));
}

bool ReminderAlertDialog::OnCommand(WORD id, WORD code, HWND) {
    if (id == IDC_SNOOZE) {
        if (code == BN_CLICKED) ShowSnoozeMenu();
        return true;
    }
    if (int seconds = SnoozeSecondsForCommand(id)) {
        PutOff(seconds);
        return true;
    }
    return false;
}

void ReminderAlertDialog::OnTimer(UINT_PTR id) {
    if (id != kAlertTimerId || !m_countdown.OnTimer()) return;
    Show(SW_SHOW);
    Show(SW_RESTORE);
    FlashWindow(Hwnd(), TRUE);
    MessageBeep(MB_ICONASTERISK);
}

// "嗯，我知道了": done, once the user confirms it.
void ReminderAlertDialog::OnOK() {
    MessageBeep(MB_ICONEXCLAMATION);
    int answer = ShowMessage(L"你确认收到了该提醒吗？", L"提醒确认：", MB_YESNO | MB_ICONQUESTION);
    // The program may have ended while the question was open, taking this
    // window with it.
    if (!Hwnd() || answer != IDYES) return;
    Answer(kAnswerAcknowledged);
    KillTimer(Hwnd(), kAlertTimerId);
    EndDialog(IDOK);
    m_bDone = true;  // last: from here on the manager may let this object go
}

// "在忙，等一会", Esc and the close box put it off by five minutes.
void ReminderAlertDialog::OnCancel() { PutOff(kDefaultSnoozeSeconds); }

void ReminderAlertDialog::PutOff(int seconds) {
    Answer(kAnswerPutOff);
    m_countdown.PutOff(seconds);
    Show(SW_HIDE);
}

void ReminderAlertDialog::Answer(long answer) {
    if (HWND manager = GetWindow(Hwnd(), GW_OWNER))
        SendMessageW(manager, WM_REMINDER_ANSWER, static_cast<WPARAM>(m_nId), static_cast<LPARAM>(answer));
}

void ReminderAlertDialog::ShowSnoozeMenu() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    // The chosen time arrives as a command of this window.
    TrackPopupMenu(GetSubMenu(m_snoozeMenu.Get(), 0), 0, cursor.x, cursor.y, 0, Hwnd(), nullptr);
}

}  // namespace vt
