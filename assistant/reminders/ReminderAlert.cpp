#include "assistant/reminders/ReminderAlert.h"

namespace vt {

int SnoozeSecondsForCommand(int commandId) {
    static const int kSeconds[kSnoozeMenuCount] = {300, 600, 900, 1800, 3600};
    int k = commandId - kSnoozeMenuFirst;
    return k >= 0 && k < kSnoozeMenuCount ? kSeconds[k] : 0;
}

bool AlertCountdown::OnTimer() {
    --m_nCountdown;
    if (m_nCountdown >= 0) return false;
    m_nCountdown = kDefaultSnoozeSeconds;
    return true;
}

}  // namespace vt
