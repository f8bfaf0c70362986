#pragma once
// The reminder manager window (template 135). Created hidden at start-up by
// the main window; its own one-second timer runs for the whole session.
#include "shared/win/Dialog.h"

namespace vt {

class ReminderManagerDialog : public win::Dialog {
public:
    ReminderManagerDialog();
    ~ReminderManagerDialog() override { DestroyWindow(); }

    // At every way out: reminders written, alerts closed, window ended.
    void SaveAndClose();
};

}  // namespace vt
