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

// An edge of a filled polygon crossing a row: found, sorted and filled between (measured:
// 45-65 ns each on polygons of 2,000-10,000 edges).
inline constexpr double kWorkPerCrossing = 128;
// A pixel of a line costs as much as a dozen of a fill's, which are written a span at a time.
inline constexpr double kWorkPerLinePixel = 12;
// A step of the walk that shapes an ellipse's corner as GDI draws it (measured: 5 to 14 ns,
// a dozen pixels of a fill or more).
inline constexpr double kWorkPerCurveStep = 16;

// A clip's row or span as it is built, combined with another or copied: sorting, merging and
// allocating cost this much apiece; only walking it costs far less.
inline constexpr double kWorkPerClipSpan = 64, kWorkPerClipWalk = 4;

}  // namespace nt::mf
