#include "surface/Gdi.h"

#include "surface/Shapes.h"
#include "surface/SystemColours.h"
#include "surface/Text.h"

namespace nt {
namespace {

const QImage& sourceImage(Dc src) {
    return src.surface->imageFor(src.persistent);
}

Pixel pixelOf(Colour c) {
    return toPixel(plainColour(c));
}

// An outline with the device context's pen around an inside filled with its brush.
template <class Shape>
bool drawShape(Dc dc, Shape shape) {
    if (!dc.surface) return false;
    const Pen pen = dc.surface->pen();
    const Brush brush = dc.surface->brush();
    dc.surface->draw(dc.persistent, [&](RasterTarget& t) { shape(t, pen, brush); });
    return true;
}

}  // namespace

bool BitBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, std::uint32_t rop) {
    if (!dst.surface || !src.surface || rop != SRCCOPY) return false;
    // A negative extent covers origin + extent + 1 .. origin on both sides, so the copy is
    // the same rectangle with a positive extent, not mirrored (as GDI's BitBlt does).
    std::int64_t x0 = x, y0 = y, sx0 = sx, sy0 = sy, w0 = w, h0 = h;
    if (w0 < 0) {
        x0 += w0 + 1;
        sx0 += w0 + 1;
        w0 = -w0;
    }
    if (h0 < 0) {
        y0 += h0 + 1;
        sy0 += h0 + 1;
        h0 = -h0;
    }
    const QImage& from = sourceImage(src);
    dst.surface->draw(dst.persistent,
                      [&](RasterTarget& t) { copyRect(t, x0, y0, w0, h0, from, sx0, sy0); });
    return true;
}

int SetStretchBltMode(Dc dc, int mode) {
    if (!dc.surface) return 0;
    const int previous = dc.surface->stretchMode == StretchMode::Halftone ? HALFTONE : COLORONCOLOR;
    dc.surface->stretchMode = mode == HALFTONE       ? StretchMode::Halftone
                              : mode == COLORONCOLOR ? StretchMode::ColourOnColour
                                                     : StretchMode::Nearest;
    return previous;
}

bool StretchBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, int sw, int sh,
                std::uint32_t rop) {
    if (!dst.surface || !src.surface || rop != SRCCOPY) return false;
    const QImage& from = sourceImage(src);
    const StretchMode mode = dst.surface->stretchMode;
    dst.surface->draw(dst.persistent, [&](RasterTarget& t) {
        stretchRect(t, x, y, w, h, from, sx, sy, sw, sh, mode);
    });
    return true;
}

bool TransparentBlt(Dc dst, int x, int y, int w, int h, Dc src, int sx, int sy, int sw, int sh,
                    Colour key) {
    // Mirroring is not supported by this call: negative extents fail.
    if (!dst.surface || !src.surface || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    const QImage& from = sourceImage(src);
    const Pixel k = pixelOf(key);
    dst.surface->draw(dst.persistent, [&](RasterTarget& t) {
        transparentRect(t, x, y, w, h, from, sx, sy, sw, sh, k);
    });
    return true;
}

bool GradientFill(Dc dc, const TRIVERTEX* vertices, std::uint32_t nVertices,
                  const GRADIENT_RECT* rects, std::uint32_t nRects, std::uint32_t mode) {
    if (!dc.surface || !vertices || !rects) return false;
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return false;
    for (std::uint32_t i = 0; i < nRects; ++i)
        if (rects[i].UpperLeft >= nVertices || rects[i].LowerRight >= nVertices) return false;
    dc.surface->draw(dc.persistent, [&](RasterTarget& t) {
        for (std::uint32_t i = 0; i < nRects; ++i)
            gradientRect(t, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight],
                         mode == GRADIENT_FILL_RECT_V);
    });
    return true;
}

bool ExtFloodFill(Dc dc, int x, int y, Colour colour, std::uint32_t type) {
    if (!dc.surface || type != FLOODFILLSURFACE) return false;
    const Brush brush = dc.surface->brush();
    if (brush.kind == Brush::Kind::None) return false;
    if (GetPixel(dc, x, y) != colour) return false;
    const Pixel start = pixelOf(colour);
    dc.surface->draw(dc.persistent,
                     [&](RasterTarget& t) { floodFillSurface(t, x, y, start, brush); });
    return true;
}

HBRUSH CreatePatternBrush(const QImage& bitmap) {
    if (bitmap.isNull() || bitmap.width() < 1 || bitmap.height() < 1) return nullptr;
    return std::make_shared<const PatternBrush>(
        PatternBrush{bitmap.convertToFormat(QImage::Format_RGB32)});
}

HBRUSH SelectObject(Dc dc, HBRUSH brush) {
    if (!dc.surface) return nullptr;
    HBRUSH previous = dc.surface->selectedPattern();
    dc.surface->selectPattern(std::move(brush));
    return previous;
}

bool DeleteObject(HBRUSH& brush) {
    const bool had = static_cast<bool>(brush);
    brush.reset();
    return had;
}

bool Rectangle(Dc dc, int left, int top, int right, int bottom) {
    return drawShape(dc, [&](RasterTarget& t, const Pen& pen, const Brush& brush) {
        drawRectangle(t, pen, brush, left, top, right, bottom);
    });
}

bool Ellipse(Dc dc, int left, int top, int right, int bottom) {
    return drawShape(dc, [&](RasterTarget& t, const Pen& pen, const Brush& brush) {
        drawEllipse(t, pen, brush, left, top, right, bottom);
    });
}

bool RoundRect(Dc dc, int left, int top, int right, int bottom, int cw, int ch) {
    return drawShape(dc, [&](RasterTarget& t, const Pen& pen, const Brush& brush) {
        drawRoundRect(t, pen, brush, left, top, right, bottom, cw, ch);
    });
}

bool TextOutA(Dc dc, int x, int y, const QString& text) {
    if (!dc.surface) return false;
    Surface& s = *dc.surface;
    const Pixel colour = pixelOf(s.ForeColor);
    s.drawOnImage(dc.persistent, [&](QImage& img, DirtyRows& dirty) {
        drawText(img, &dirty, x, y, text, s.Font, colour);
    });
    return true;
}

Colour GetPixel(Dc dc, int x, int y) {
    if (!dc.surface) return kNoColour;
    const QImage& img = sourceImage(dc);
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return kNoColour;
    return fromPixel(reinterpret_cast<const Pixel*>(img.constScanLine(y))[x]);
}

Colour SetPixel(Dc dc, int x, int y, Colour c) {
    if (!dc.surface || x < 0 || y < 0 || x >= dc.surface->width() || y >= dc.surface->height())
        return kNoColour;
    const Pixel p = pixelOf(c);
    dc.surface->draw(dc.persistent, [&](RasterTarget& t) { t.pixel(x, y, p); });
    return fromPixel(p);
}

bool SetRect(RECT& r, int left, int top, int right, int bottom) {
    r = RECT{left, top, right, bottom};
    return true;
}

long OleTranslateColor(Colour c, void* /*palette*/, Colour* out) {
    const auto plain = translateColour(c);
    if (!plain) return static_cast<long>(static_cast<std::int32_t>(0x80070057u));  // E_INVALIDARG
    if (out) *out = *plain;
    return 0;
}

}  // namespace nt
