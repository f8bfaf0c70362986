#pragma once
// The names both sides of a message use, for Vantrel.exe, its tests and the
// programs that drive it from outside: window title, product name, private
// window messages with their parameters, timer ids. Portable (no windows.h),
// so the core and the native tests can include it; the Win32 values it
// mirrors are checked against windows.h where that is visible.
#include <cstdint>

#include "shared/version.h"  // the product's name and version

namespace vt {

inline constexpr wchar_t kProductName[] = L"" VT_PRODUCT_NAME;

// The main window's title: a second copy of the program, the reminder
// manager, the updater and the installer find the main window by it (the
// release build reads VT_MAIN_WINDOW_TITLE from this line).
#define VT_MAIN_WINDOW_TITLE "关机管理器"
inline constexpr wchar_t kMainWindowTitle[] = L"" VT_MAIN_WINDOW_TITLE;
inline constexpr char kMainWindowTitleUtf8[] = VT_MAIN_WINDOW_TITLE;

// The named mutex that makes the first copy the only one.
inline constexpr wchar_t kInstanceMutexName[] = L"VANTREL_MUTEX_NAME";

inline constexpr unsigned kWmUser = 0x0400;  // WM_USER

// To the main window. The tray icon's callback: lParam is the mouse message.
inline constexpr unsigned WM_TRAYNOTIFY = kWmUser + 100;
// To the main window: show a balloon at the tray icon; wParam says which.
inline constexpr unsigned WM_SHOWBALLOON = kWmUser + 101;
inline constexpr std::uintptr_t kBalloonAlreadyRunning = 0;  // a second copy was started
inline constexpr std::uintptr_t kBalloonAlertRunning = 1;    // edit refused while a reminder alerts
inline constexpr std::uintptr_t kBalloonUncoveredYear = 2;   // no holiday schedule for the year in lParam

// Alert to manager: wParam = the reminder's id, lParam = one of the answers.
// The id, not the row: rows deleted above the reminder while its alert is
// open must not redirect the answer.
inline constexpr unsigned WM_REMINDER_ANSWER = kWmUser + 100;
inline constexpr long kAnswerAcknowledged = 0;  // reminder becomes Expired
inline constexpr long kAnswerPutOff = 1;        // reminder becomes Snoozed

// Timer ids, each of its own window; every timer fires once a second.
inline constexpr std::uintptr_t kCountdownTimerId = 1000;  // main window
inline constexpr std::uintptr_t kReminderTimerId = 1000;   // reminder manager
inline constexpr std::uintptr_t kAlertTimerId = 1010;      // reminder alert

}  // namespace vt
