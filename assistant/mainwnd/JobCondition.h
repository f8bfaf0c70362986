#pragma once
// The countdown's third way to end: waiting for the job to be done ("当"
// with "程序退出后", "无人使用电脑", "网络空闲" or "CPU 空闲"). JobWatch decides
// from what the system reports (IJobSampler) and a monotonic clock in
// seconds that the caller passes in. It asks the sampler only while a
// condition is armed, and only for what that condition needs, once a tick.
// Texts are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assistant/settings/EndAction.h"
#include "assistant/settings/JobConditionSetting.h"

namespace vt {

// The system's processor times since it started, in 100 ns units; the
// kernel time includes the idle time (as GetSystemTimes reports them).
struct CpuTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;
    std::uint64_t user = 0;
};

// A running process: its id and its executable file name.
struct RunningProcess {
    std::uint32_t id = 0;
    std::string name;
};

// What the conditions are decided from. Each answer is nothing when the
// system could not tell: an unknown is never taken for "exited" or "quiet".
class IJobSampler {
public:
    virtual ~IJobSampler() = default;
    // A look at every running process (the costly answer).
    virtual std::optional<std::vector<RunningProcess>> Processes() = 0;
    // Whether a program may have started since the last call: a new
    // top-level window appeared somewhere. The first call (after Hold or
    // Release) begins to watch for them and answers true.
    virtual bool StartHinted() = 0;
    // Keeps hold of these processes, in place of anything kept before (the
    // start hints too), so that HeldRunning can tell whether they run
    // without another look at all of them. False, and nothing held, when
    // one of them could not be held.
    virtual bool Hold(const std::vector<std::uint32_t>& ids) = 0;
    // Whether one of the held processes still runs; nothing when the system
    // could not tell.
    virtual std::optional<bool> HeldRunning() = 0;
    // Lets go of what Hold and StartHinted keep.
    virtual void Release() = 0;
    // Milliseconds since the last keyboard or mouse input.
    virtual std::optional<std::uint64_t> InputAgeMs() = 0;
    // Bytes received and sent over all network adapters but loopback, summed.
    virtual std::optional<std::uint64_t> NetworkBytes() = 0;
    virtual std::optional<CpuTimes> SystemTimes() = 0;
};

// The program drop-down's list: the names that end in ".exe", sorted and
// each once, letter case aside (the first spelling is kept).
std::vector<std::string> ProgramChoices(std::vector<std::string> names);

// Texts of the wait.
inline constexpr char kWaitingPrefix[] = "[等待中]";
inline constexpr char kNotYetRunningNote[] = "（尚未运行）";

// How long no process of the program's name must have run: a program that
// restarts itself within this counts as running on.
constexpr std::uint64_t kProgramGoneSeconds = 5;
// A program not seen yet is looked for among all processes on the tick after
// a new window appeared anywhere (most programs show one as they start), and
// at least this often for one that starts without. Once seen, its processes
// are held and checked each tick, which costs next to nothing; all of them
// are looked at again only when those have ended.
constexpr std::uint64_t kProgramLookSeconds = 30;
// The network's and the processor's counters are read this often: each
// interval's rate is the average over it (and "现在" shows the last one).
constexpr std::uint64_t kQuietSampleSeconds = 5;
// A pause between two ticks longer than this is taken as a sleep the wake
// message did not report: the measures start again, as after OnResume.
constexpr std::uint64_t kMaxWatchGapSeconds = 15;

// One armed condition, ticked once a second by the main window.
class JobWatch {
public:
    // Starts waiting at `now` (seconds of a monotonic clock) and takes the
    // first samples, so the status tells at once whether the program runs.
    // The condition must be valid (IsValid).
    void Arm(const JobCondition& condition, const IdleThresholds& thresholds, IJobSampler& sampler, std::uint64_t now);
    // Stops waiting; nothing is sampled any more, and nothing held.
    void Disarm();
    bool Armed() const { return m_bArmed; }
    const JobCondition& Condition() const { return m_condition; }

    // One tick: samples what the condition needs and decides. True on the
    // tick the condition holds; the watch is then disarmed, and the
    // countdown's last minute begins. False and no sampling while disarmed.
    bool Tick(IJobSampler& sampler, std::uint64_t now);

    // The computer woke from sleep: the time asleep is neither idle nor
    // quiet time, so those measures start again at `now`.
    void OnResume(std::uint64_t now);

    // "[等待中]Thunder.exe 退出后关机", "[等待中]无人使用电脑30分钟后重启（已空闲12分钟）",
    // "[等待中]网络空闲5分钟后关机（现在 35 KB/s）", "[等待中]CPU 空闲5分钟后关机（现在 12 %）";
    // a program not seen yet adds "（尚未运行）".
    std::string StatusText(EndAction action) const;
    // The one-minute warning once the condition held, the reason first:
    // "Thunder.exe 已退出，还有1分钟电脑就要关机啦～…".
    // Why the last minute began: "Thunder.exe 已退出", "网络已空闲5分钟".
    std::string Reason() const;
    std::string WarningText(EndAction action) const;

    // The program's name as the texts show it: as the system lists it once
    // seen, before that as typed (".exe" added to a name without a dot).
    const std::string& ProgramShown() const { return m_programShown; }

private:
    void RestartMeasures(std::uint64_t now);
    void TakeSample(IJobSampler& sampler, std::uint64_t now);
    void SampleProgram(IJobSampler& sampler, std::uint64_t now);
    void LookForProgram(IJobSampler& sampler, std::uint64_t now);
    void ReleaseKept();
    void SampleInput(IJobSampler& sampler, std::uint64_t now);
    void SampleNetwork(IJobSampler& sampler, std::uint64_t now);
    void SampleCpu(IJobSampler& sampler, std::uint64_t now);
    // One interval of the counters, begun at intervalStart: quiet or not.
    void NoteInterval(bool quiet, std::uint64_t reading, std::uint64_t intervalStart);
    void RestartQuiet();
    bool Holds(std::uint64_t now) const;
    std::uint64_t NeededSeconds() const { return std::uint64_t{m_condition.minutes} * 60; }

    JobCondition m_condition;
    IdleThresholds m_thresholds;
    bool m_bArmed = false;
    std::uint64_t m_nLastTick = 0;

    // The program: the last moment it ran, or might have (unknown).
    std::string m_programShown;
    bool m_bProgramSeen = false;
    bool m_bProgramKnown = false;  // the last snapshot worked
    std::uint64_t m_nProgramLastRunning = 0;
    std::uint64_t m_nNextLook = 0;     // while not seen: the next look at all processes
    IJobSampler* m_pKeeper = nullptr;  // keeps the program's processes or the start hints
    bool m_bHolding = false;           // the program's processes are held

    // Idle and quiet measures count from here at the earliest.
    std::uint64_t m_nMeasureStart = 0;
    std::optional<std::uint64_t> m_idleSeconds;  // last input's age, bounded by the measure

    // Counters (bytes, or CPU times): the last sample, and since when every
    // interval stayed below the threshold.
    std::optional<std::uint64_t> m_prevBytes;
    std::optional<CpuTimes> m_prevTimes;
    std::uint64_t m_nPrevAt = 0;
    std::optional<std::uint64_t> m_quietSince;
    std::optional<std::uint64_t> m_reading;  // KB/s or percent of the last interval
};

}  // namespace vt
