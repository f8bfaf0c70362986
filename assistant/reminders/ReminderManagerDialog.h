#pragma once
// The reminder manager (template 135). It owns every reminder and every alert
// window it opens. The main window's one-second timer ticks it (Tick) and
// hands it the clock's jumps; the reminders are read at Start, or at the
// first thing that needs them. Its window is made when first needed: shown
// from the tray, or as the owner of an alert. Closing it only hides it (and
// saves the reminders).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assistant/AssistantNames.h"
#include "assistant/reminders/ReminderListView.h"
#include "assistant/reminders/ReminderManager.h"
#include "shared/core/Clock.h"
#include "shared/core/FileSystem.h"
#include "shared/core/Shell.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/Dialog.h"

namespace vt {

class ReminderAlertDialog;

// The owner's balloon at the tray icon, with a UTF-8 text: how the manager
// tells the user something without a window of its own.
using ShowBalloonFn = std::function<void(const std::string& text)>;
// The owner's last minute for a reminder whose power action came due: the
// manager only says so, the owner runs the end (and MarkCarriedOut).
using PowerDueFn = std::function<void(const PowerRequest& request)>;

// What the manager works through; tests pass stand-ins.
struct ReminderServices {
    IFileSystem& files;
    const IClock& clock;
    IShell& shell;           // starts a firing reminder's program and music
    std::string notifyPath;  // UTF-8
    ShowBalloonFn showBalloon = nullptr;
    PowerDueFn powerDue = nullptr;
};

class ReminderManagerDialog : public win::Dialog {
public:
    // The program's manager: Notify.dat beside the program, the real clock
    // and files.
    ReminderManagerDialog(IShell& shell, ShowBalloonFn showBalloon, PowerDueFn powerDue = nullptr);
    explicit ReminderManagerDialog(ReminderServices services);
    ~ReminderManagerDialog() override;

    // Reads the reminders and the holiday schedule, once; every call below
    // does it first when it has not happened yet.
    void Start();
    // One second of the reminders (the main window's timer).
    void Tick();
    // Woken from sleep or the clock changed: the check runs now, not at the
    // next tick.
    void OnClockJump();
    // "提醒管理器...": the window, made now if it has not been.
    void Open();

    // At every way out: reminders written (an open alert's as Ready), alerts
    // closed, no more firing, window ended.
    void SaveAndClose();
    // After SaveAndClose, when the way out did not happen after all (another
    // program canceled the logoff): the reminders it had fire again, the
    // ones whose alerts were closed among them. The window stays hidden.
    void Resume();

    // For tests and the screenshot tool; the reminders read.
    ReminderManager& Manager() {
        Start();
        return m_manager;
    }
    const std::vector<std::unique_ptr<ReminderAlertDialog>>& Alerts() const { return m_alerts; }
    HWND List() const { return m_list.Hwnd(); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    // The list's row height at the new scale.
    void OnDpiChanged(UINT dpi) override;

private:
    struct OwnedPlatform;

    void CheckReminders();
    // The window exists (hidden when new); false when it could not be made.
    bool MakeWindow();
    void OpenAlert(const AlertRequest& request);
    void PlaceAlert(HWND alert) const;
    void ForgetFinishedAlerts();
    void OnAnswer(ReminderId id, long answer);
    void OnNew();
    void OnEdit();
    void OnDelete();
    void UpdateButtons();
    void TellLoadProblem();

    ChineseDialogFont m_font;
    std::unique_ptr<OwnedPlatform> m_ownPlatform;  // only for the program's manager
    IShell& m_shell;
    const IClock& m_clock;
    ShowBalloonFn m_showBalloon;
    PowerDueFn m_powerDue;
    ReminderManager m_manager;
    ReminderLoadReport m_loadReport;
    ReminderListView m_list;
    HWND m_hTip = nullptr;
    std::vector<std::unique_ptr<ReminderAlertDialog>> m_alerts;
    bool m_bStarted = false;  // the reminders are read
    bool m_bClosed = false;   // SaveAndClose has run
    std::wstring m_caption;   // the last tick's, for a window made later
    LocalTime m_lastTick;     // its date decides when "今天" moves on
};

}  // namespace vt
