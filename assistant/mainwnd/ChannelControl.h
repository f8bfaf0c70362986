#pragma once
// The Ctrl+arrow channel commands: left only, right only, both, mute.
#include <cstdint>
#include <optional>

#include "assistant/mainwnd/VolumeDevice.h"
#include "assistant/settings/HotkeyBinding.h"

namespace vt {

enum class ChannelAction { LeftOnly, RightOnly, Both, Mute };

// The action of a hotkey row (and of its tray menu item): the rows come in
// the order of the actions.
ChannelAction ActionOfSlot(HotkeySlot slot);

// The action a WM_HOTKEY stands for, from its lParam alone (modifiers low,
// key high): exactly the modifiers and the key of a combination in force.
// The hotkey id is not looked at.
std::optional<ChannelAction> ActionFromHotkey(const HotkeyBindings& inForce, std::uint32_t lParam);

// The volume an action sets, from the reference volume: the louder of its
// two channels on the channel(s) kept.
std::uint32_t VolumeForAction(ChannelAction action, std::uint32_t savedVolume);

class ChannelControl {
public:
    explicit ChannelControl(IVolumeDevice& device) : m_device(device) {}

    // Takes the device's volume as the reference, even with a silent channel.
    void Init() { m_dwSavedVolume = ReadVolume(m_device); }

    // Sets the device; never reads it and never changes the reference.
    void Apply(ChannelAction action);

    // Once a second: the device's volume becomes the reference while both
    // channels are audible. After a one-channel command or mute it is not,
    // so "both" restores the level the user had before.
    void Sample();

    std::uint32_t SavedVolume() const { return m_dwSavedVolume; }

private:
    IVolumeDevice& m_device;
    std::uint32_t m_dwSavedVolume = 0;
};

}  // namespace vt
