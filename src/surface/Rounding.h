#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace nt {

// Coordinates are clamped to this magnitude when they become integers, so that
// arithmetic on them (sums, widths, squares in 64 bits) can never overflow.
inline constexpr std::int64_t kCoordLimit = std::int64_t{1} << 30;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Non-finite input gives 0; huge input is clamped to +-kCoordLimit.
inline std::int64_t roundHalfEven64(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(kCoordLimit)) return kCoordLimit;
    if (v <= -static_cast<double>(kCoordLimit)) return -kCoordLimit;
    return static_cast<std::int64_t>(std::nearbyint(v));  // default FE_TONEAREST is half-even
}

inline int roundCoord(double v) {
    return static_cast<int>(roundHalfEven64(v));
}

// The "a \ b" division: a rounded half-even, then truncated toward zero. b == 0 gives 0.
inline int intDiv(double a, int b) {
    if (b == 0) return 0;
    return static_cast<int>(roundHalfEven64(a) / b);
}

// Clamps a 64-bit value into int range.
inline int clampToInt(std::int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace nt
