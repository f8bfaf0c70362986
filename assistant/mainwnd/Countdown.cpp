#include "assistant/mainwnd/Countdown.h"

#include <algorithm>
#include <cstdint>

#include "shared/core/Text.h"

namespace vt {

std::string OutOfRangeMessage() {
    std::string text = kOutOfRangeTemplate;
    text.replace(text.find("%1"), 2, std::to_string(kMinMinutes));
    text.replace(text.find("%2"), 2, std::to_string(kMaxMinutes));
    return text;
}

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
    m_nSeconds = static_cast<std::int32_t>(minutes * 60);
    m_bWarned = false;
    return SetTimeResult::Set;
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
    return StatusText(m_bPaused, m_nSeconds, "|/-\\|"[m_nSpinner]);
}

std::string Countdown::StatusText(bool paused, std::int32_t seconds, char spinner) {
    std::string text = paused ? std::string("[已暂停]定时关机的时间为")
                              : Format("[运行中%c]", spinner) + "系统距离关机还有";
    if (seconds >= 3600) text += Format("%d小时", seconds / 3600);
    if (seconds >= 60) text += Format("%d分", seconds / 60 % 60);
    text += Format("%d秒", seconds % 60);
    return text;
}

}  // namespace vt
