#pragma once
// The countdown form's third way: a condition loaded by "设置时间", armed
// by "开始计时" and watched once a second, and the reason the last minute
// began once it held. The form keeps the countdown stopped while it waits.
// Texts are UTF-8.
#include <cstdint>
#include <string>

#include "assistant/mainwnd/JobCondition.h"

namespace vt {

inline constexpr char kPausedPrefix[] = "[已暂停]";

// What the condition waits for, without its state: "Thunder.exe 退出后关机",
// "无人使用电脑30分钟后重启".
std::string JobConditionText(const JobCondition& condition, EndAction action);

class JobWait {
public:
    // "设置时间" with "当": the condition replaces a wait under way, which
    // goes on with the new one.
    void Load(const JobCondition& condition, const IdleThresholds& thresholds, IJobSampler& sampler, std::uint64_t now);
    // Another way was loaded: nothing waits any more.
    void Unload();
    bool Loaded() const { return m_bLoaded; }
    const JobCondition& Condition() const { return m_condition; }

    void Arm(const IdleThresholds& thresholds, IJobSampler& sampler, std::uint64_t now);
    void Disarm() { m_watch.Disarm(); }
    bool Armed() const { return m_watch.Armed(); }
    // True on the tick the condition holds: the last minute is to begin.
    bool Tick(IJobSampler& sampler, std::uint64_t now);
    void OnResume(std::uint64_t now) { m_watch.OnResume(now); }

    // Armed: "[等待中]…"; loaded and stopped: "[已暂停]Thunder.exe 退出后关机".
    std::string StatusText(EndAction action) const;
    // The one-minute warning: with the reason while the last minute is the
    // one the condition began, the countdown's plain one otherwise.
    std::string WarningText(EndAction action) const;
    // The same reason for the last-minute window; empty for a plain countdown.
    std::string LastMinuteReason() const { return m_bHeld ? m_watch.Reason() : std::string(); }

private:
    JobCondition m_condition;
    JobWatch m_watch;
    bool m_bLoaded = false;
    bool m_bHeld = false;  // the last minute under way began when the condition held
};

}  // namespace vt
