// Power commands of the tray menu and the end of the Windows logon.
#include "assistant/mainwnd/ShutdownDialog.h"

namespace vt {

void ShutdownDialog::OnPowerCommand(std::uint32_t flags) { RunPowerCommand(m_services.power, *this, flags); }

void ShutdownDialog::OnMonitorOff() {
    // Through our own system-command handling, which passes it on to the system.
    SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MONITORPOWER, 2);
}

void ShutdownDialog::OnQueryEndSession() { PrepareExit(); }

void ShutdownDialog::StopTimer() { KillTimer(Hwnd(), kCountdownTimerId); }

void ShutdownDialog::Quit() { PostQuitMessage(0); }

}  // namespace vt
