#pragma once
// The tray icon's menu and what the mouse does on the icon: a click shows or
// hides the volume popup, a double click opens the volume mixer, a right
// click the menu. A helper over the main window, as the countdown form is:
// the menu's commands come back to the window (OnTrayCommand).
#include <windows.h>

#include <string>

#include "assistant/mainwnd/PowerActions.h"
#include "assistant/settings/SettingsModel.h"
#include "shared/win/Dialog.h"
#include "shared/win/Handles.h"

namespace vt {

class IShell;
class VolumePopup;

class TrayMenu {
public:
    TrayMenu(win::Dialog& window, VolumePopup& popup, IShell& shell, const SettingsModel& settings,
             IPowerActions& power);

    // The tray callback's mouse message.
    void OnTrayNotify(UINT mouseMessage);
    void ShowVolumePopup();

    void SetItemText(UINT id, const std::wstring& text);
    void SetItemCheck(UINT id, bool on);
    std::wstring ItemText(UINT id) const;
    bool ItemGrayed(UINT id) const { return (GetMenuState(Popup(), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

private:
    HMENU Popup() const { return GetSubMenu(m_menu.Get(), 0); }

    win::Dialog& m_window;
    VolumePopup& m_popup;
    IShell& m_shell;
    const SettingsModel& m_settings;
    IPowerActions& m_power;
    win::MenuHandle m_menu;
};

}  // namespace vt
