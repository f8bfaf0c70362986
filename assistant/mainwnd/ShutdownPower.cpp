// Power commands of the tray menu and the end of the Windows logon.
#include "assistant/mainwnd/ShutdownDialog.h"

#include "assistant/reminders/ReminderManagerDialog.h"

namespace vt {

void ShutdownDialog::OnPowerCommand(std::uint32_t flags) { RunPowerCommand(m_services.power, *this, flags); }

void ShutdownDialog::OnMonitorOff() {
    // Through our own system-command handling, which passes it on to the system.
    SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MONITORPOWER, 2);
}

void ShutdownDialog::OnQueryEndSession() {
    m_bEndingSession = true;
    PrepareExit();
}

// wParam FALSE: another program canceled the logoff or shutdown. The
// assistant runs on, so what PrepareExit put away comes back: the tray icon
// with its tip (the menu was never touched) and the reminder manager.
void ShutdownDialog::OnEndSession(bool ending) {
    if (ending || !m_bEndingSession) return;
    m_bEndingSession = false;
    m_tray.Restore();
    m_reminderManager->Resume();
}

void ShutdownDialog::StopTimer() { KillTimer(Hwnd(), kCountdownTimerId); }

void ShutdownDialog::Quit() { PostQuitMessage(0); }

// Sleep and hibernate keep the program, its windows and its reminders
// running; only the file is brought up to date, as closing the manager does.
void ShutdownDialog::OnSuspendCommand(bool hibernate) { RunSuspend(m_services.power, *this, hibernate); }

void ShutdownDialog::OnLockCommand() { m_services.power.Lock(); }

void ShutdownDialog::SaveReminders() { m_reminderManager->Manager().Save(); }

void ShutdownDialog::RearmCountdown() { m_form.Rearm(); }

}  // namespace vt
