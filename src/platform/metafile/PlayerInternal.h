#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// What the player's drawing files share: how coordinates become pixels, and what work costs
// besides the pixels it touches.

namespace nt::mf {

// Coordinates are clamped here before rounding: far outside any picture, inside int64.
inline constexpr double kFar = 1e9;

inline std::int64_t toPixel(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<std::int64_t>(std::llround(std::clamp(v, -kFar, kFar)));
}

// What a stroked segment and a filled polygon's corner cost besides their pixels: setting up
// the pen's ends, sorting the edges.
inline constexpr double kWorkPerSegment = 256, kWorkPerPoint = 32;

}  // namespace nt::mf
