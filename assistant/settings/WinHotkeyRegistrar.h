#pragma once
// RegisterHotKey and UnregisterHotKey for the main window, one id per row:
// the atom of the row's name, as it always was. The hotkeys go with the
// window and the atoms with the process.
#include <windows.h>

#include "assistant/settings/HotkeyBinding.h"

namespace vt {

class WinHotkeyRegistrar : public IHotkeyRegistrar {
public:
    // The window that receives WM_HOTKEY; set before the first Register.
    void SetWindow(HWND window) { m_window = window; }

    bool Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) override;
    void Unregister(HotkeySlot slot) override;

private:
    HWND m_window = nullptr;
    ATOM m_ids[kHotkeySlotCount] = {};
};

}  // namespace vt
