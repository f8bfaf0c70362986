// The channel hotkeys, their tray menu items, "开机自动运行" and the settings
// window that changes them; the settings themselves are SettingsModel's.
#include "assistant/mainwnd/ShutdownDialog.h"
#include "assistant/settings/SettingsDialog.h"
#include "resource.h"
#include "shared/win/Encoding.h"

namespace vt {

static_assert(ID_TRAY_MUTE - ID_TRAY_LEFT == kHotkeySlotCount - 1);

// Whatever cannot be had is named once, in one balloon; the rest works.
void ShutdownDialog::RegisterHotkeys() {
    const std::string conflicts = m_settings.RegisterHotkeys();
    ShowHotkeysInMenu();
    if (!conflicts.empty()) ShowBalloon(conflicts);
}

void ShutdownDialog::OnHotKey(LPARAM lParam) {
    if (auto action = ActionFromHotkey(m_settings.Hotkeys(), static_cast<std::uint32_t>(lParam)))
        m_channels.Apply(*action);
}

void ShutdownDialog::ShowHotkeysInMenu() {
    for (HotkeySlot slot : kHotkeySlots)
        SetMenuItemText(ID_TRAY_LEFT + SlotIndex(slot),
                        win::FromUtf8(HotkeyMenuText(slot, HotkeysInForce()[SlotIndex(slot)])));
}

// The registry follows at the next PrepareExit.
void ShutdownDialog::OnAutoRunCommand() {
    m_settings.SetAutoRun(!m_settings.AutoRun());
    if (m_settingsDialog) m_settingsDialog->ShowAutoRun(m_settings.AutoRun());
}

void ShutdownDialog::OnSettingsCommand() {
    if (!m_settingsDialog) m_settingsDialog = std::make_unique<SettingsDialog>(static_cast<ISettingsHost&>(*this));
    m_settingsDialog->Open();
}

HotkeyOutcomes ShutdownDialog::ApplyChoice(const SettingsChoice& choice) {
    const HotkeyOutcomes outcomes = m_settings.ApplyChoice(choice);
    ShowHotkeysInMenu();
    m_form.ShowEndAction();
    return outcomes;
}

}  // namespace vt
