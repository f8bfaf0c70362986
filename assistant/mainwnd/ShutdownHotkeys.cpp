// The Ctrl+arrow channel hotkeys and their tray menu items.
#include "assistant/mainwnd/ShutdownDialog.h"
#include "resource.h"
#include "shared/win/Ignored.h"

namespace vt {

static_assert(kModControl == MOD_CONTROL);
static_assert(kKeyLeft == VK_LEFT && kKeyUp == VK_UP && kKeyRight == VK_RIGHT && kKeyDown == VK_DOWN);

void ShutdownDialog::RegisterHotkeys() {
    struct Hotkey {
        const wchar_t* name;
        UINT key;
    };
    // "Streo" is spelt so on purpose: it is the atom name the hotkey has
    // always been registered under.
    static const Hotkey kHotkeys[] = {
        {L"Left", VK_LEFT}, {L"Right", VK_RIGHT}, {L"Streo", VK_DOWN}, {L"Mute", VK_UP}};
    for (const Hotkey& hotkey : kHotkeys) {
        // A combination another program holds simply does not work here;
        // the hotkeys go with the window and the atoms with the process.
        ATOM id = GlobalAddAtomW(hotkey.name);
        if (!RegisterHotKey(Hwnd(), id, MOD_CONTROL, hotkey.key)) win::NoteIgnored(L"RegisterHotKey");
    }
}

void ShutdownDialog::OnHotKey(LPARAM lParam) {
    // Only lParam decides; the hotkey id is not looked at.
    if (auto action = ActionFromHotkey(static_cast<std::uint32_t>(lParam))) m_channels.Apply(*action);
}

void ShutdownDialog::OnChannelCommand(UINT id) {
    switch (id) {
    case ID_TRAY_LEFT: m_channels.Apply(ChannelAction::LeftOnly); break;
    case ID_TRAY_RIGHT: m_channels.Apply(ChannelAction::RightOnly); break;
    case ID_TRAY_STEREO: m_channels.Apply(ChannelAction::Both); break;
    case ID_TRAY_MUTE: m_channels.Apply(ChannelAction::Mute); break;
    }
}

}  // namespace vt
