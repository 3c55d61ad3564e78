#pragma once

#include <cstdint>

#include <QImage>

#include "surface/RasterTarget.h"

namespace nt {

// Mirrors the whole picture: mode 0 left-right (pixel (x, y) takes (W-1-x, y)), mode 1
// top-bottom ((x, H-1-y)), any other mode both ((W-1-x, H-1-y)).
void FlipCanvas(RasterTarget& t, std::int16_t mode);

// Columns 0 .. (W-1)/2 are copied to their mirror columns W-1-x; the left half is kept.
void MirrorHalf(RasterTarget& t);

// The picture resampled to width x height by area averaging (the halftone stretch).
// Throws SurfaceSizeError, before allocating, for a size the project does not allow.
QImage StretchImage(const QImage& picture, int width, int height);

}  // namespace nt
