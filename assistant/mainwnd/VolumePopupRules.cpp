#include "assistant/mainwnd/VolumePopupRules.h"

#include "assistant/mainwnd/VolumeMath.h"

namespace vt {

PopupFill FillFromVolume(std::uint32_t volume) {
    PopupFill fill;
    if (volume == 0) return fill;
    fill.muted = false;
    fill.position = PositionFromLevel(LouderLevel(volume));
    return fill;
}

std::uint32_t VolumeForSlider(int position) { return BothChannels(LevelFromPosition(position)); }

std::uint32_t VolumeForMuteClick(bool checked, int position) {
    return checked ? 0 : VolumeForSlider(position);
}

PopupOrigin PlacePopup(int cursorX, int cursorY, int width, int height) {
    return {cursorX - width / 2, cursorY - height - 7};
}

TrayClick DecideTrayClick(bool popupVisible, const PopupHide& lastHide, std::uint32_t nowTick) {
    if (popupVisible) return TrayClick::Hide;
    if (lastHide.byDeactivation && static_cast<std::uint32_t>(nowTick - lastHide.tick) < kTrayClickAfterHideMs)
        return TrayClick::Ignore;
    return TrayClick::Show;
}

}  // namespace vt
