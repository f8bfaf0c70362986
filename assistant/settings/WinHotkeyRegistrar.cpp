#include "assistant/settings/WinHotkeyRegistrar.h"

#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"

namespace vt {

static_assert(kModCtrl == MOD_CONTROL && kModAlt == MOD_ALT && kModShift == MOD_SHIFT);

bool WinHotkeyRegistrar::Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) {
    ATOM& id = m_ids[SlotIndex(slot)];
    if (!id) id = GlobalAddAtomW(win::FromUtf8(SlotInfo(slot).atomName).c_str());
    return RegisterHotKey(m_window, id, modifiers, key) != FALSE;
}

void WinHotkeyRegistrar::Unregister(HotkeySlot slot) {
    if (!UnregisterHotKey(m_window, m_ids[SlotIndex(slot)])) win::NoteIgnored(L"UnregisterHotKey");
}

}  // namespace vt
