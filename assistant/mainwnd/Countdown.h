#pragma once
// The shutdown countdown behind the main window's form: the minutes box,
// the seconds left, running or stopped, and the status line. The window
// shows the texts (UTF-8 here) and asks the questions.
#include <cstdint>
#include <string>

#include "assistant/mainwnd/MinutesParser.h"
#include "assistant/settings/EndAction.h"

namespace vt {

// Texts of the countdown's messages and labels.
inline constexpr char kNotANumberMessage[] = "“请填入一个正整数。”";
inline constexpr char kOutOfRangeTemplate[] = "“请填入一个在%1和%2之间的整数。”";
inline constexpr char kZeroMinutesMessage[] = "您的关机时间必须大与0分钟！";
inline constexpr char kShortTimeQuestion[] =
    "您当前设置的时间小于10秒，如果现在开始系统将在10秒内关机，您确定要这样做吗？";
inline constexpr char kStartLabel[] = "开始计时";
inline constexpr char kStopLabel[] = "暂停计时";
// The balloon at the tray icon one minute before the end.
inline constexpr char kOneMinuteWarning[] = "还有1分钟电脑就要关机啦～不想关机的话，请在菜单中点“暂停计时”。";

// The texts that name the end action; for 关机 they are the texts above.
std::string OneMinuteWarning(EndAction action);
std::string ShortTimeQuestion(EndAction action);
// The status item of the tray menu before the first refresh: "倒计时关机未执行".
std::string IdleStatusText(EndAction action);

// kOutOfRangeTemplate with the box's range filled in.
std::string OutOfRangeMessage();

// The spin button beside the minutes box moves within this range.
constexpr int kSpinMin = 1;
constexpr int kSpinMax = 32767;

// The largest count of whole minutes whose seconds fit the counter.
constexpr std::uint32_t kMaxCountdownMinutes = INT32_MAX / 60;  // 35791394

enum class SetTimeResult {
    Set,          // the countdown now holds the minutes
    ZeroMinutes,  // refused: show kZeroMinutesMessage
};

class Countdown {
public:
    std::uint32_t Minutes() const { return m_nMinutes; }
    std::int32_t Seconds() const { return m_nSeconds; }
    bool Paused() const { return m_bPaused; }

    // Reads the minutes box. Not a number keeps the minutes; a number out
    // of range is still taken. The window shows the matching message.
    MinutesRead ReadMinutes(const std::string& boxText);

    // Where the spin button goes after the box changed: the low 16 bits of
    // the minutes, brought into the spin's range.
    int SpinPosition() const;

    // One arrow press of the spin button; returns the new minutes, which
    // the window writes into the box.
    std::uint32_t SpinStep(int positionBefore, int step);

    // Loads the minutes into the countdown, leaving it running or stopped.
    SetTimeResult SetTime();
    // Loads a count of seconds (a time of day's distance), running or stopped.
    void LoadSeconds(std::int32_t seconds);
    // Stopped again, with the count last loaded: after an end that leaves
    // the program running (sleep, hibernate), ready to be started again.
    void Rearm();
    // "推迟10分钟" in the last minute: ten minutes more, still running; its
    // next last minute warns again.
    void Postpone();
    // Woken from sleep: a running countdown in its last minute has the whole
    // minute again, so the user who just came back can still stop it.
    void OnResume();

    EndAction Action() const { return m_action; }
    void SetAction(EndAction action) { m_action = action; }

    // Starting with under ten seconds left needs the user's consent first.
    bool NeedsShortTimeQuestion() const { return m_bPaused && m_nSeconds < 10; }
    void StartStop() { m_bPaused = !m_bPaused; }
    bool Running() const { return !m_bPaused; }
    // Names the action the start/stop button would take now.
    const char* StartStopLabel() const { return m_bPaused ? kStartLabel : kStopLabel; }

    // One second passed; true when the countdown has run out and the
    // computer is to be shut down.
    bool Tick();
    // True after the tick on which a running countdown first had a minute
    // or less left (the shutdown follows about a minute later): the user is
    // warned once. Set time arms the warning again.
    bool OneMinuteWarningDue() const { return m_bWarnNow; }

    // The status text of one refresh; while running each refresh turns
    // the spinner one step.
    std::string NextStatusText();

    static std::string StatusText(bool paused, std::int32_t seconds, char spinner,
                                  EndAction action = EndAction::ShutDown);

private:
    std::uint32_t m_nMinutes = 1;
    std::int32_t m_nSeconds = 60;
    std::int32_t m_nLoadedSeconds = 60;
    EndAction m_action = EndAction::ShutDown;
    bool m_bPaused = true;
    int m_nSpinner = 0;
    bool m_bWarned = false;
    bool m_bWarnNow = false;
};

}  // namespace vt
