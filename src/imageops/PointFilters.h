#pragma once

#include <cstdint>

#include "surface/RasterTarget.h"

namespace nt {

// Filters that compute each pixel from that pixel alone; they cover the whole picture.

// Each channel c becomes 255 - c.
void InvertColors(RasterTarget& t);

// Every channel becomes (red + green + blue) / 3, truncated.
void GrayScale(RasterTarget& t);

// Channel 0 (red), 1 (green) or 2 (blue) becomes 0; any other number changes nothing.
void RemoveChannel(RasterTarget& t, std::int16_t channel);

// Each channel c becomes c + v, clamped to 0..255.
void AdjustBrightness(RasterTarget& t, std::int16_t v);

// Red + dr, green + dg, blue + db, each clamped to 0..255.
void AdjustRgb(RasterTarget& t, std::int16_t dr, std::int16_t dg, std::int16_t db);

}  // namespace nt
