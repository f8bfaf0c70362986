#pragma once
// The balloons the main window shows at its tray icon on its own account.
// Portable, so what the public message answers is tested without a window.
#include <cstdint>

#include "assistant/reminders/ReminderTexts.h"
#include "shared/ProgramNames.h"

namespace vt {

// At a start that finds no Run value: the first run.
inline constexpr char kFirstRunBalloon[] = "我在这里哦～以后右击这里就可以操作我啦～";
// A second copy was started (WM_SHOWBALLOON, kBalloonAlreadyRunning).
inline constexpr char kAlreadyRunningBalloon[] = "我在这里哦～右击这里就可以操作我啦～";

// WM_SHOWBALLOON is public: any program may send it. The text for its
// wParam, or null for a wParam it does not document (nothing is shown).
inline const char* PublicBalloonText(std::uintptr_t which) {
    if (which == kBalloonAlreadyRunning) return kAlreadyRunningBalloon;
    if (which == kBalloonAlertRunning) return kAlertRunningBalloon;
    return nullptr;
}

}  // namespace vt
