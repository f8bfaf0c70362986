#include "assistant/mainwnd/Countdown.h"

#include <algorithm>
#include <cstdint>

#include "assistant/mainwnd/LastMinute.h"
#include "shared/core/Text.h"

namespace vt {

std::string OutOfRangeMessage() {
    std::string text = kOutOfRangeTemplate;
    text.replace(text.find("%1"), 2, std::to_string(kMinMinutes));
    text.replace(text.find("%2"), 2, std::to_string(kMaxMinutes));
    return text;
}

std::string OneMinuteWarning(EndAction action) {
    const std::string name = EndActionName(action);
    return "还有1分钟电脑就要" + name + "啦～不想" + name + "的话，请在菜单中点“暂停计时”。";
}

std::string ShortTimeQuestion(EndAction action) {
    return std::string("您当前设置的时间小于10秒，如果现在开始系统将在10秒内") + EndActionName(action) +
           "，您确定要这样做吗？";
}

std::string IdleStatusText(EndAction action) { return std::string("倒计时") + EndActionName(action) + "未执行"; }

MinutesRead Countdown::ReadMinutes(const std::string& boxText) {
    const MinutesParse parse = ParseMinutes(boxText);
    if (parse.result != MinutesRead::NotANumber) m_nMinutes = parse.value;
    return parse.result;
}

int Countdown::SpinPosition() const {
    const int low = static_cast<int>(m_nMinutes & 0xFFFF);
    return std::clamp(low, kSpinMin, kSpinMax);
}

std::uint32_t Countdown::SpinStep(int positionBefore, int step) {
    const std::int64_t next = std::int64_t{positionBefore} + step;
    m_nMinutes = static_cast<std::uint32_t>(std::clamp<std::int64_t>(next, kSpinMin, kSpinMax));
    return m_nMinutes;
}

SetTimeResult Countdown::SetTime() {
    if (m_nMinutes == 0) return SetTimeResult::ZeroMinutes;
    // A typed value past the box's range is still taken, as far as the
    // counter can hold it: beyond that the seconds would wrap negative and
    // shut the computer down at the next tick.
    const std::uint32_t minutes = std::min(m_nMinutes, kMaxCountdownMinutes);
    LoadSeconds(static_cast<std::int32_t>(minutes * 60));
    return SetTimeResult::Set;
}

void Countdown::LoadSeconds(std::int32_t seconds) {
    m_nSeconds = m_nLoadedSeconds = seconds;
    m_bWarned = false;
}

void Countdown::Rearm() {
    m_bPaused = true;
    LoadSeconds(m_nLoadedSeconds);
}

void Countdown::Postpone() {
    m_nSeconds = SecondsAfterPostpone(m_nSeconds);
    m_bWarned = false;
}

void Countdown::OnResume() {
    if (!m_bPaused && m_nSeconds >= 0 && m_nSeconds <= kLastMinuteSeconds) m_nSeconds = kLastMinuteSeconds;
}

bool Countdown::Tick() {
    m_bWarnNow = false;
    if (!m_bPaused) {
        --m_nSeconds;
        if (!m_bWarned && m_nSeconds >= 0 && m_nSeconds <= 60) m_bWarned = m_bWarnNow = true;
    }
    return m_nSeconds < 0;
}

std::string Countdown::NextStatusText() {
    if (!m_bPaused) m_nSpinner = m_nSpinner % 4 + 1;
    return StatusText(m_bPaused, m_nSeconds, "|/-\\|"[m_nSpinner], m_action);
}

std::string Countdown::StatusText(bool paused, std::int32_t seconds, char spinner, EndAction action) {
    const std::string name = EndActionName(action);
    std::string text =
        paused ? "[已暂停]定时" + name + "的时间为" : Format("[运行中%c]", spinner) + "系统距离" + name + "还有";
    if (seconds >= 3600) text += Format("%d小时", seconds / 3600);
    if (seconds >= 60) text += Format("%d分", seconds / 60 % 60);
    text += Format("%d秒", seconds % 60);
    return text;
}

}  // namespace vt
