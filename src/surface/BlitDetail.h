#pragma once

// Building blocks shared by the blit source files and their tests.

#include <cstdint>
#include <initializer_list>
#include <utility>

#include <QImage>

#include "surface/RasterTarget.h"
#include "surface/Rounding.h"

namespace nt::blit {

// Requests beyond this magnitude are refused: coordinates are clamped to kCoordLimit when
// they become integers, so nothing real exceeds it, and every index product below stays
// well inside 64 bits.
inline bool withinLimits(std::initializer_list<std::int64_t> values) {
    for (std::int64_t v : values) {
        if (v > kCoordLimit || v < -kCoordLimit) return false;
    }
    return true;
}

// The source of a blit as RGB32 words. Other formats are converted once. A source whose
// memory overlaps the destination is copied first, unless the caller handles overlap
// itself and the two share one row layout (then rows may be moved in a safe order).
class SourceImage {
  public:
    enum class Overlap { Copy, AllowSameLayout };
    SourceImage(const QImage& src, const RasterTarget& dst, Overlap overlap);

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const Pixel* row(int y) const {
        return reinterpret_cast<const Pixel*>(image_.constScanLine(y));
    }

  private:
    QImage image_;
};

// Inclusive range of pixels along one axis; empty when lo > hi.
struct PixelRange {
    int lo = 0;
    int hi = -1;
    bool empty() const { return lo > hi; }
    int size() const { return empty() ? 0 : hi - lo + 1; }
};

// One axis of a scaled copy. Extents are signed and non-zero: a negative one mirrors and
// covers origin - |extent| + 1 .. origin. Index i counts destination pixels outward from
// the destination origin, index j source pixels from the source origin; destination pixel
// i spans source indices [i * S / D, (i + 1) * S / D) with S and D the two lengths.
struct StretchAxis {
    std::int64_t dstOrigin = 0, dstExtent = 1;
    std::int64_t srcOrigin = 0, srcExtent = 1;
    int dstSize = 0, srcSize = 0;

    std::int64_t dstLength() const { return dstExtent < 0 ? -dstExtent : dstExtent; }
    std::int64_t srcLength() const { return srcExtent < 0 ? -srcExtent : srcExtent; }
    std::int64_t indexOf(std::int64_t dstPixel) const {
        return dstExtent > 0 ? dstPixel - dstOrigin : dstOrigin - dstPixel;
    }
    std::int64_t srcPixel(std::int64_t j) const {
        return srcExtent > 0 ? srcOrigin + j : srcOrigin - j;
    }
    // Source indices whose pixels lie inside the source image (may be empty).
    std::pair<std::int64_t, std::int64_t> srcIndexRange() const {
        if (srcExtent > 0) return {-srcOrigin, srcSize - 1 - srcOrigin};
        return {srcOrigin - (srcSize - 1), srcOrigin};
    }
    // Which whole source pixel a copy without averaging shows: the one under the
    // footprint's centre, or as GDI's COLORONCOLOR picks: growing, the pixel under the
    // centre with exact ties to the lower one; shrinking, of the source pixels whose centres
    // map into the destination pixel, the first (rows) or the last (columns).
    enum class Pick { Centre, GdiFirst, GdiLast } pick = Pick::Centre;

    // The source index sampled by destination index i.
    std::int64_t nearestIndex(std::int64_t i) const {
        const std::int64_t S = srcLength(), D = dstLength();
        if (pick == Pick::Centre) return (2 * i + 1) * S / (2 * D);
        if (S <= D) return ((2 * i + 1) * S - 1) / (2 * D);
        if (pick == Pick::GdiLast) return (2 * S * (i + 1) + D) / (2 * D) - 1;
        return (2 * S * i + D) / (2 * D);
    }
    // The destination pixels inside the destination whose sample lies inside the source.
    PixelRange visible() const;
};

// Area-averaging stretch (both axes already validated).
void halftoneStretch(RasterTarget& t, const SourceImage& src, const StretchAxis& ax,
                     const StretchAxis& ay);

}  // namespace nt::blit
