#include "imageops/Decorate.h"

#include <algorithm>
#include <vector>

#include "imageops/Bands.h"
#include "imageops/Marking.h"
#include "imageops/StretchRows.h"
#include "surface/Shapes.h"

namespace nt {

namespace {

// The widest pen reaches this far from its path, and round caps no further.
constexpr int kPenReach = 100;

// The union of rings 1 .. n at width 1: every pixel closer than n to an edge. An inverted
// ring (past the middle) only repaints rows and columns an earlier ring painted.
void fillFrameBand(RasterTarget& t, Pixel p, int n) {
    const int w = t.width();
    const int h = t.height();
    for (int y = 0; y < h; ++y) {
        if (y < n || y >= h - n) {
            t.span(y, 0, w - 1, p);
        } else {
            t.span(y, 0, n - 1, p);
            t.span(y, w - n, w - 1, p);
        }
    }
}

constexpr int kSliceRows = 32;

void layRow(Pixel* to, const Pixel* from, int w) {
    for (int x = 0; x < w; ++x) {
        const Pixel p = from[x] | 0xFF000000u;
        to[x] = p == kSeeThrough ? to[x] : p;
    }
}

}  // namespace

void DrawFrame(RasterTarget& t, const Pen& pen, int n) {
    const int w = t.width();
    const int h = t.height();
    if (n < 0 || w <= 0 || h <= 0) return;
    const int lastUseful = std::max(w, h) + kPenReach + 1;
    const int rings = std::min(n, lastUseful);
    if (pen.width <= 1 && pen.style == PenStyle::Solid) {
        // Ring 0 lies just outside the picture.
        if (rings > 0) fillFrameBand(t, pen.pixel, rings);
        return;
    }
    for (int i = 0; i <= rings; ++i) drawBoxOutline(t, pen, i - 1, i - 1, w - i, h - i);
}

void LayPicture(RasterTarget& t, const QImage& picture, StretchMode mode) {
    const int w = t.width();
    const int h = t.height();
    if (picture.isNull() || w <= 0 || h <= 0) return;
    const QImage source = picture.format() == QImage::Format_RGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    // The stretched picture is made and laid a slice at a time, so no canvas-sized scratch
    // is ever allocated.
    const auto bands = splitRows(0, h, std::int64_t{w} * h);
    std::vector<std::vector<Pixel>> slices(bands.size());
    for (auto& slice : slices) slice.resize(static_cast<std::size_t>(w) * kSliceRows);
    runBands(bands, [&](std::size_t i, RowBand band) {
        Pixel* slice = slices[i].data();
        for (int y0 = band.begin; y0 < band.end; y0 += kSliceRows) {
            const int y1 = std::min(y0 + kSliceRows, band.end);
            // Whatever the stretch does not cover stays see-through.
            std::fill(slice, slice + static_cast<std::size_t>(w) * (y1 - y0), kSeeThrough);
            stretchRows(slice, std::ptrdiff_t{w} * 4, w, h, y0, y1, source, mode);
            for (int y = y0; y < y1; ++y)
                layRow(t.row(y), slice + static_cast<std::size_t>(y - y0) * w, w);
        }
    });
    markAll(t);
}

}  // namespace nt
