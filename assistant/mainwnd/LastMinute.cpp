#include "assistant/mainwnd/LastMinute.h"

#include <algorithm>
#include <climits>

namespace vt {

std::string LastMinuteTitle(EndAction action) { return std::string("即将") + EndActionName(action); }

std::string ActNowLabel(EndAction action) { return std::string("立即") + EndActionName(action); }

std::string SecondsNote(EndAction action) { return std::string("秒后") + EndActionName(action); }

std::string SecondsText(int secondsLeft) { return std::to_string(std::max(secondsLeft, 0)); }

int SecondsAfterPostpone(int secondsLeft) {
    if (secondsLeft < 0) secondsLeft = 0;
    return secondsLeft > INT_MAX - kPostponeSeconds ? INT_MAX : secondsLeft + kPostponeSeconds;
}

LastMinuteStep LastMinuteWatch::Next(bool running, int secondsLeft) {
    const bool inside = running && secondsLeft >= 0 && secondsLeft <= kLastMinuteSeconds;
    const bool was = m_inside;
    m_inside = inside;
    if (inside) return was ? LastMinuteStep::Update : LastMinuteStep::Show;
    return was ? LastMinuteStep::Hide : LastMinuteStep::None;
}

PopupOrigin PlaceAboveTray(int width, int height, const PopupArea& area, int margin) {
    PopupOrigin at;
    at.x = std::max(area.right - margin - width, area.left);
    at.y = std::max(area.bottom - margin - height, area.top);
    return at;
}

}  // namespace vt
