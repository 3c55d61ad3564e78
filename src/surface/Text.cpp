#include "surface/Text.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

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

namespace {

// Glyphs drawn per call. Qt fills large glyphs as one path per call, at a cost that grows
// faster than the glyph count, so long lines go in short pieces; pieces wholly outside the
// clip are skipped, which keeps a long line on a small canvas cheap.
constexpr qsizetype kGlyphsPerPiece = 4;

void drawRunPieces(QPainter& p, const QPointF& origin, const QGlyphRun& run, const QRect& clip,
                   qreal reach) {
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    // The underline is drawn once for the whole line (drawUnderline): each piece would draw
    // its own from the line's start.
    QGlyphRun bare = run;
    bare.setUnderline(false);
    for (qsizetype first = 0; first < glyphs.size(); first += kGlyphsPerPiece) {
        const qsizetype n = std::min(kGlyphsPerPiece, glyphs.size() - first);
        const qreal left = origin.x() + positions[first].x() - reach;
        const qreal right = origin.x() + positions[first + n - 1].x() + reach;
        if (right < clip.left() || left > clip.right() + 1) continue;
        QGlyphRun piece = bare;
        piece.setGlyphIndexes(glyphs.mid(first, n));
        piece.setPositions(positions.mid(first, n));
        p.drawGlyphRun(origin, piece);
    }
}

// One underline under the whole line, spaces included, placed and as thick as the font asks:
// fallback faces that draw some of the characters do not move or thicken it.
void drawUnderline(QPainter& p, const QFontMetricsF& fm, qreal left, qreal baseline, qreal width,
                   const QColor& colour) {
    const qreal thickness = std::max<qreal>(1.0, std::round(fm.lineWidth()));
    p.fillRect(QRectF(left, baseline + std::ceil(fm.underlinePos()), width, thickness), colour);
}

// Fonts that ask for smoothing (pictures can) are drawn blended; all others pixel-exact.
bool smooth(const QFont& font) {
    return !(font.styleStrategy() & QFont::NoAntialias);
}

}  // namespace

QRect drawText(QImage& image, DirtyRows* dirty, int x, int y, const QString& text,
               const FontSpec& spec, Pixel colour) {
    const QFont font = makeFont(spec);
    const QFontMetrics fm(font);
    if (text.isEmpty()) return QRect(x, y, 0, fm.height());
    // One layout gives both the extent and the glyphs: shaping a long line is the costly part.
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return QRect(x, y, 0, fm.height());
    // Italic and underline can reach a little past the advance; widen by the font height.
    const int advance = static_cast<int>(std::ceil(line.naturalTextWidth()));
    const QRect box(x, y, advance + fm.height(), fm.height());
    const QRect clipped = box.intersected(image.rect());
    if (clipped.isEmpty()) return box;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setPen(QColor::fromRgb(colour));
        p.setClipRect(clipped);
        // The baseline sits at the font's ascent below y, whatever the fallback faces add.
        const QPointF origin(x, y + fm.ascent() - line.ascent());
        const qreal reach = 2.0 * fm.height();  // a glyph's ink lies within this of its pen
        for (const QGlyphRun& run : layout.glyphRuns())
            drawRunPieces(p, origin, run, clipped, reach);
        if (spec.underline)
            drawUnderline(p, QFontMetricsF(font), x, y + fm.ascent(), line.horizontalAdvance(),
                          p.pen().color());
    }
    if (dirty) dirty->addRect(clipped);
    return box;
}

void drawTextRun(QImage& image, DirtyRows* dirty, QPointF origin, const QString& text,
                 const QFont& font, Pixel colour, double angle, const QRect& clip) {
    const QRect clipped = clip.intersected(image.rect());
    if (text.isEmpty() || clipped.isEmpty() || !std::isfinite(origin.x()) ||
        !std::isfinite(origin.y()) || !std::isfinite(angle))
        return;
    const QFontMetricsF fm(font);
    // Far outside the clip nothing shows; skip the font engine's work.
    const qreal reach = fm.horizontalAdvance(text) + 2 * fm.height();
    if (origin.x() + reach < clipped.left() || origin.x() - reach > clipped.right() + 1 ||
        origin.y() + reach < clipped.top() || origin.y() - reach > clipped.bottom() + 1)
        return;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing, smooth(font));
        p.setClipRect(clipped);
        p.translate(origin);
        if (angle != 0) p.rotate(-angle);
        p.setFont(font);
        p.setPen(QColor::fromRgb(colour));
        p.drawText(QPointF(0, 0), text);
    }
    if (dirty) dirty->addRect(clipped);
}

void drawGlyphs(QImage& image, DirtyRows* dirty, QPointF origin, const QList<quint32>& glyphs,
                const QFont& font, Pixel colour, double angle, const QRect& clip) {
    const QRect clipped = clip.intersected(image.rect());
    if (glyphs.isEmpty() || clipped.isEmpty() || !std::isfinite(origin.x()) ||
        !std::isfinite(origin.y()) || !std::isfinite(angle))
        return;
    QGlyphRun run;
    run.setRawFont(QRawFont::fromFont(font));
    run.setGlyphIndexes(glyphs);
    QList<QPointF> positions;
    qreal x = 0;
    for (const quint32 g : glyphs) {
        positions.append(QPointF(x, 0));
        x += glyphAdvance(font, g);
    }
    run.setPositions(positions);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing, smooth(font));
        p.setClipRect(clipped);
        p.translate(origin);
        if (angle != 0) p.rotate(-angle);
        p.setPen(QColor::fromRgb(colour));
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    if (dirty) dirty->addRect(clipped);
}

double glyphAdvance(const QFont& font, quint32 glyph) {
    const QList<QPointF> advances = QRawFont::fromFont(font).advancesForGlyphIndexes({glyph});
    return advances.isEmpty() ? 0 : advances.front().x();
}

}  // namespace nt
