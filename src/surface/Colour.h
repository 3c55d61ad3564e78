#pragma once

#include <cstdint>

namespace nt {

// A colour as it crosses every API of the program: 0x00BBGGRR, red in the low byte.
// Values with the high bit set are system-colour references (see SystemColours.h).
using Colour = std::uint32_t;

// What a pixel read outside a surface returns (-1 as a 32-bit value).
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Surfaces store pixels as QImage::Format_RGB32 words (0xFFRRGGBB).
using Pixel = std::uint32_t;

constexpr Pixel toPixel(Colour c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour fromPixel(Pixel p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

}  // namespace nt
