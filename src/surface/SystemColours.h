#pragma once

#include <optional>

#include "surface/Colour.h"

namespace nt {

inline constexpr Colour kSysButtonFace = 0x8000000Fu;
inline constexpr Colour kSysButtonShadow = 0x80000010u;
inline constexpr Colour kSysWindow = 0x80000005u;

// Translates a colour value to plain RGB: plain values pass through, system references
// (0x80000000 | index, index 0..30) come from the application palette; anything else fails.
std::optional<Colour> translateColour(Colour c);

// Plain RGB for drawing: a value that does not translate draws black.
inline Colour plainColour(Colour c) {
    return translateColour(c).value_or(0);
}

}  // namespace nt
