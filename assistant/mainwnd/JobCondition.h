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

namespace vt {

// The numbers are what the settings store keeps: never renumber. The command
// line's /when-exit NAME, /when-idle, /when-net-idle and /when-cpu-idle
// MINUTES set them in this order.
enum class JobConditionKind : std::uint32_t { ProgramExit = 0, UserIdle = 1, NetworkIdle = 2, CpuIdle = 3 };

// In the order of the drop-down.
inline constexpr JobConditionKind kJobConditionKinds[] = {JobConditionKind::ProgramExit, JobConditionKind::UserIdle,
                                                          JobConditionKind::NetworkIdle, JobConditionKind::CpuIdle};

// "程序退出后", "无人使用电脑", "网络空闲", "CPU 空闲".
const char* JobConditionKindName(JobConditionKind kind);
// A stored number; nothing for a number no kind has.
std::optional<JobConditionKind> JobConditionKindFromValue(std::uint32_t value);

// The minutes of the idle and quiet conditions.
constexpr std::uint32_t kMinJobMinutes = 1;
constexpr std::uint32_t kMaxJobMinutes = 65535;
// 30 for "无人使用电脑", 5 for the others.
std::uint32_t DefaultJobMinutes(JobConditionKind kind);

// What the form loads and the settings store keeps.
struct JobCondition {
    JobConditionKind kind = JobConditionKind::ProgramExit;
    // ProgramExit: the program as typed or chosen ("Thunder.exe", "thunder").
    std::string program;
    // The others: how long it has to stay idle or quiet.
    std::uint32_t minutes = 30;
};

// The file name a typed program comes down to: blanks and quotes around it
// and any folder in front dropped ("C:\Tools\Thunder.exe" is "Thunder.exe").
// Empty when nothing is left.
std::string ProgramFileName(const std::string& typed);

// Whether the condition can be armed: a program name, or minutes within
// kMinJobMinutes..kMaxJobMinutes.
bool IsValid(const JobCondition& condition);

// The condition from stored values: an unknown kind is ProgramExit, minutes
// out of range the kind's default.
JobCondition JobConditionFromStored(std::uint32_t kind, const std::string& program, std::uint32_t minutes);

// The settings window's "网络空闲：低于 N KB/s" and "CPU 空闲：低于 N %".
constexpr std::uint32_t kDefaultNetworkKBps = 20;
constexpr std::uint32_t kMinNetworkKBps = 1;
constexpr std::uint32_t kMaxNetworkKBps = 1048576;  // 1 GB/s
constexpr std::uint32_t kDefaultCpuPercent = 10;
constexpr std::uint32_t kMinCpuPercent = 1;
constexpr std::uint32_t kMaxCpuPercent = 99;

struct IdleThresholds {
    std::uint32_t networkKBps = kDefaultNetworkKBps;  // quiet below this many KB (1024 bytes) a second
    std::uint32_t cpuPercent = kDefaultCpuPercent;    // idle below this share of the CPU
};

inline bool ValidNetworkKBps(std::uint32_t value) { return value >= kMinNetworkKBps && value <= kMaxNetworkKBps; }
inline bool ValidCpuPercent(std::uint32_t value) { return value >= kMinCpuPercent && value <= kMaxCpuPercent; }
// Stored values; each one out of range is its default.
IdleThresholds IdleThresholdsFromStored(std::uint32_t networkKBps, std::uint32_t cpuPercent);

// The system's processor times since it started, in 100 ns units; the
// kernel time includes the idle time (as GetSystemTimes reports them).
struct CpuTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;
    std::uint64_t user = 0;
};

// What the conditions are decided from. Each answer is nothing when the
// system could not tell: an unknown is never taken for "exited" or "quiet".
class IJobSampler {
public:
    virtual ~IJobSampler() = default;
    // The executable file names of the running processes.
    virtual std::optional<std::vector<std::string>> ProcessNames() = 0;
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
// A pause between two ticks longer than this is taken as a sleep the wake
// message did not report: the measures start again, as after OnResume.
constexpr std::uint64_t kMaxTickGapSeconds = 15;

// One armed condition, ticked once a second by the main window.
class JobWatch {
public:
    // Starts waiting at `now` (seconds of a monotonic clock) and takes the
    // first samples, so the status tells at once whether the program runs.
    // The condition must be valid (IsValid).
    void Arm(const JobCondition& condition, const IdleThresholds& thresholds, IJobSampler& sampler, std::uint64_t now);
    // Stops waiting; nothing is sampled any more.
    void Disarm() { m_bArmed = false; }
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
    std::string WarningText(EndAction action) const;

    // The program's name as the texts show it: as the system lists it once
    // seen, before that as typed (".exe" added to a name without a dot).
    const std::string& ProgramShown() const { return m_programShown; }

private:
    void RestartMeasures(std::uint64_t now);
    void TakeSample(IJobSampler& sampler, std::uint64_t now);
    void SampleProgram(IJobSampler& sampler, std::uint64_t now);
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
