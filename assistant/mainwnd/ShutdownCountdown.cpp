// The countdown form of the main window: the window moves texts between its
// controls and the Countdown, and shows the messages it asks for.

#include "assistant/mainwnd/Countdown.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "resource.h"
#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"

namespace vt {

void ShutdownDialog::OnTimer(UINT_PTR id) {
    if (id != kCountdownTimerId) return;
    if (m_countdown->Tick()) EndCountdown(m_services.power, *this);
    else if (m_countdown->OneMinuteWarningDue()) m_tray.ShowBalloon(win::FromUtf8(kOneMinuteWarning), L"Vantrel");
    UpdateStatus();
    m_channels.Sample();
}

bool ShutdownDialog::ReadMinutesBox() {
    MinutesRead read = m_countdown->ReadMinutes(win::ToUtf8(ItemText(IDC_MINUTES)));
    if (read == MinutesRead::Ok) return true;
    // The validation messages carry the program's name as their caption.
    std::string text = read == MinutesRead::NotANumber ? kNotANumberMessage : OutOfRangeMessage();
    ShowMessage(win::FromUtf8(text), win::ProgramName(), MB_OK | MB_ICONEXCLAMATION);
    HWND box = Item(IDC_MINUTES);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
}

void ShutdownDialog::OnMinutesChanged() {
    ReadMinutesBox();
    SendDlgItemMessageW(Hwnd(), IDC_SPIN, UDM_SETPOS, 0, MAKELPARAM(m_countdown->SpinPosition(), 0));
}

void ShutdownDialog::OnSpinDelta(NMUPDOWN* change) {
    SetMinutesBoxText(m_countdown->SpinStep(change->iPos, change->iDelta));
}

void ShutdownDialog::SetMinutesBoxText(unsigned minutes) {
    m_bSettingMinutes = true;
    SetItemText(IDC_MINUTES, std::to_wstring(minutes));
    m_bSettingMinutes = false;
}

void ShutdownDialog::OnSetTime() {
    ReadMinutesBox();  // a failed read still leaves the minutes to use
    if (m_countdown->SetTime() == SetTimeResult::ZeroMinutes) {
        ShowMessage(win::FromUtf8(kZeroMinutesMessage), kProductName, MB_OK);
        return;
    }
    UpdateStatus();
}

void ShutdownDialog::OnStartStop() {
    if (m_countdown->NeedsShortTimeQuestion()) {
        bool confirmed = ShowMessage(win::FromUtf8(kShortTimeQuestion), kProductName, MB_OKCANCEL) == IDOK;
        // The question's loop lets the tray menu through: a start confirmed
        // there meanwhile must not be turned back into a stop by this one.
        if (!confirmed || !m_countdown->Paused()) return;
    }
    m_countdown->StartStop();
    m_services.power.SetExecutionState(ExecutionStateFor(m_countdown->Running()));
    std::wstring label = win::FromUtf8(m_countdown->StartStopLabel());
    SetMenuItemText(ID_TRAY_STARTSTOP, label);
    SetItemText(IDOK, label);
    UpdateStatus();
}

void ShutdownDialog::UpdateStatus() {
    std::wstring text = win::FromUtf8(m_countdown->NextStatusText());
    SetMenuItemText(ID_TRAY_STATUS, text);
    SetItemText(IDC_STATUS, text);
    m_tray.SetTip(text);
}

}  // namespace vt
