#include "assistant/mainwnd/VolumeMath.h"

#include <algorithm>

namespace vt {

namespace {

// The single-precision constants, written exactly. Every product and
// difference below then needs fewer than 53 significant bits, so double
// arithmetic and the x87's extended registers (i686 builds) both hold the
// exact value, and the truncation sees the same number on every build.
// Doing the sums in single precision would not: position 0 would give
// 65535 and level 39321 position 39.
constexpr double kC1 = 0x1.0001p-16;   // 1.5259022e-05f
constexpr double kC2 = 0x1.47ae14p-7;  // 0.0099999998f

constexpr float kC1Float = 1.5259022e-05f;
constexpr float kC2Float = 0.0099999998f;
static_assert(static_cast<double>(kC1Float) == kC1, "c1 must be the float nearest 1/65535");
static_assert(static_cast<double>(kC2Float) == kC2, "c2 must be the float nearest 0.01");

}  // namespace

int PositionFromLevel(std::uint32_t level) {
    const double m = std::min<std::uint32_t>(level, 65535);
    return static_cast<int>(100.0 - m * kC1 * 100.0);
}

std::uint32_t LevelFromPosition(int position) {
    const double p = std::clamp(position, kSliderMin, kSliderMax);
    return static_cast<std::uint32_t>((100.0 - p) * kC2 * 65535.0);
}

}  // namespace vt
