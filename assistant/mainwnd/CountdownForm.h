#pragma once
// The countdown form on the main window's template: the minutes box and its
// spin, "在" with the time picker, the end action list, the start/stop button
// and the status line, with the Countdown behind them. The main window hands
// it the form's messages and the timer's second; the form moves texts
// between its controls and the Countdown and shows the messages it asks for.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "assistant/mainwnd/Countdown.h"
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

class CountdownForm {
public:
    CountdownForm(win::Dialog& window, ICountdownHost& host, SettingsModel& settings, IPowerActions& power,
                  const IClock& clock)
        : m_window(window), m_host(host), m_settings(settings), m_power(power), m_clock(clock) {}

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
    bool Running() const { return m_countdown.Running(); }
    int SecondsLeft() const { return m_countdown.Seconds(); }
    // The last-minute window's ways out and the wake from sleep.
    void Postpone();
    void Stop();  // as "暂停计时" leaves it; nothing when stopped already
    void OnResume();

private:
    void OnSetTime();
    void OnSpinDelta(NMUPDOWN* change);
    void OnMinutesChanged();
    void OnAtClockClicked();
    void OnEndActionChosen();
    bool ReadMinutesBox();
    void SetMinutesBoxText(unsigned minutes);
    // The count up to the next moment of the kept time of day.
    void LoadClockTarget();
    void ShowStartStopLabel();
    void UpdateStatus();

    win::Dialog& m_window;
    ICountdownHost& m_host;
    SettingsModel& m_settings;
    IPowerActions& m_power;
    const IClock& m_clock;
    Countdown m_countdown;
    // Set while the form writes the minutes box itself, so only the user's
    // own edits count as changes.
    bool m_bSettingMinutes = false;
    // "设置时间" last loaded a time of day: a start counts to its next moment.
    bool m_bAtClock = false;
};

}  // namespace vt
