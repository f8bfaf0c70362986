#pragma once
// What the volume popup shows and sets; the window only moves controls.
#include <cstdint>

#include "assistant/mainwnd/VolumeDevice.h"

namespace vt {

struct PopupFill {
    bool muted = true;  // check "静音"; the slider then keeps its position
    int position = 0;   // slider position when not muted
};

// A volume of 0 (also: no device) shows as muted; otherwise the slider
// stands for the louder channel.
PopupFill FillFromVolume(std::uint32_t volume);
inline PopupFill ReadPopupFill(IVolumeDevice& device) { return FillFromVolume(ReadVolume(device)); }

// Both channels at the slider's level.
std::uint32_t VolumeForSlider(int position);

// The mute box has already toggled: checked silences, unchecked restores
// the slider's level.
std::uint32_t VolumeForMuteClick(bool checked, int position);

struct PopupOrigin {
    int x = 0;
    int y = 0;
};

// The work area of the pointer's monitor (the screen less the taskbar).
struct PopupArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Centred over the pointer, its bottom edge 7 pixels above it. Kept inside
// area: with no room above the pointer (a taskbar at the top of the screen)
// its top edge goes 7 pixels below it, and near a side it moves along the
// edge. An empty area (none known) leaves it where the pointer puts it.
PopupOrigin PlacePopup(int cursorX, int cursorY, int width, int height, const PopupArea& area = {});

// How the popup last went out of sight.
struct PopupHide {
    bool byDeactivation = false;  // it hid itself on losing the activation
    std::uint32_t tick = 0;       // GetTickCount then
};

// A press on the tray icon while the popup is open first takes the
// activation away (the popup hides itself) and only then arrives as the
// icon's click. A click within this many milliseconds of such a hide is
// that same press: it closes the popup rather than opening it again.
constexpr std::uint32_t kTrayClickAfterHideMs = 300;

enum class TrayClick { Show, Hide, Ignore };

// The left click on the tray icon. Tick counts wrap after 49.7 days; the
// difference is taken modulo 2^32.
TrayClick DecideTrayClick(bool popupVisible, const PopupHide& lastHide, std::uint32_t nowTick);

}  // namespace vt
