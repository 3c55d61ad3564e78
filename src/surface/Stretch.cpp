#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "surface/Blit.h"
#include "surface/BlitDetail.h"

namespace nt {

namespace {

using blit::PixelRange;
using blit::SourceImage;
using blit::StretchAxis;

struct Request {
    StretchAxis x, y;
};

std::optional<Request> makeRequest(const RasterTarget& t, const SourceImage& src, std::int64_t dx,
                                   std::int64_t dy, std::int64_t dw, std::int64_t dh,
                                   std::int64_t sx, std::int64_t sy, std::int64_t sw,
                                   std::int64_t sh, StretchMode mode = StretchMode::Nearest) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || src.isNull()) return std::nullopt;
    if (!blit::withinLimits({dx, dy, dw, dh, sx, sy, sw, sh})) return std::nullopt;
    Request q{{dx, dw, sx, sw, t.width(), src.width()}, {dy, dh, sy, sh, t.height(), src.height()}};
    if (mode == StretchMode::ColourOnColour) {
        q.x.pick = StretchAxis::Pick::GdiLast;
        q.y.pick = StretchAxis::Pick::GdiFirst;
    }
    return q;
}

// For every visible destination pixel along an axis, the source pixel it samples.
struct SampleMap {
    int first = 0;
    std::vector<int> src;
    // Whether the samples are consecutive source pixels, so a row is one plain copy.
    bool consecutive() const {
        for (std::size_t k = 1; k < src.size(); ++k)
            if (src[k] != src[0] + static_cast<int>(k)) return false;
        return true;
    }
};

SampleMap sampleMap(const StretchAxis& a) {
    const PixelRange r = a.visible();
    SampleMap m;
    m.first = r.lo;
    m.src.reserve(static_cast<std::size_t>(r.size()));
    for (int d = r.lo; d <= r.hi; ++d)
        m.src.push_back(static_cast<int>(a.srcPixel(a.nearestIndex(a.indexOf(d)))));
    return m;
}

void nearestStretch(RasterTarget& t, const SourceImage& src, const Request& q) {
    const SampleMap xs = sampleMap(q.x), ys = sampleMap(q.y);
    if (xs.src.empty() || ys.src.empty()) return;
    const int n = static_cast<int>(xs.src.size());
    const bool plainCopy = xs.consecutive();
    for (std::size_t r = 0; r < ys.src.size(); ++r) {
        const int y = ys.first + static_cast<int>(r);
        const Pixel* s = src.row(ys.src[r]);
        Pixel* d = t.row(y) + xs.first;
        if (plainCopy) {
            std::memcpy(d, s + xs.src[0], static_cast<std::size_t>(n) * sizeof(Pixel));
        } else {
            for (int k = 0; k < n; ++k) d[k] = s[xs.src[static_cast<std::size_t>(k)]];
        }
        t.mark(y, xs.first, xs.first + n - 1);
    }
}

}  // namespace

void stretchRect(RasterTarget& t, std::int64_t dx, std::int64_t dy, std::int64_t dw,
                 std::int64_t dh, const QImage& src, std::int64_t sx, std::int64_t sy,
                 std::int64_t sw, std::int64_t sh, StretchMode mode) {
    const SourceImage s(src, t, SourceImage::Overlap::Copy);
    const auto q = makeRequest(t, s, dx, dy, dw, dh, sx, sy, sw, sh, mode);
    if (!q) return;
    // Without a change of scale every footprint is one whole source pixel: averaging
    // would return the samples themselves.
    const bool unscaled =
        q->x.dstLength() == q->x.srcLength() && q->y.dstLength() == q->y.srcLength();
    if (mode == StretchMode::Halftone && !unscaled) {
        blit::halftoneStretch(t, s, q->x, q->y);
    } else {
        nearestStretch(t, s, *q);
    }
}

void transparentRect(RasterTarget& t, std::int64_t dx, std::int64_t dy, std::int64_t dw,
                     std::int64_t dh, const QImage& src, std::int64_t sx, std::int64_t sy,
                     std::int64_t sw, std::int64_t sh, Pixel key) {
    const SourceImage s(src, t, SourceImage::Overlap::Copy);
    const auto q = makeRequest(t, s, dx, dy, dw, dh, sx, sy, sw, sh);
    if (!q) return;
    const SampleMap xs = sampleMap(q->x), ys = sampleMap(q->y);
    for (std::size_t r = 0; r < ys.src.size(); ++r) {
        const int y = ys.first + static_cast<int>(r);
        const Pixel* in = s.row(ys.src[r]);
        Pixel* out = t.row(y) + xs.first;
        int first = -1, last = -1;
        for (std::size_t k = 0; k < xs.src.size(); ++k) {
            const Pixel p = in[xs.src[k]];
            if (((p ^ key) & 0xFFFFFFu) == 0) continue;  // the key compares colour only
            out[k] = p;
            if (first < 0) first = static_cast<int>(k);
            last = static_cast<int>(k);
        }
        if (first >= 0) t.mark(y, xs.first + first, xs.first + last);
    }
}

}  // namespace nt
