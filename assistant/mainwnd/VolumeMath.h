#pragma once
// Slider position (0 at the top = loud .. 100 at the bottom = silent) and
// channel level (0..65535) of the volume popup.
#include <cstdint>

namespace vt {

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 100;

// trunc(100 - level * c1 * 100), c1 the single-precision 1/65535.
// Levels above 65535 count as 65535.
int PositionFromLevel(std::uint32_t level);

// trunc((100 - position) * c2 * 65535), c2 the single-precision 0.01, so
// the top gives 65534, not 65535. Positions outside 0..100 are brought in.
std::uint32_t LevelFromPosition(int position);

}  // namespace vt
