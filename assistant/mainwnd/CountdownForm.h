#pragma once
// The countdown form on the main window's template: the minutes box and its
// spin, "在" with the time picker, "当" with a condition (ConditionRow, the
// JobWait behind it), the end action list, the start/stop button and the
// status line, with the Countdown behind them. The main window hands
// it the form's messages and the timer's second; the form moves texts
// between its controls and the Countdown and shows the messages it asks for.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "assistant/mainwnd/ConditionRow.h"
#include "assistant/mainwnd/Countdown.h"
#include "assistant/mainwnd/CountdownRequest.h"
#include "assistant/mainwnd/JobWait.h"
#include "assistant/mainwnd/PowerActions.h"
#include "assistant/settings/SettingsModel.h"
#include "shared/core/Clock.h"
#include "shared/win/Dialog.h"

namespace vt {

// The main window's side: the tray's copies of what the form shows, its
// balloon, and the ways out when the countdown ends.
class ICountdownHost : public IExitHost {
public:
    virtual void ShowCountdownStatus(const std::wstring& status) = 0;  // tray menu item and tip
    virtual void ShowStartStopLabel(const std::wstring& label) = 0;    // tray menu item
    virtual void ShowBalloon(const std::string& text) = 0;             // UTF-8
    virtual void ShowEndAction(EndAction action) = 0;                  // the settings window, when open
    // The countdown has run out: its end is the main window's to run
    // (EndCountdown, with what rides on it).
    virtual void OnCountdownEnd(EndAction action) = 0;
};

// What the conditions are watched with: the system's reports and a clock
// of seconds that goes on through sleep.
struct JobServices {
    IJobSampler& sampler;
    std::function<std::uint64_t()> seconds;
};

class CountdownForm {
public:
    CountdownForm(win::Dialog& window, ICountdownHost& host, SettingsModel& settings, IPowerActions& power,
                  const IClock& clock, JobServices jobs)
        : m_window(window),
          m_host(host),
          m_settings(settings),
          m_power(power),
          m_clock(clock),
          m_jobs(std::move(jobs)),
          m_conditionRow(window, m_jobs.sampler) {}

    // Every start begins stopped with one minute in the box (60 seconds);
    // the end action and the picker's time of day are the kept ones.
    void Init();
    // The form's own commands and the spin's notification; false for others.
    bool OnCommand(WORD id, WORD code);
    bool OnNotify(NMHDR* header, LRESULT& result);
    void OnTimer();      // the countdown's second
    void OnStartStop();  // button 1, Enter and the tray's start/stop
    // The kept end action in the list, the countdown and the status it names.
    void ShowEndAction();
    // After an end that leaves the program running: stopped, ready again.
    void Rearm();
    EndAction Action() const { return m_countdown.Action(); }
    // Why the last minute under way began, when a condition began it (UTF-8).
    std::string LastMinuteReason() const { return m_wait.LastMinuteReason(); }
    bool Running() const { return m_countdown.Running(); }
    int SecondsLeft() const { return m_countdown.Seconds(); }
    // The last-minute window's ways out and the wake from sleep.
    void Postpone();
    void Stop();  // as "暂停计时" leaves it; nothing when stopped already
    void OnResume();

    // The command line's request (CountdownCommand.cpp): the form set that
    // way and started, or everything stopped. False when it cannot be done.
    bool CarryOut(const CountdownRequest& request);
    // The computer woke: a condition's idle and quiet measures start again.
    void ResumeConditionWatch();

private:
    void OnSetTime();
    void OnSpinDelta(NMUPDOWN* change);
    void OnMinutesChanged();
    void OnEndActionChosen();
    bool ReadMinutesBox();
    void SetMinutesBoxText(unsigned minutes);
    // The count up to the next moment of the kept time of day.
    void LoadClockTarget();
    void ShowStartStopLabel();
    void UpdateStatus();

    // The three ways and the condition (CountdownCommand.cpp).
    CountdownWay Way() const;
    void SelectWay(CountdownWay way);
    void OnWayClicked(WORD id);
    // "设置时间" with "当": false, after a message, when the condition is incomplete.
    bool LoadCondition(const JobCondition& condition);
    // Another way loaded: a wait under way goes on as that way's countdown.
    void LeaveCondition(bool wasWaiting);
    // Waiting or not, as "开始计时" / "暂停计时" asks.
    void OnStartStopWait();
    void SetWaiting(bool on);
    // Once a second while armed: when the condition holds, the last minute begins.
    void TickCondition();
    void StartCountdown();
    void LoadMinutes(std::uint32_t minutes);
    void LoadClock(std::uint32_t clockMinute);
    std::string StatusText();

    win::Dialog& m_window;
    ICountdownHost& m_host;
    SettingsModel& m_settings;
    IPowerActions& m_power;
    const IClock& m_clock;
    JobServices m_jobs;
    ConditionRow m_conditionRow;
    JobWait m_wait;
    Countdown m_countdown;
    // Set while the form writes the minutes box itself, so only the user's
    // own edits count as changes.
    bool m_bSettingMinutes = false;
    // "设置时间" last loaded a time of day: a start counts to its next moment.
    bool m_bAtClock = false;
};

}  // namespace vt
