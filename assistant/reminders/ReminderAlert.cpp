#include "assistant/reminders/ReminderAlert.h"

namespace vt {

int SnoozeSecondsForCommand(int commandId) {
    switch (commandId) {
    case 32795: return 300;
    case 32796: return 600;
    case 32797: return 900;
    case 32798: return 1800;
    case 32799: return 3600;
    default: return 0;
    }
}

bool AlertCountdown::OnTimer() {
    --m_nCountdown;
    if (m_nCountdown >= 0) return false;
    m_nCountdown = kDefaultSnoozeSeconds;
    return true;
}

}  // namespace vt
