#pragma once
// A stand-in for what the system reports to the countdown's conditions: the
// test sets each answer before a tick (nothing for "could not tell") and
// sees how often each was asked for.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "assistant/mainwnd/JobCondition.h"

namespace vt::test {

class FakeJobSampler : public IJobSampler {
public:
    std::optional<std::vector<std::string>> ProcessNames() override {
        ++asked;
        return processes;
    }
    std::optional<std::uint64_t> InputAgeMs() override {
        ++asked;
        return inputAgeMs;
    }
    std::optional<std::uint64_t> NetworkBytes() override {
        ++asked;
        return networkBytes;
    }
    std::optional<CpuTimes> SystemTimes() override {
        ++asked;
        return cpuTimes;
    }

    void Running(std::vector<std::string> names) { processes = std::move(names); }

    std::optional<std::vector<std::string>> processes = std::vector<std::string>{};
    std::optional<std::uint64_t> inputAgeMs = 0;
    std::optional<std::uint64_t> networkBytes = 0;
    std::optional<CpuTimes> cpuTimes = CpuTimes{};
    int asked = 0;  // answers given, of any kind
};

}  // namespace vt::test
