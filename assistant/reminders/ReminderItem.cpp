#include "assistant/reminders/ReminderItem.h"

#include <cstring>

namespace vt {

ReminderItem ZeroReminder() {
    ReminderItem item;
    std::memset(&item, 0, sizeof item);
    return item;
}

bool IsAlertOpen(const ReminderItem& item) {
    return HasState(item, ReminderState::Alerting) || HasState(item, ReminderState::Snoozed);
}

}  // namespace vt
