#include "assistant/mainwnd/ChannelControl.h"

namespace vt {

std::optional<ChannelAction> ActionFromHotkey(std::uint32_t lParam) {
    if ((lParam & 0xFFFF) != kModControl) return std::nullopt;
    switch (lParam >> 16) {
    case kKeyLeft:
        return ChannelAction::LeftOnly;
    case kKeyRight:
        return ChannelAction::RightOnly;
    case kKeyDown:
        return ChannelAction::Both;
    case kKeyUp:
        return ChannelAction::Mute;
    default:
        return std::nullopt;
    }
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
