#pragma once
// The small window that tells the user a reminder's moment has come
// (template 139). The manager opens one per firing and keeps it; from then
// on it lives by itself: it beeps and flashes until answered, hides for a
// while when put off and comes back on its own, and reports each answer to
// its owner, the manager.
#include <string>

#include "assistant/AssistantNames.h"
#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderBook.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/Dialog.h"

namespace vt {

class ReminderAlertDialog : public win::Dialog {
public:
    ReminderAlertDialog();

    // Which reminder it answers for, and what it shows. Title and content
    // are the record's texts, already converted.
    void SetAlertInfo(ReminderId id, const std::wstring& title, const std::wstring& content, int hour, int minute);
    ReminderId Reminder() const { return m_nId; }
    // Seconds until it shows itself again.
    int Countdown() const { return m_countdown.Remaining(); }
    // Acknowledged: hidden for good and its timer stopped, so the manager may
    // let it go.
    bool IsDone() const { return m_bDone; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnTimer(UINT_PTR id) override;

private:
    void PutOff(int seconds);
    void Answer(long answer);
    void ShowSnoozeMenu();

    ChineseDialogFont m_font;
    ReminderId m_nId = kNoReminder;
    AlertCountdown m_countdown;
    win::MenuHandle m_snoozeMenu;
    bool m_bDone = false;
};

}  // namespace vt
