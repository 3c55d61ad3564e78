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
    if (!t.clipSpan(y, x0, x1)) return;
    // The pattern is tiled from the surface origin.
    const QImage& pat = b.pattern->pattern;
    const int pw = pat.width();
    const auto* src =
        reinterpret_cast<const Pixel*>(pat.constScanLine(static_cast<int>(y % pat.height())));
    Pixel* dst = t.row(static_cast<int>(y));
    int px = static_cast<int>(x0 % pw);
    for (std::int64_t x = x0; x <= x1; ++x) {
        dst[x] = t.rop2() == RasterTarget::kCopyPen ? src[px] : t.mix(src[px], dst[x]);
        if (++px == pw) px = 0;
    }
    t.mark(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
}

}  // namespace nt
