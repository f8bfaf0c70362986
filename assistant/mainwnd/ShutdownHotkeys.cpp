// The channel hotkeys, their tray menu items and the settings window that
// changes them.
#include "assistant/mainwnd/Countdown.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "assistant/settings/SettingsDialog.h"
#include "resource.h"
#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"

namespace vt {
namespace {

static_assert(kModControl == MOD_CONTROL && kModCtrl == MOD_CONTROL && kModAlt == MOD_ALT && kModShift == MOD_SHIFT);
static_assert(kKeyLeft == VK_LEFT && kKeyUp == VK_UP && kKeyRight == VK_RIGHT && kKeyDown == VK_DOWN);
static_assert(ID_TRAY_MUTE - ID_TRAY_LEFT == kHotkeySlotCount - 1);

// The rows come in the order of the channel actions.
ChannelAction ActionOfSlot(HotkeySlot slot) {
    static const ChannelAction kActions[] = {ChannelAction::LeftOnly, ChannelAction::RightOnly, ChannelAction::Both,
                                             ChannelAction::Mute};
    return kActions[SlotIndex(slot)];
}

}  // namespace

// Whatever cannot be had is named once, in one balloon; the rest works.
void ShutdownDialog::RegisterHotkeys() {
    const HotkeyOutcomes outcomes = m_hotkeys.Apply(m_settings.hotkeys);
    for (int i = 0; i < kHotkeySlotCount; ++i)
        m_refusedHotkeys[i] = outcomes[i] == HotkeyOutcome::Refused ? m_settings.hotkeys[i] : 0;
    ShowHotkeysInMenu();
    const std::string conflicts = HotkeyConflictText(RefusedHotkeys(m_settings.hotkeys, outcomes));
    if (!conflicts.empty()) m_tray.ShowBalloon(win::FromUtf8(conflicts), kProductName);
}

// The hotkey ids are the atoms of the slots' names, as they always were; the
// hotkeys go with the window and the atoms with the process.
bool ShutdownDialog::Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) {
    ATOM& id = m_hotkeyIds[SlotIndex(slot)];
    if (!id) id = GlobalAddAtomW(win::FromUtf8(SlotInfo(slot).atomName).c_str());
    return RegisterHotKey(Hwnd(), id, modifiers, key) != FALSE;
}

void ShutdownDialog::Unregister(HotkeySlot slot) {
    if (!UnregisterHotKey(Hwnd(), m_hotkeyIds[SlotIndex(slot)])) win::NoteIgnored(L"UnregisterHotKey");
}

void ShutdownDialog::OnHotKey(LPARAM lParam) {
    // Only lParam decides, against the combinations in force; the hotkey id
    // is not looked at.
    if (auto slot = m_hotkeys.SlotForLParam(static_cast<std::uint32_t>(lParam))) m_channels.Apply(ActionOfSlot(*slot));
}

void ShutdownDialog::OnChannelCommand(UINT id) { m_channels.Apply(ActionOfSlot(kHotkeySlots[id - ID_TRAY_LEFT])); }

void ShutdownDialog::ShowHotkeysInMenu() {
    for (HotkeySlot slot : kHotkeySlots)
        SetMenuItemText(ID_TRAY_LEFT + SlotIndex(slot),
                        win::FromUtf8(HotkeyMenuText(slot, m_hotkeys.InForce()[SlotIndex(slot)])));
}

void ShutdownDialog::OnSettingsCommand() {
    if (!m_settingsDialog) m_settingsDialog = std::make_unique<SettingsDialog>(static_cast<ISettingsHost&>(*this));
    m_settingsDialog->Open();
}

SettingsChoice ShutdownDialog::CurrentChoice(HotkeyOutcomes& outcomes) {
    SettingsChoice choice;
    choice.hotkeys = m_hotkeys.InForce();
    for (int i = 0; i < kHotkeySlotCount; ++i) {
        outcomes[i] = m_refusedHotkeys[i] ? HotkeyOutcome::Refused : HotkeyOutcome::InForce;
        if (m_refusedHotkeys[i]) choice.hotkeys[i] = m_refusedHotkeys[i];
    }
    choice.autoRun = m_bAutoRun != FALSE;
    choice.endAction = m_settings.endAction;
    return choice;
}

// A refused combination is not kept: the next start tries what was in force.
HotkeyOutcomes ShutdownDialog::ApplyChoice(const SettingsChoice& choice) {
    const HotkeyOutcomes outcomes = m_hotkeys.Apply(choice.hotkeys);
    for (HotkeySlot slot : kHotkeySlots) {
        const int i = SlotIndex(slot);
        m_refusedHotkeys[i] = outcomes[i] == HotkeyOutcome::Refused ? choice.hotkeys[i] : 0;
        if (outcomes[i] != HotkeyOutcome::InForce) continue;
        m_settings.hotkeys[i] = m_hotkeys.InForce()[i];
        m_store.SaveHotkey(slot, m_settings.hotkeys[i]);
    }
    ShowHotkeysInMenu();
    m_bAutoRun = choice.autoRun ? TRUE : FALSE;
    SetEndAction(choice.endAction);
    return outcomes;
}

}  // namespace vt
