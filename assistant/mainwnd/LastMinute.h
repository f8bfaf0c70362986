#pragma once
// The countdown's last minute: when its window opens and closes, what it
// says for each end action, what putting the end off does, and where the
// window stands. The window (LastMinuteDialog) only shows what this decides.
#include <string>

#include "assistant/mainwnd/VolumePopupRules.h"  // PopupOrigin, PopupArea
#include "assistant/settings/EndAction.h"

namespace vt {

// The window opens when a running countdown has this many seconds or fewer left.
inline constexpr int kLastMinuteSeconds = 60;
// "推迟10分钟" adds this much; the countdown keeps running.
inline constexpr int kPostponeSeconds = 600;

// The window's caption: "即将关机", "即将重启", ... (UTF-8).
std::string LastMinuteTitle(EndAction action);
// The button that carries the action out at once: "立即关机", ...
std::string ActNowLabel(EndAction action);
// Under the seconds: "秒后关机", ...
std::string SecondsNote(EndAction action);
// The seconds as the window shows them; never below 0.
std::string SecondsText(int secondsLeft);

// The count after "推迟10分钟": ten minutes more, never past the largest
// count the countdown holds.
int SecondsAfterPostpone(int secondsLeft);

// What the window does after the count changed.
enum class LastMinuteStep { None, Show, Update, Hide };

// Followed on every tick and every change of the countdown. The window is
// shown once as the last minute begins and updated after that; a window the
// user closed stays closed (updating never shows it) until the next last
// minute. Postponing or stopping leaves the last minute and hides it.
class LastMinuteWatch {
public:
    LastMinuteStep Next(bool running, int secondsLeft);
    bool Inside() const { return m_inside; }

private:
    bool m_inside = false;
};

// Bottom right of the work area, like a notification, margin pixels from
// its edges; an area too small for the window keeps its top left corner in sight.
PopupOrigin PlaceAboveTray(int width, int height, const PopupArea& area, int margin);

}  // namespace vt
