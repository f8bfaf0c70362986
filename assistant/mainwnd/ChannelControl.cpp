#include "assistant/mainwnd/ChannelControl.h"

namespace vt {

ChannelAction ActionOfSlot(HotkeySlot slot) {
    static const ChannelAction kActions[kHotkeySlotCount] = {ChannelAction::LeftOnly, ChannelAction::RightOnly,
                                                             ChannelAction::Both, ChannelAction::Mute};
    return kActions[SlotIndex(slot)];
}

std::optional<ChannelAction> ActionFromHotkey(const HotkeyBindings& inForce, std::uint32_t lParam) {
    if (auto slot = inForce.SlotForLParam(lParam)) return ActionOfSlot(*slot);
    return std::nullopt;
}

std::uint32_t VolumeForAction(ChannelAction action, std::uint32_t savedVolume) {
    const std::uint32_t level = LouderLevel(savedVolume);
    switch (action) {
    case ChannelAction::LeftOnly:
        return level;
    case ChannelAction::RightOnly:
        return level * 65536;
    case ChannelAction::Both:
        return BothChannels(level);
    case ChannelAction::Mute:
        break;
    }
    return 0;
}

void ChannelControl::Apply(ChannelAction action) { m_device.SetVolume(VolumeForAction(action, m_dwSavedVolume)); }

void ChannelControl::Sample() {
    const std::uint32_t volume = ReadVolume(m_device);
    if (LeftLevel(volume) != 0 && RightLevel(volume) != 0) m_dwSavedVolume = volume;
}

}  // namespace vt
