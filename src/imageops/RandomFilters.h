#pragma once

#include <cstdint>

#include "imageops/Random.h"
#include "surface/RasterTarget.h"

namespace nt {

// Filters driven by the shared generator. Draws are assigned in the defined visiting order
// (x outer, y inner, both ascending) over the pixels the filter covers, so the picture and
// the generator's state afterwards are exactly those of drawing one number at a time in
// that order, whatever order the work is done in.

// Every pixel, three draws (red, green, blue): v = near(c + (s * r - a)) with s = 2a + 1,
// clamped to 0..255. s is computed in 32 bits; the commands accept only amounts whose s
// fits 16 bits (checkNoiseAmount).
void AddNoise(RasterTarget& t, std::int16_t amount, UniformRandom& random);

// Pixels x = 2 .. W-3, y = 2 .. H-3, one draw each: with d = 2r - 2 the pixel takes the
// colour of (near(x + d), near(y + d)). Pictures narrower or lower than 5 are left
// unchanged and draw nothing.
void DiffuseImage(RasterTarget& t, UniformRandom& random);

}  // namespace nt
