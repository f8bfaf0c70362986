#include "assistant/mainwnd/JobWait.h"

#include "assistant/mainwnd/Countdown.h"

namespace vt {

std::string JobConditionText(const JobCondition& condition, EndAction action) {
    const std::string after = std::string("后") + EndActionName(action);
    if (condition.kind != JobConditionKind::ProgramExit)
        return JobConditionKindName(condition.kind) + std::to_string(condition.minutes) + "分钟" + after;
    std::string program = ProgramFileName(condition.program);
    if (program.find('.') == std::string::npos) program += ".exe";
    return program + " 退出" + after;
}

void JobWait::Load(const JobCondition& condition, const IdleThresholds& thresholds, IJobSampler& sampler,
                   std::uint64_t now) {
    const bool armed = Armed();
    m_condition = condition;
    m_bLoaded = true;
    m_bHeld = false;
    if (armed) Arm(thresholds, sampler, now);
}

void JobWait::Unload() {
    m_watch.Disarm();
    m_bLoaded = m_bHeld = false;
}

void JobWait::Arm(const IdleThresholds& thresholds, IJobSampler& sampler, std::uint64_t now) {
    m_bHeld = false;
    if (m_bLoaded && IsValid(m_condition)) m_watch.Arm(m_condition, thresholds, sampler, now);
}

bool JobWait::Tick(IJobSampler& sampler, std::uint64_t now) {
    if (!m_watch.Tick(sampler, now)) return false;
    m_bHeld = true;
    return true;
}

std::string JobWait::StatusText(EndAction action) const {
    if (Armed()) return m_watch.StatusText(action);
    return kPausedPrefix + JobConditionText(m_condition, action);
}

std::string JobWait::WarningText(EndAction action) const {
    return m_bHeld ? m_watch.WarningText(action) : OneMinuteWarning(action);
}

}  // namespace vt
