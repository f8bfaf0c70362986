#include "assistant/reminders/ReminderManagerDialog.h"

#include "resource.h"

namespace vt {

ReminderManagerDialog::ReminderManagerDialog() : Dialog(IDD_REMINDER_MANAGER) {}

void ReminderManagerDialog::SaveAndClose() { EndDialog(IDCANCEL); }

}  // namespace vt
