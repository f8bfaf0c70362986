#pragma once
// A stand-in for what the system reports to the countdown's conditions: the
// test sets each answer before a tick (nothing for "could not tell") and
// sees how often each was asked for. Each Running() starts new processes
// (new ids) in place of the ones before, which have ended.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "assistant/mainwnd/JobCondition.h"

namespace vt::test {

class FakeJobSampler : public IJobSampler {
public:
    std::optional<std::vector<RunningProcess>> Processes() override {
        ++asked;
        ++looks;
        return processes;
    }
    bool StartHinted() override {
        const bool first = !watchingStarts;
        watchingStarts = true;
        return std::exchange(windowAppeared, false) || first;
    }
    bool Hold(const std::vector<std::uint32_t>& ids) override {
        held.clear();
        watchingStarts = false;
        if (!holdable) return false;
        held = ids;
        return true;
    }
    std::optional<bool> HeldRunning() override {
        ++asked;
        if (!heldAnswers) return std::nullopt;
        return std::any_of(held.begin(), held.end(),
                           [&](std::uint32_t id) { return std::find(live.begin(), live.end(), id) != live.end(); });
    }
    void Release() override {
        held.clear();
        watchingStarts = false;
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

    void Running(const std::vector<std::string>& names) {
        processes.emplace();
        live.clear();
        for (const std::string& name : names) {
            processes->push_back({++m_nLastId, name});
            live.push_back(m_nLastId);
        }
    }

    // What a look answers; the processes that run (and can be held) even
    // while looks fail.
    std::optional<std::vector<RunningProcess>> processes = std::vector<RunningProcess>{};
    std::vector<std::uint32_t> live;
    bool holdable = true;     // false: the system does not let the processes be held
    bool heldAnswers = true;  // false: whether the held ones run cannot be told
    std::vector<std::uint32_t> held;
    bool watchingStarts = false;  // start hints are gathered
    bool windowAppeared = false;  // the hint the next StartHinted answers
    std::optional<std::uint64_t> inputAgeMs = 0;
    std::optional<std::uint64_t> networkBytes = 0;
    std::optional<CpuTimes> cpuTimes = CpuTimes{};
    int asked = 0;  // answers given, of any kind
    int looks = 0;  // looks at all processes

private:
    std::uint32_t m_nLastId = 100;
};

}  // namespace vt::test
