#include "assistant/mainwnd/TrayMenu.h"

#include "assistant/mainwnd/VolumePopup.h"
#include "assistant/mainwnd/VolumePopupRules.h"
#include "resource.h"
#include "shared/core/Shell.h"
#include "shared/win/Ignored.h"

namespace vt {

TrayMenu::TrayMenu(win::Dialog& window, VolumePopup& popup, IShell& shell, const SettingsModel& settings,
                   IPowerActions& power)
    : m_window(window),
      m_popup(popup),
      m_shell(shell),
      m_settings(settings),
      m_power(power),
      m_menu(LoadMenuW(win::ResourceModule(), MAKEINTRESOURCEW(IDR_TRAYMENU))) {}

void TrayMenu::OnTrayNotify(UINT mouseMessage) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        switch (DecideTrayClick(m_popup.IsVisible(), m_popup.LastHide(), GetTickCount())) {
        case TrayClick::Hide:
            m_popup.Show(SW_HIDE);
            break;
        case TrayClick::Show:
            SetForegroundWindow(m_window.Hwnd());
            ShowVolumePopup();
            break;
        case TrayClick::Ignore:  // the press that just took the popup away
            break;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // The volume mixer of current Windows; the old sndvol32 where that is missing.
        if (!m_shell.Open("sndvol.exe", "", "", ShowMode::Normal) &&
            !m_shell.Open("sndvol32.exe", "", "", ShowMode::Normal))
            win::NoteIgnored(L"ShellExecuteW(sndvol32.exe)");
        break;
    case WM_RBUTTONUP:
        // The menu only closes on an outside click when its owner is in front.
        SetForegroundWindow(m_window.Hwnd());
        SetItemCheck(ID_TRAY_AUTORUN, m_settings.AutoRun());
        EnableMenuItem(Popup(), ID_TRAY_HIBERNATE, MF_BYCOMMAND | (m_power.CanHibernate() ? MF_ENABLED : MF_GRAYED));
        TrackPopupMenu(Popup(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_window.Hwnd(), nullptr);
        PostMessageW(m_window.Hwnd(), WM_NULL, 0, 0);
        break;
    }
}

void TrayMenu::ShowVolumePopup() {
    if (!m_popup.Hwnd() && !m_popup.Create(nullptr)) return;
    m_popup.Show(SW_SHOW);
}

void TrayMenu::SetItemText(UINT id, const std::wstring& text) {
    ModifyMenuW(Popup(), id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
}

std::wstring TrayMenu::ItemText(UINT id) const {
    wchar_t text[256] = {};
    GetMenuStringW(Popup(), id, text, 256, MF_BYCOMMAND);
    return text;
}

void TrayMenu::SetItemCheck(UINT id, bool on) {
    CheckMenuItem(Popup(), id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace vt
