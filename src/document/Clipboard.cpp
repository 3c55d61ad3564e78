#include "document/Clipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/LargePages.h"
#include "surface/Gdi.h"
#include "surface/Limits.h"
#include "surface/Rounding.h"
#include "surface/SystemColours.h"

namespace nt {

SelectionPixels SelectionPixels::of(const QRectF& area) {
    return {roundHalfEven64(area.left()), roundHalfEven64(area.top()),
            roundHalfEven64(area.width()), roundHalfEven64(area.height())};
}

QImage copySelectionPicture(const Surface& canvas, const SelectionPixels& s) {
    if (auto why = checkSurfaceSize(s.columns(), s.rows())) throw SurfaceSizeError(*why);
    const int w = static_cast<int>(s.columns()), h = static_cast<int>(s.rows());
    QImage picture(w, h, QImage::Format_RGB32);
    if (picture.isNull()) throw SurfaceSizeError("not enough memory for the clipboard");
    preferLargePages(picture.bits(), picture.sizeInBytes());

    const QImage& from = canvas.Image();
    const std::int64_t x0 = std::max<std::int64_t>(s.left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(s.left + w, from.width());
    const std::int64_t y0 = std::max<std::int64_t>(s.top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(s.top + h, from.height());
    const bool inside = x0 == s.left && y0 == s.top && x1 == s.left + w && y1 == s.top + h;
    if (!inside) picture.fill(toPixel(plainColour(canvas.BackColor())));
    if (x0 >= x1 || y0 >= y1) return picture;
    const auto bytes = static_cast<size_t>(x1 - x0) * sizeof(Pixel);
    for (std::int64_t y = y0; y < y1; ++y) {
        const auto* src = reinterpret_cast<const Pixel*>(from.constScanLine(static_cast<int>(y)));
        auto* dst = reinterpret_cast<Pixel*>(picture.scanLine(static_cast<int>(y - s.top)));
        std::memcpy(dst + (x0 - s.left), src + x0, bytes);
    }
    return picture;
}

void eraseSelection(Surface& canvas, const SelectionPixels& s) {
    const Pixel back = toPixel(plainColour(canvas.BackColor()));
    canvas.draw(true, [&](RasterTarget& t) {
        const std::int64_t y0 = std::max<std::int64_t>(s.top, 0);
        const std::int64_t y1 = std::min<std::int64_t>(s.top + s.height, t.height() - 1);
        for (std::int64_t y = y0; y <= y1; ++y) t.span(y, s.left, s.left + s.width, back);
    });
}

namespace {
// Where the clipboard goes when centred on (x, y).
QRect blockAt(const Surface& clipboard, double x, double y) {
    const int w = clipboard.width(), h = clipboard.height();
    return QRect(roundCoord(x - w / 2), roundCoord(y - h / 2), w, h);
}
}  // namespace

void placeClipboard(Surface& canvas, bool persistent, Surface& clipboard, double x, double y,
                    bool transparent) {
    const QRect b = blockAt(clipboard, x, y);
    const Dc target{&canvas, persistent};
    if (transparent)
        TransparentBlt(target, b.x(), b.y(), b.width(), b.height(), hDC(clipboard), 0, 0, b.width(),
                       b.height(), canvas.BackColor());
    else
        BitBlt(target, b.x(), b.y(), b.width(), b.height(), hDC(clipboard), 0, 0, SRCCOPY);
}

void previewClipboard(Surface& canvas, Surface& clipboard, double x, double y, bool transparent) {
    // An opaque block hides everything under it, so only what it uncovers is repainted.
    if (transparent)
        canvas.Refresh();
    else
        canvas.RefreshOutside(blockAt(clipboard, x, y));
    placeClipboard(canvas, false, clipboard, x, y, transparent);
}

}  // namespace nt
