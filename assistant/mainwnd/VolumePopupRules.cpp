#include "assistant/mainwnd/VolumePopupRules.h"

#include <algorithm>

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

std::uint32_t VolumeForMuteClick(bool checked, int position) { return checked ? 0 : VolumeForSlider(position); }

PopupOrigin PlacePopup(int cursorX, int cursorY, int width, int height, const PopupArea& area) {
    constexpr int kGap = 7;
    PopupOrigin at{cursorX - width / 2, cursorY - height - kGap};
    if (area.right <= area.left || area.bottom <= area.top) return at;
    if (at.y < area.top) at.y = cursorY + kGap;
    // Wider or taller than the area: its top left corner stays visible.
    at.x = std::max(area.left, std::min(at.x, area.right - width));
    at.y = std::max(area.top, std::min(at.y, area.bottom - height));
    return at;
}

TrayClick DecideTrayClick(bool popupVisible, const PopupHide& lastHide, std::uint32_t nowTick) {
    if (popupVisible) return TrayClick::Hide;
    if (lastHide.byDeactivation && static_cast<std::uint32_t>(nowTick - lastHide.tick) < kTrayClickAfterHideMs)
        return TrayClick::Ignore;
    return TrayClick::Show;
}

}  // namespace vt
