#pragma once
// One end at a time: the countdown's end and a power reminder's end. A
// reminder whose action comes due ("每个法定工作日 18:30 关机") begins a last
// minute of its own, counted here; the countdown counts in Countdown and is
// told to this schedule after every change. Whichever end comes first is in
// force: the last-minute window shows it, and its three buttons act on it.
// A reminder that comes due while another end is already at most a minute
// away rides on that end: it is carried out with it, or cancelled with it.
// The main window only carries out the orders and shows the view.
#include <optional>
#include <string>
#include <vector>

#include "assistant/mainwnd/LastMinute.h"
#include "assistant/reminders/ReminderBook.h"
#include "assistant/reminders/ReminderPower.h"

namespace vt {

// An occurrence an end carries out: marked answered (MarkCarriedOut, which
// saves the reminder file) before the end runs.
struct CarriedOccurrence {
    ReminderId id = kNoReminder;
    LocalMinute occurrence = kNoOccurrence;
    bool operator==(const CarriedOccurrence& other) const { return id == other.id && occurrence == other.occurrence; }
};

enum class EndStep {
    None,
    PostponeCountdown,  // ten minutes more on the countdown, still running
    StopCountdown,      // stopped as "暂停计时" leaves it
    EndCountdown,       // the countdown's end now, as when it runs out
    EndReminder,        // the reminder's action now, as the countdown's end runs it
    Lock,               // locked at once: 锁定 has no last minute
};

struct EndOrder {
    EndStep step = EndStep::None;
    EndAction action = EndAction::ShutDown;  // EndReminder's
    std::vector<CarriedOccurrence> carried;  // EndReminder, Lock: marked first
};

// What the last-minute window does after a change.
struct EndView {
    LastMinuteStep step = LastMinuteStep::None;
    EndAction action = EndAction::ShutDown;
    int seconds = 0;
    std::string reason;  // the line under the seconds (UTF-8); may be empty
};

class EndSchedule {
public:
    // The countdown as it stands after any change. A stopped countdown
    // lets go of the reminders that rode on its end.
    void SetCountdown(bool running, int seconds, EndAction action, const std::string& reason = std::string());
    // A reminder's action came due while the program watched. reason names
    // the reminder in the window.
    EndOrder OnReminderDue(ReminderPowerAction action, const CarriedOccurrence& due, const std::string& reason);
    // The main window's second for the reminder's end; EndReminder once it
    // has run out.
    EndOrder Tick();
    // The countdown's end runs (it ran out, or 立即… was pressed): the
    // occurrences that ride on it, each to be marked before.
    std::vector<CarriedOccurrence> TakeCountdownRiders();

    // The window's buttons, for the end in force.
    EndOrder Postpone();  // "推迟10分钟"
    EndOrder Cancel();    // "取消"
    EndOrder ActNow();    // "立即关机" / ...

    // Woken from sleep: a reminder's end in its last minute has the whole
    // minute again (the countdown's follows the same rule in Countdown).
    void OnResume();

    // What the window does now; call after every change of either end. A
    // new end in force inside its minute shows the window again, even one
    // the user closed.
    EndView Next();

private:
    struct ReminderEnd {
        EndAction action = EndAction::ShutDown;
        int seconds = kLastMinuteSeconds;
        std::string reason;
        std::vector<CarriedOccurrence> riders;
    };
    enum class Source { None, Countdown, Reminder };
    Source InForce() const;
    bool CountdownCounts() const { return m_countdownRunning && m_countdownSeconds >= 0; }

    bool m_countdownRunning = false;
    int m_countdownSeconds = 0;
    EndAction m_countdownAction = EndAction::ShutDown;
    std::string m_countdownReason;
    std::vector<CarriedOccurrence> m_countdownRiders;
    std::optional<ReminderEnd> m_reminder;
    LastMinuteWatch m_watch;
    Source m_shownSource = Source::None;
    EndAction m_shownAction = EndAction::ShutDown;
};

}  // namespace vt
