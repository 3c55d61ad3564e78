#include "surface/Blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "surface/BlitDetail.h"

namespace nt {

namespace blit {

namespace {

bool sharesMemory(const QImage& image, const RasterTarget& t) {
    if (t.width() <= 0 || t.height() <= 0 || image.isNull()) return false;
    const auto srcLo = reinterpret_cast<std::uintptr_t>(image.constBits());
    const auto srcHi = srcLo + static_cast<std::uintptr_t>(image.sizeInBytes());
    const auto dstLo = reinterpret_cast<std::uintptr_t>(t.row(0));
    const auto dstHi = reinterpret_cast<std::uintptr_t>(t.row(t.height() - 1) + t.width());
    return srcLo < dstHi && dstLo < srcHi;
}

bool sameLayout(const QImage& image, const RasterTarget& t) {
    return t.height() < 2 || image.bytesPerLine() == reinterpret_cast<const char*>(t.row(1)) -
                                                         reinterpret_cast<const char*>(t.row(0));
}

}  // namespace

SourceImage::SourceImage(const QImage& src, const RasterTarget& dst, Overlap overlap) {
    if (src.isNull()) return;
    image_ = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    if (!sharesMemory(image_, dst)) return;
    if (overlap == Overlap::AllowSameLayout && sameLayout(image_, dst)) return;
    image_ = image_.copy();  // a detached deep copy, read while the target is written
}

PixelRange StretchAxis::visible() const {
    const std::int64_t len = dstLength();
    const std::int64_t low = dstExtent > 0 ? dstOrigin : dstOrigin - len + 1;
    std::int64_t lo = std::max<std::int64_t>(low, 0);
    std::int64_t hi = std::min<std::int64_t>(low + len - 1, dstSize - 1);
    // The sample moves monotonically with the destination pixel, so the pixels sampling
    // inside the source form one range: trim both ends.
    const auto sources = srcIndexRange();
    auto inside = [&](std::int64_t d) {
        const std::int64_t j = nearestIndex(indexOf(d));
        return j >= sources.first && j <= sources.second;
    };
    while (lo <= hi && !inside(lo)) ++lo;
    while (hi >= lo && !inside(hi)) --hi;
    if (lo > hi) return {};
    return {static_cast<int>(lo), static_cast<int>(hi)};
}

}  // namespace blit

namespace {

struct CopySpan {
    std::int64_t dst = 0, src = 0, length = 0;
};

// The part of a copy along one axis that lies inside both images.
std::optional<CopySpan> clipCopy(std::int64_t d, std::int64_t s, std::int64_t n, int dstSize,
                                 int srcSize) {
    const std::int64_t lo = std::max({std::int64_t{0}, -d, -s});
    const std::int64_t hi = std::min({n, dstSize - d, srcSize - s});
    if (hi <= lo) return std::nullopt;
    return CopySpan{d + lo, s + lo, hi - lo};
}

}  // namespace

void copyRect(RasterTarget& t, std::int64_t dx, std::int64_t dy, std::int64_t w, std::int64_t h,
              const QImage& src, std::int64_t sx, std::int64_t sy) {
    if (w <= 0 || h <= 0 || !blit::withinLimits({dx, dy, w, h, sx, sy})) return;
    const blit::SourceImage s(src, t, blit::SourceImage::Overlap::AllowSameLayout);
    if (s.isNull()) return;
    const auto cx = clipCopy(dx, sx, w, t.width(), s.width());
    const auto cy = clipCopy(dy, sy, h, t.height(), s.height());
    if (!cx || !cy) return;
    const int x0 = static_cast<int>(cx->dst);
    const int x1 = static_cast<int>(cx->dst + cx->length - 1);
    const auto bytes = static_cast<std::size_t>(cx->length) * sizeof(Pixel);
    auto copyRow = [&](std::int64_t r) {
        const int y = static_cast<int>(cy->dst + r);
        std::memmove(t.row(y) + x0, s.row(static_cast<int>(cy->src + r)) + cx->src, bytes);
        t.mark(y, x0, x1);
    };
    // With one buffer behind both, rows are moved away from the overlap first, like memmove.
    const bool downwards = reinterpret_cast<std::uintptr_t>(t.row(static_cast<int>(cy->dst))) >
                           reinterpret_cast<std::uintptr_t>(s.row(static_cast<int>(cy->src)));
    if (downwards) {
        for (std::int64_t r = cy->length - 1; r >= 0; --r) copyRow(r);
    } else {
        for (std::int64_t r = 0; r < cy->length; ++r) copyRow(r);
    }
}

namespace {

// One channel of the gradient at position p, from colour a at lo to colour b at hi; the
// channels carry 8 fractional bits.
std::uint32_t gradientChannel(std::int64_t a, std::int64_t b, std::int64_t lo, std::int64_t hi,
                              std::int64_t p) {
    return static_cast<std::uint32_t>((a * (hi - p) + b * (p - lo)) / (hi - lo) / 256);
}

Pixel gradientPixel(const GradientVertex& a, const GradientVertex& b, std::int64_t lo,
                    std::int64_t hi, std::int64_t p) {
    return 0xFF000000u | gradientChannel(a.red, b.red, lo, hi, p) << 16 |
           gradientChannel(a.green, b.green, lo, hi, p) << 8 |
           gradientChannel(a.blue, b.blue, lo, hi, p);
}

}  // namespace

void gradientRect(RasterTarget& t, const GradientVertex& a, const GradientVertex& b,
                  bool vertical) {
    const std::int64_t left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const std::int64_t top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(right, t.width());  // exclusive
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(bottom, t.height());
    if (x0 >= x1 || y0 >= y1) return;
    // Each colour stays with its vertex, whichever side of the rectangle that vertex is on.
    const bool aFirst = vertical ? a.y <= b.y : a.x <= b.x;
    const GradientVertex& low = aFirst ? a : b;
    const GradientVertex& high = aFirst ? b : a;
    if (vertical) {
        for (std::int64_t y = y0; y < y1; ++y)
            t.span(y, x0, x1 - 1, gradientPixel(low, high, top, bottom, y));
        return;
    }
    std::vector<Pixel> line(static_cast<std::size_t>(x1 - x0));
    for (std::int64_t x = x0; x < x1; ++x)
        line[static_cast<std::size_t>(x - x0)] = gradientPixel(low, high, left, right, x);
    for (std::int64_t y = y0; y < y1; ++y) {
        std::memcpy(t.row(static_cast<int>(y)) + x0, line.data(), line.size() * sizeof(Pixel));
        t.mark(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1 - 1));
    }
}

}  // namespace nt
