#include "surface/Text.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

#include "surface/Surface.h"

namespace nt {

QFont makeFont(const FontSpec& spec) {
    QFont f(spec.name);
    // Chinese captions need a CJK face when the named one is missing.
    f.setFamilies(
        {spec.name, QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    // Bounded so that a typed size in the thousands neither hangs the font engine nor
    // allocates giant glyphs: beyond a canvas's side the text is clipped anyway.
    const double wanted = spec.size * 96.0 / 72.0;  // NaN falls to the smallest size
    const double pixels = wanted >= 1.0 ? std::min(wanted, double{kMaxTextPixels}) : 1.0;
    f.setPixelSize(static_cast<int>(std::lround(pixels)));
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QRect drawText(QImage& image, DirtyRows* dirty, int x, int y, const QString& text,
               const FontSpec& spec, Pixel colour) {
    const QFont font = makeFont(spec);
    const QFontMetrics fm(font);
    // Italic and underline can reach a little past the advance; widen by the font height.
    const QRect box(x, y, fm.horizontalAdvance(text) + fm.height(), fm.height());
    if (text.isEmpty()) return QRect(x, y, 0, fm.height());
    const QRect clipped = box.intersected(image.rect());
    if (clipped.isEmpty()) return box;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font);
        p.setPen(QColor::fromRgb(colour));
        p.setClipRect(clipped);
        p.drawText(QPoint(x, y + fm.ascent()), text);
    }
    if (dirty) dirty->addRect(clipped);
    return box;
}

}  // namespace nt
