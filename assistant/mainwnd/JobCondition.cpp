#include "assistant/mainwnd/JobCondition.h"

#include <algorithm>
#include <string>

#include "assistant/mainwnd/Countdown.h"

namespace vt {
namespace {

// Letter case of the Latin letters only: the other bytes of UTF-8 are never
// ASCII, so a multi-byte character is compared as it is.
std::string Folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A process of the wanted program: the same name, or the name with ".exe"
// the user left out.
bool SameProgram(const std::string& foldedWanted, const std::string& running) {
    const std::string name = Folded(running);
    return name == foldedWanted || name == foldedWanted + ".exe";
}

}  // namespace

std::vector<std::string> ProgramChoices(std::vector<std::string> names) {
    std::vector<std::pair<std::string, std::string>> keyed;  // folded, as listed
    for (std::string& name : names) {
        std::string folded = Folded(name);
        if (folded.size() > 4 && EndsWith(folded, ".exe")) keyed.emplace_back(std::move(folded), std::move(name));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    keyed.erase(
        std::unique(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        keyed.end());
    std::vector<std::string> choices;
    choices.reserve(keyed.size());
    for (auto& entry : keyed) choices.push_back(std::move(entry.second));
    return choices;
}

void JobWatch::Arm(const JobCondition& condition, const IdleThresholds& thresholds, IJobSampler& sampler,
                   std::uint64_t now) {
    m_condition = condition;
    m_condition.program = ProgramFileName(condition.program);
    m_thresholds = thresholds;
    ReleaseKept();
    m_bArmed = true;
    m_bProgramSeen = false;
    m_programShown = m_condition.program;
    if (m_programShown.find('.') == std::string::npos) m_programShown += ".exe";
    RestartMeasures(now);
    m_nLastTick = now;
    TakeSample(sampler, now);
}

bool JobWatch::Tick(IJobSampler& sampler, std::uint64_t now) {
    if (!m_bArmed) return false;
    // The timer stood still (or the clock went back): whatever happened
    // meanwhile was not seen, so nothing of it counts.
    if (now < m_nLastTick || now - m_nLastTick > kMaxWatchGapSeconds) RestartMeasures(now);
    m_nLastTick = now;
    TakeSample(sampler, now);
    if (!Holds(now)) return false;
    Disarm();
    return true;
}

void JobWatch::Disarm() {
    m_bArmed = false;
    ReleaseKept();
}

void JobWatch::OnResume(std::uint64_t now) {
    if (!m_bArmed) return;
    RestartMeasures(now);
    m_nLastTick = now;
}

void JobWatch::RestartMeasures(std::uint64_t now) {
    // The program may have run while nobody looked.
    m_nProgramLastRunning = now;
    m_bProgramKnown = false;
    m_nNextLook = now;
    m_nMeasureStart = now;
    m_idleSeconds.reset();
    m_prevBytes.reset();
    m_prevTimes.reset();
    RestartQuiet();
}

void JobWatch::RestartQuiet() {
    m_quietSince.reset();
    m_reading.reset();
}

void JobWatch::TakeSample(IJobSampler& sampler, std::uint64_t now) {
    switch (m_condition.kind) {
    case JobConditionKind::ProgramExit:
        SampleProgram(sampler, now);
        break;
    case JobConditionKind::UserIdle:
        SampleInput(sampler, now);
        break;
    case JobConditionKind::NetworkIdle:
        SampleNetwork(sampler, now);
        break;
    case JobConditionKind::CpuIdle:
        SampleCpu(sampler, now);
        break;
    }
}

void JobWatch::SampleProgram(IJobSampler& sampler, std::uint64_t now) {
    if (m_bHolding) {
        if (sampler.HeldRunning().value_or(false)) {
            m_bProgramKnown = true;
            m_nProgramLastRunning = now;
            return;
        }
        // Every held process ended, or the system could not tell: another
        // process of the program may have started meanwhile.
        ReleaseKept();
    }
    // Once seen, the program is looked for each tick until it counts as gone.
    if (!m_bProgramSeen) {
        m_pKeeper = &sampler;
        if (!sampler.StartHinted() && now < m_nNextLook) return;
    }
    LookForProgram(sampler, now);
}

void JobWatch::LookForProgram(IJobSampler& sampler, std::uint64_t now) {
    m_nNextLook = now + kProgramLookSeconds;
    const std::optional<std::vector<RunningProcess>> processes = sampler.Processes();
    m_bProgramKnown = processes.has_value();
    if (!processes) {
        // A failed look says nothing: the program may still run.
        m_nProgramLastRunning = now;
        return;
    }
    const std::string wanted = Folded(m_condition.program);
    std::vector<std::uint32_t> ids;
    for (const RunningProcess& process : *processes) {
        if (!SameProgram(wanted, process.name)) continue;
        if (ids.empty()) m_programShown = process.name;
        ids.push_back(process.id);
    }
    if (ids.empty()) return;
    m_bProgramSeen = true;
    m_nProgramLastRunning = now;
    // Not held (a process the system does not let us wait for): looked for
    // each tick instead.
    m_bHolding = sampler.Hold(ids);
    m_pKeeper = m_bHolding ? &sampler : nullptr;
}

void JobWatch::ReleaseKept() {
    if (m_pKeeper) m_pKeeper->Release();
    m_pKeeper = nullptr;
    m_bHolding = false;
}

void JobWatch::SampleInput(IJobSampler& sampler, std::uint64_t now) {
    const std::optional<std::uint64_t> ageMs = sampler.InputAgeMs();
    if (!ageMs) {
        m_nMeasureStart = now;
        m_idleSeconds.reset();
        return;
    }
    // Input before the wait began (or before the computer last woke) is
    // not what the wait measures.
    m_idleSeconds = std::min(*ageMs / 1000, now - m_nMeasureStart);
}

void JobWatch::SampleNetwork(IJobSampler& sampler, std::uint64_t now) {
    if (m_prevBytes && now - m_nPrevAt < kQuietSampleSeconds) return;
    const std::optional<std::uint64_t> bytes = sampler.NetworkBytes();
    // Unknown, or counters that went back (an adapter reset or gone, a
    // counter wrapped): the measure starts again from this sample.
    if (!bytes || !m_prevBytes || *bytes < *m_prevBytes) {
        RestartQuiet();
        m_prevBytes = bytes;
        m_nPrevAt = now;
        return;
    }
    if (now == m_nPrevAt) return;  // within the same second the interval goes on
    const std::uint64_t seconds = now - m_nPrevAt;
    const std::uint64_t delta = *bytes - *m_prevBytes;
    NoteInterval(delta < std::uint64_t{m_thresholds.networkKBps} * 1024 * seconds, delta / seconds / 1024, m_nPrevAt);
    m_prevBytes = bytes;
    m_nPrevAt = now;
}

void JobWatch::SampleCpu(IJobSampler& sampler, std::uint64_t now) {
    if (m_prevTimes && now - m_nPrevAt < kQuietSampleSeconds) return;
    const std::optional<CpuTimes> times = sampler.SystemTimes();
    const auto startOver = [&] {
        RestartQuiet();
        m_prevTimes = times;
        m_nPrevAt = now;
    };
    if (!times) return startOver();
    if (!m_prevTimes) {
        m_prevTimes = times;
        m_nPrevAt = now;
        return;
    }
    const CpuTimes& prev = *m_prevTimes;
    if (times->idle < prev.idle || times->kernel < prev.kernel || times->user < prev.user) return startOver();
    const std::uint64_t idle = times->idle - prev.idle;
    const std::uint64_t total = (times->kernel - prev.kernel) + (times->user - prev.user);
    // Within the same second, or no processor time passed: the interval goes on.
    if (now == m_nPrevAt || total == 0) return;
    // The kernel time includes the idle time: more idle than all the time
    // passed is a misreading, not quiet.
    if (idle > total) return startOver();
    const std::uint64_t busy = total - idle;
    NoteInterval(busy * 100 < std::uint64_t{m_thresholds.cpuPercent} * total, busy * 100 / total, m_nPrevAt);
    m_prevTimes = times;
    m_nPrevAt = now;
}

void JobWatch::NoteInterval(bool quiet, std::uint64_t reading, std::uint64_t intervalStart) {
    m_reading = reading;
    if (!quiet)
        m_quietSince.reset();
    else if (!m_quietSince)
        m_quietSince = intervalStart;
}

bool JobWatch::Holds(std::uint64_t now) const {
    switch (m_condition.kind) {
    case JobConditionKind::ProgramExit:
        return m_bProgramSeen && m_bProgramKnown && now - m_nProgramLastRunning >= kProgramGoneSeconds;
    case JobConditionKind::UserIdle:
        return m_idleSeconds && *m_idleSeconds >= NeededSeconds();
    case JobConditionKind::NetworkIdle:
    case JobConditionKind::CpuIdle:
        // Up to the end of the last interval read: the time since is not known yet.
        return m_quietSince && m_nPrevAt - *m_quietSince >= NeededSeconds();
    }
    return false;
}

std::string JobWatch::StatusText(EndAction action) const {
    const std::string after = std::string("后") + EndActionName(action);
    const std::string minutes = std::to_string(m_condition.minutes) + "分钟";
    std::string text = kWaitingPrefix;
    switch (m_condition.kind) {
    case JobConditionKind::ProgramExit:
        text += m_programShown + " 退出" + after;
        if (!m_bProgramSeen && m_bProgramKnown) text += kNotYetRunningNote;
        break;
    case JobConditionKind::UserIdle:
        text += "无人使用电脑" + minutes + after;
        if (m_idleSeconds) text += "（已空闲" + std::to_string(*m_idleSeconds / 60) + "分钟）";
        break;
    case JobConditionKind::NetworkIdle:
        text += "网络空闲" + minutes + after;
        if (m_reading) text += "（现在 " + std::to_string(*m_reading) + " KB/s）";
        break;
    case JobConditionKind::CpuIdle:
        text += "CPU 空闲" + minutes + after;
        if (m_reading) text += "（现在 " + std::to_string(*m_reading) + " %）";
        break;
    }
    return text;
}

std::string JobWatch::Reason() const {
    const std::string minutes = std::to_string(m_condition.minutes) + "分钟";
    switch (m_condition.kind) {
    case JobConditionKind::ProgramExit:
        return m_programShown + " 已退出";
    case JobConditionKind::UserIdle:
        return "电脑已无人使用" + minutes;
    case JobConditionKind::NetworkIdle:
        return "网络已空闲" + minutes;
    case JobConditionKind::CpuIdle:
        return "CPU 已空闲" + minutes;
    }
    return std::string();
}

std::string JobWatch::WarningText(EndAction action) const { return Reason() + "，" + OneMinuteWarning(action); }

}  // namespace vt
