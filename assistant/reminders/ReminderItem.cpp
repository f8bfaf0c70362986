#include "assistant/reminders/ReminderItem.h"

#include <cstring>

namespace vt {

ReminderItem ZeroReminder() {
    ReminderItem item;
    std::memset(&item, 0, sizeof item);
    return item;
}

std::size_t Cp936FitLength(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    std::size_t n = 0;
    while (n < maxBytes) {
        unsigned char lead = static_cast<unsigned char>(text[n]);
        std::size_t width = lead >= 0x81 && lead <= 0xFE ? 2 : 1;
        if (n + width > maxBytes) break;
        n += width;
    }
    return n;
}

bool IsAlertOpen(const ReminderItem& item) {
    return HasState(item, ReminderState::Alerting) || HasState(item, ReminderState::Snoozed);
}

}  // namespace vt
