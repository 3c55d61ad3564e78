#pragma once

#include <cstdint>

#include "surface/Colour.h"

namespace nt {

// The conversions between a 24-bit BMP row (B, G, R bytes) and 0xAARRGGBB words that every
// uncompressed 24-bit file goes through, on the processor's byte shuffles where it has them.
// Neither reads nor writes a byte beyond the `width` pixels of its row.

// Opaque pixels from `width` B, G, R triples.
void bgrToPixels(const std::uint8_t* src, Pixel* dst, std::int64_t width);
// B, G, R triples of `width` pixels; their alpha bytes are dropped.
void pixelsToBgr(const Pixel* src, std::uint8_t* dst, std::int64_t width);

}  // namespace nt
