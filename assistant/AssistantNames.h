#pragma once
// The names Vantrel.exe and its tests use on both sides of a message: product
// name, private window messages with their parameters, timer ids. What other
// programs rely on too (titles, exit command, tray and balloon messages,
// mutex) is in shared/ProgramNames.h. Portable (no windows.h), so the core and
// the native tests can include it; the Win32 values it mirrors are checked
// against windows.h where that is visible.
#include <cstdint>

#include "shared/ProgramNames.h"
#include "shared/version.h"  // the product's name and version

namespace vt {

inline constexpr wchar_t kProductName[] = L"" VT_PRODUCT_NAME;

// Alert to manager: wParam = the reminder's id, lParam = one of the answers.
// The id, not the row: rows deleted above the reminder while its alert is
// open must not redirect the answer.
inline constexpr unsigned WM_REMINDER_ANSWER = kWmUser + 100;
inline constexpr long kAnswerAcknowledged = 0;  // reminder becomes Expired
inline constexpr long kAnswerPutOff = 1;        // reminder becomes Snoozed

// Timer ids, each of its own window. The main window's second also ticks the
// reminders; its start timer fires once, when the message loop is idle.
inline constexpr std::uintptr_t kCountdownTimerId = 1000;  // main window, every second
inline constexpr std::uintptr_t kStartTimerId = 1001;      // main window, once
inline constexpr std::uintptr_t kAlertTimerId = 1010;      // reminder alert, every second

}  // namespace vt
