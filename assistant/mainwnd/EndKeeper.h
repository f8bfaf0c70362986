#pragma once
// The ends of the main window: the countdown's and a power reminder's, one at
// a time (EndSchedule decides), with one last-minute window for the end in
// force; and the wake from sleep. A helper over the main window, as the
// countdown form is: the window owns it and hands it the ends, the second
// and the wake; it runs them through what it is given.
#include <string>
#include <vector>

#include "assistant/mainwnd/CountdownForm.h"
#include "assistant/mainwnd/EndSchedule.h"
#include "assistant/mainwnd/LastMinuteDialog.h"
#include "assistant/mainwnd/PowerActions.h"

namespace vt {

class ReminderManagerDialog;
struct PowerRequest;

class EndKeeper : private ILastMinuteHost {
public:
    EndKeeper(CountdownForm& form, ReminderManagerDialog& reminders, IPowerActions& power, IExitHost& host)
        : m_form(form), m_reminders(reminders), m_power(power), m_host(host) {}

    // The countdown has run out (ICountdownHost::OnCountdownEnd).
    void OnCountdownEnd(EndAction action);
    void OnReminderPower(const PowerRequest& request);
    // Once a second, after the countdown's own second.
    void TickEnds();
    // Woken from sleep, after the form's own wake.
    void OnResume();
    void ShowLastMinute();

    // For tests.
    LastMinuteDialog& Window() { return m_lastMinute; }

private:
    void Carry(const EndOrder& order);
    void MarkCarriedOut(const std::vector<CarriedOccurrence>& carried);
    void OnPostpone() override;
    void OnCancelCountdown() override;
    void OnActNow() override;

    CountdownForm& m_form;
    ReminderManagerDialog& m_reminders;
    IPowerActions& m_power;
    IExitHost& m_host;
    EndSchedule m_ends;
    LastMinuteDialog m_lastMinute{*this};
    bool m_bLeaving = false;  // an end that leaves the logon has run
};

}  // namespace vt
