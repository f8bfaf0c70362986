#pragma once
// What the settings keep of the countdown's third way to end ("当"): the
// condition's kind with its program or minutes, and the two thresholds of
// the quiet conditions, with their ranges and defaults. The watch that
// decides them is JobWatch (assistant/mainwnd/JobCondition.h). Texts are UTF-8.
#include <cstdint>
#include <optional>
#include <string>

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

}  // namespace vt
