#include "imageops/Geometry.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "imageops/Bands.h"
#include "imageops/Marking.h"
#include "imageops/Simd.h"
#include "imageops/StretchRows.h"
#include "surface/Blit.h"
#include "surface/Limits.h"

namespace nt {

namespace {

using simd::U32x4;

// From a copy of the row (in cache), written front to back, so that the picture is read and
// written as one forward stream rather than from both ends of every row.
void reverseRow(Pixel* row, int w, Pixel* copy) {
    std::memcpy(copy, row, static_cast<std::size_t>(w) * sizeof(Pixel));
    int x = 0;
    for (; x + simd::kLanes <= w; x += simd::kLanes)
        simd::store(row + x, simd::reversed(simd::load<U32x4>(copy + w - x - simd::kLanes)));
    for (; x < w; ++x) row[x] = copy[w - 1 - x];
}

void swapRows(Pixel* a, Pixel* b, int w) {
    int x = 0;
    for (; x + simd::kLanes <= w; x += simd::kLanes) {
        const U32x4 fromA = simd::load<U32x4>(a + x);
        simd::store(a + x, simd::load<U32x4>(b + x));
        simd::store(b + x, fromA);
    }
    std::swap_ranges(a + x, a + w, b + x);
}

// Row a takes row b reversed and row b takes row a reversed, in one pass.
void swapReversed(Pixel* a, Pixel* b, int w) {
    int x = 0;
    for (; x + simd::kLanes <= w; x += simd::kLanes) {
        Pixel* mirror = b + w - x - simd::kLanes;
        const U32x4 fromA = simd::load<U32x4>(a + x);
        simd::store(a + x, simd::reversed(simd::load<U32x4>(mirror)));
        simd::store(mirror, simd::reversed(fromA));
    }
    for (; x < w; ++x) std::swap(a[x], b[w - 1 - x]);
}

// Columns 0 .. last go to w-1 .. w-1-last, written front to back from a copy of the left
// half (see reverseRow). The only column both read and written, the middle of an odd
// width, is its own mirror.
void mirrorRow(Pixel* row, int w, int last, Pixel* copy) {
    const int n = last + 1;
    std::memcpy(copy, row, static_cast<std::size_t>(n) * sizeof(Pixel));
    Pixel* right = row + (w - n);  // right[i] takes copy[n - 1 - i]
    int i = 0;
    for (; i + simd::kLanes <= n; i += simd::kLanes)
        simd::store(right + i, simd::reversed(simd::load<U32x4>(copy + n - i - simd::kLanes)));
    for (; i < n; ++i) right[i] = copy[n - 1 - i];
}

}  // namespace

void FlipCanvas(RasterTarget& t, std::int16_t mode) {
    const int w = t.width();
    const int h = t.height();
    if (w <= 0 || h <= 0) return;
    const std::int64_t pixels = std::int64_t{w} * h;
    // Row y pairs with row H-1-y (the middle row of an odd height with itself) unless only
    // the columns are mirrored.
    const auto bands = splitRows(0, mode == 0 ? h : (h + 1) / 2, pixels);
    std::vector<std::vector<Pixel>> copies(bands.size(),
                                           std::vector<Pixel>(static_cast<std::size_t>(w)));
    runBands(bands, [&](std::size_t i, RowBand band) {
        for (int y = band.begin; y < band.end; ++y) {
            Pixel* a = t.row(y);
            Pixel* b = t.row(h - 1 - y);
            if (mode == 1) {
                if (a != b) swapRows(a, b, w);
            } else if (mode == 0 || a == b) {
                reverseRow(a, w, copies[i].data());
            } else {
                swapReversed(a, b, w);
            }
        }
    });
    markAll(t);
}

void MirrorHalf(RasterTarget& t) {
    const int w = t.width();
    const int h = t.height();
    if (w <= 1 || h <= 0) return;
    const int last = (w - 1) / 2;
    const auto bands = splitRows(0, h, std::int64_t{w} * h);
    std::vector<std::vector<Pixel>> copies(bands.size(),
                                           std::vector<Pixel>(static_cast<std::size_t>(last + 1)));
    runBands(bands, [&](std::size_t i, RowBand band) {
        for (int y = band.begin; y < band.end; ++y) mirrorRow(t.row(y), w, last, copies[i].data());
    });
    markRect(t, w - 1 - last, 0, w - 1, h - 1);
}

QImage StretchImage(const QImage& picture, int width, int height) {
    if (auto refused = checkSurfaceSize(width, height)) throw SurfaceSizeError(*refused);
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) throw std::bad_alloc();
    if (picture.isNull()) {
        out.fill(Qt::white);
        return out;
    }
    const QImage source = picture.format() == QImage::Format_RGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    auto* bits = reinterpret_cast<Pixel*>(out.bits());
    const std::ptrdiff_t stride = out.bytesPerLine();
    runBands(
        splitRows(0, height,
                  std::int64_t{width} * height + std::int64_t{source.width()} * source.height()),
        [&](std::size_t, RowBand band) {
            stretchRows(bits + band.begin * (stride / 4), stride, width, height, band.begin,
                        band.end, source, StretchMode::Halftone);
        });
    return out;
}

}  // namespace nt
