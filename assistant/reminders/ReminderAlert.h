#pragma once
// The alert window's own logic. An alert lives on by itself once opened: it
// beeps and flashes one second after opening and then every 301 seconds
// until answered; putting it off hides it for N seconds, after which it comes
// back (N + 1 seconds later) and resumes the 301-second cycle.
//
// Answers go to the manager as WM_REMINDER_ANSWER (assistant/AssistantNames.h).
#include "assistant/AssistantNames.h"

namespace vt {

constexpr int kDefaultSnoozeSeconds = 300;

// The snooze menu's commands, ID_SNOOZE_5 .. ID_SNOOZE_60 of the resources.
constexpr int kSnoozeMenuFirst = 32795;
constexpr int kSnoozeMenuCount = 5;

// Seconds for the snooze menu's commands (5, 10, 15, 30 and 60 minutes); 0
// for any other id.
int SnoozeSecondsForCommand(int commandId);

class AlertCountdown {
public:
    // One timer tick. True when the alert must show itself again now
    // (show, restore, flash, beep).
    bool OnTimer();
    // Hides the alert for this many seconds (before the extra tick).
    void PutOff(int seconds) { m_nCountdown = seconds; }
    int Remaining() const { return m_nCountdown; }

private:
    int m_nCountdown = 0;
};

}  // namespace vt
