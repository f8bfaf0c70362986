#pragma once
// What Vantrel.exe, Update.exe, the installer and the scripts that drive them
// from outside all rely on, in one place: the windows they find by title, the
// commands and messages they send, the mutexes that keep one copy running.
// Portable (no windows.h). The release build and scripts/names.sh read the
// #define lines below as they stand: keep each on one line.
//
// The .rc compiler includes this file through resource.h: it sees only the
// #defines.

// The assistant's main window title.
#define VT_MAIN_WINDOW_TITLE "关机管理器"
// The command that ends the assistant as its tray menu's "退出" does (saving
// the reminders first): WM_COMMAND with this id to the main window.
#define VT_MAIN_EXIT_COMMAND 32775
// The tray icon's callback message to the main window (WM_USER + 100);
// lParam is the mouse message.
#define VT_WM_TRAYNOTIFY 0x0464
// To the main window: show a balloon at the tray icon; wParam says which,
// 0 or 1 below; any other value shows nothing (WM_USER + 101).
#define VT_WM_SHOWBALLOON 0x0465
// The updater's wizard title (also the caption of its template).
#define VT_WIZARD_TITLE "在线升级"

#ifndef RC_INVOKED
#include <cstdint>

namespace vt {

inline constexpr wchar_t kMainWindowTitle[] = L"" VT_MAIN_WINDOW_TITLE;
inline constexpr char kMainWindowTitleUtf8[] = VT_MAIN_WINDOW_TITLE;
inline constexpr unsigned kMainExitCommand = VT_MAIN_EXIT_COMMAND;

inline constexpr unsigned kWmUser = 0x0400;  // WM_USER
inline constexpr unsigned WM_TRAYNOTIFY = VT_WM_TRAYNOTIFY;
inline constexpr unsigned WM_SHOWBALLOON = VT_WM_SHOWBALLOON;
static_assert(WM_TRAYNOTIFY == kWmUser + 100 && WM_SHOWBALLOON == kWmUser + 101,
              "copies of the assistant of every version use these numbers");
inline constexpr std::uintptr_t kBalloonAlreadyRunning = 0;  // a second copy was started
inline constexpr std::uintptr_t kBalloonAlertRunning = 1;    // edit refused while a reminder alerts

// The named mutexes that make the first copy of each program the only one.
inline constexpr wchar_t kInstanceMutexName[] = L"VANTREL_MUTEX_NAME";
inline constexpr wchar_t kUpdaterMutexName[] = L"UPDATE_MUTEX_NAME";

inline constexpr wchar_t kWizardTitle[] = L"" VT_WIZARD_TITLE;

}  // namespace vt
#endif
