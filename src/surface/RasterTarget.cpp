#include "surface/RasterTarget.h"

namespace nt {

void fillSpanWithBrush(RasterTarget& t, const Brush& b, std::int64_t y, std::int64_t x0,
                       std::int64_t x1) {
    switch (b.kind) {
        case Brush::Kind::None:
            return;
        case Brush::Kind::Solid:
            t.span(y, x0, x1, b.pixel);
            return;
        case Brush::Kind::Pattern:
            break;
    }
    // The pattern is tiled from the surface origin.
    const QImage& pat = b.pattern->pattern;
    const int pw = pat.width();
    t.forEachVisible(y, x0, x1, [&](std::int64_t a, std::int64_t c) {
        const auto* src =
            reinterpret_cast<const Pixel*>(pat.constScanLine(static_cast<int>(y % pat.height())));
        Pixel* dst = t.row(static_cast<int>(y));
        int px = static_cast<int>(a % pw);
        for (std::int64_t x = a; x <= c; ++x) {
            // Fully transparent pattern pixels (hatches on a transparent background) leave
            // the picture as it is.
            if (src[px] >> 24 != 0)
                dst[x] = t.rop2() == RasterTarget::kCopyPen ? src[px] : t.mix(src[px], dst[x]);
            if (++px == pw) px = 0;
        }
        t.mark(static_cast<int>(y), static_cast<int>(a), static_cast<int>(c));
    });
}

}  // namespace nt
