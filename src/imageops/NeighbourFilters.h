#pragma once

#include "surface/RasterTarget.h"

namespace nt {

// Filters that compute each pixel from its neighbourhood in the picture as it was before
// the run (never from their own output).

// Pixels x = 1 .. W-2, y = 1 .. H-2 become the 3 x 3 mean, near(sum / 9), per channel;
// the outermost ring is left unchanged, and so is a picture narrower or lower than 3.
void BlurImage(RasterTarget& t);

// Pixels x = 1 .. W-2, y = 1 .. H-2: v = near((cur - prev) * k + cur) per channel, prev
// being the upper-left neighbour, clamped to 0..255. A factor that is not finite changes
// nothing.
void SharpenImage(RasterTarget& t, float k);

// Every pixel (x, y) is written to (near(x + cos y), near(y + sin x)); targets outside are
// dropped, targets no source hits keep their colour, and where several sources hit one
// target the last in column-major order (x outer, y inner) wins.
void WavePixels(RasterTarget& t);

}  // namespace nt
