#pragma once
// A wave-output device for tests: remembers what was set, or is absent.
#include <cstdint>
#include <vector>

#include "assistant/mainwnd/VolumeDevice.h"

namespace vt::test {

struct FakeVolumeDevice : IVolumeDevice {
    bool present = true;
    std::uint32_t volume = 0;
    std::vector<std::uint32_t> sets;
    int reads = 0;

    bool GetVolume(std::uint32_t& value) override {
        ++reads;
        if (!present) {
            value = 0xDEADBEEF;  // a failed read must not be taken for a volume
            return false;
        }
        value = volume;
        return true;
    }
    void SetVolume(std::uint32_t value) override {
        sets.push_back(value);
        if (present) volume = value;
    }
};

}  // namespace vt::test
