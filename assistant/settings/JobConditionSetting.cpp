#include "assistant/settings/JobConditionSetting.h"

namespace vt {
namespace {

bool InRange(std::uint32_t value, std::uint32_t low, std::uint32_t high) { return value >= low && value <= high; }

}  // namespace

const char* JobConditionKindName(JobConditionKind kind) {
    switch (kind) {
    case JobConditionKind::ProgramExit:
        return "程序退出后";
    case JobConditionKind::UserIdle:
        return "无人使用电脑";
    case JobConditionKind::NetworkIdle:
        return "网络空闲";
    case JobConditionKind::CpuIdle:
        return "CPU 空闲";
    }
    return "";
}

std::optional<JobConditionKind> JobConditionKindFromValue(std::uint32_t value) {
    for (JobConditionKind kind : kJobConditionKinds)
        if (static_cast<std::uint32_t>(kind) == value) return kind;
    return std::nullopt;
}

std::uint32_t DefaultJobMinutes(JobConditionKind kind) { return kind == JobConditionKind::UserIdle ? 30 : 5; }

std::string ProgramFileName(const std::string& typed) {
    const char* const blanks = " \t\r\n\"";
    const std::size_t first = typed.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    std::string name = typed.substr(first, typed.find_last_not_of(blanks) - first + 1);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    return name;
}

bool IsValid(const JobCondition& condition) {
    if (condition.kind == JobConditionKind::ProgramExit) return !ProgramFileName(condition.program).empty();
    return InRange(condition.minutes, kMinJobMinutes, kMaxJobMinutes);
}

JobCondition JobConditionFromStored(std::uint32_t kind, const std::string& program, std::uint32_t minutes) {
    JobCondition condition;
    condition.kind = JobConditionKindFromValue(kind).value_or(JobConditionKind::ProgramExit);
    condition.program = program;
    condition.minutes = InRange(minutes, kMinJobMinutes, kMaxJobMinutes) ? minutes : DefaultJobMinutes(condition.kind);
    return condition;
}

IdleThresholds IdleThresholdsFromStored(std::uint32_t networkKBps, std::uint32_t cpuPercent) {
    IdleThresholds thresholds;
    if (ValidNetworkKBps(networkKBps)) thresholds.networkKBps = networkKBps;
    if (ValidCpuPercent(cpuPercent)) thresholds.cpuPercent = cpuPercent;
    return thresholds;
}

}  // namespace vt
