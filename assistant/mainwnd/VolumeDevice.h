#pragma once
// The volume of the first wave-output device, and how its value is laid
// out: left level in the low 16 bits, right level in the high 16 bits,
// each from 0 (silent) to 65535 (full).
#include <algorithm>
#include <cstdint>

namespace vt {

class IVolumeDevice {
public:
    virtual ~IVolumeDevice() = default;
    // False when there is no device or it cannot be read.
    virtual bool GetVolume(std::uint32_t& value) = 0;
    // Failures are ignored: without a device nothing is heard anyway.
    virtual void SetVolume(std::uint32_t value) = 0;
};

inline std::uint32_t LeftLevel(std::uint32_t volume) { return volume & 0xFFFF; }
inline std::uint32_t RightLevel(std::uint32_t volume) { return volume >> 16; }
inline std::uint32_t LouderLevel(std::uint32_t volume) { return std::max(LeftLevel(volume), RightLevel(volume)); }
// Both channels at one level (0..65535).
inline std::uint32_t BothChannels(std::uint32_t level) { return level + level * 65536; }

// The device's volume, 0 when it cannot be read.
inline std::uint32_t ReadVolume(IVolumeDevice& device) {
    std::uint32_t value = 0;
    if (!device.GetVolume(value)) value = 0;
    return value;
}

}  // namespace vt
