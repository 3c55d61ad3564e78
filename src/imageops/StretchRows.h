#pragma once

#include <cstddef>

#include <QImage>

#include "surface/Blit.h"
#include "surface/Colour.h"

namespace nt {

// Rows y0 .. y1-1 of `picture` stretched over a whole w x h picture, written to `out`
// (y1 - y0 rows, `bytesPerLine` apart). The stretch weighs each destination pixel by its
// own footprint only, so any split of the rows gives the picture one call would give:
// this lets two threads share a stretch, and a compositor work in small slices.
inline void stretchRows(Pixel* out, std::ptrdiff_t bytesPerLine, int w, int h, int y0, int y1,
                        const QImage& picture, StretchMode mode) {
    QImage slice(reinterpret_cast<uchar*>(out), w, y1 - y0, bytesPerLine, QImage::Format_RGB32);
    RasterTarget target(slice, nullptr);
    stretchRect(target, 0, -y0, w, h, picture, 0, 0, picture.width(), picture.height(), mode);
}

}  // namespace nt
