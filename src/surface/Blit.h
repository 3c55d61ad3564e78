#pragma once

#include <cstdint>

#include <QImage>

#include "surface/RasterTarget.h"

namespace nt {

// Bulk raster operations between images. Rectangles are clipped to both images; whatever
// falls outside is left alone; degenerate or wholly outside requests do nothing.

// Copy w x h from src at (sx, sy) to dst at (dx, dy). src may be the image behind dst
// (overlap behaves as if copied through a buffer).
void copyRect(RasterTarget& dst, std::int64_t dx, std::int64_t dy, std::int64_t w, std::int64_t h,
              const QImage& src, std::int64_t sx, std::int64_t sy);

enum class StretchMode { Nearest, Halftone, ColourOnColour };

// Scaled copy of the source rectangle (sx, sy, sw, sh) onto (dx, dy, dw, dh). A negative
// extent mirrors along that axis and covers origin - |extent| + 1 .. origin. Halftone is
// area averaging (every source pixel weighted by the area it covers); Nearest samples the
// footprint's centre; ColourOnColour keeps whole source pixels as GDI's mode of that name.
void stretchRect(RasterTarget& dst, std::int64_t dx, std::int64_t dy, std::int64_t dw,
                 std::int64_t dh, const QImage& src, std::int64_t sx, std::int64_t sy,
                 std::int64_t sw, std::int64_t sh, StretchMode mode);

// Like stretchRect (nearest sampling) but source pixels of exactly the key colour are skipped.
void transparentRect(RasterTarget& dst, std::int64_t dx, std::int64_t dy, std::int64_t dw,
                     std::int64_t dh, const QImage& src, std::int64_t sx, std::int64_t sy,
                     std::int64_t sw, std::int64_t sh, Pixel key);

struct GradientVertex {
    std::int32_t x = 0, y = 0;
    std::uint16_t red = 0, green = 0, blue = 0, alpha = 0;  // channel c stored as c * 256
};

// Two-vertex rectangle gradient over [min, max) on both axes; horizontal varies along x.
// Each channel is ((A*(hi-p) + B*(p-lo)) / (hi-lo)) / 256 with integer division, the
// colours following their vertices.
void gradientRect(RasterTarget& dst, const GradientVertex& a, const GradientVertex& b,
                  bool vertical);

// Flood fill from (x, y) over the 4-connected area of exactly the start pixel's colour
// (`surface`), painted with the brush. No recursion and no per-pixel allocation; a brush
// that repaints the same colour still terminates.
// A start outside the target, or a hollow brush, does nothing.
void floodFillSurface(RasterTarget& t, std::int64_t x, std::int64_t y, Pixel surface,
                      const Brush& brush);

}  // namespace nt
