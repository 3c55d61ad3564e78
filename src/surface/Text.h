#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

#include "surface/Colour.h"
#include "surface/DirtyRows.h"

namespace nt {

struct FontSpec;

// The largest glyph height text is drawn with, in pixels.
inline constexpr int kMaxTextPixels = 2048;

// The QFont for a surface font: pixel size = point size at 96 dpi (1 to kMaxTextPixels), no
// antialiasing so that only glyph pixels change and they take exactly the text colour.
QFont makeFont(const FontSpec& spec);

// Draws the glyphs of text with their top-left at (x, y); the background is untouched.
// Returns the rectangle the text's line box covers (unclipped).
QRect drawText(QImage& image, DirtyRows* dirty, int x, int y, const QString& text,
               const FontSpec& spec, Pixel colour);

// Draws one line of text in `font` with its baseline starting at `origin`, turned `angle`
// degrees counter-clockwise about it, clipped to `clip`; only glyph pixels change (blended
// with what is there when the font asks for antialiasing). For pictures that place text by
// its baseline, such as metafiles.
void drawTextRun(QImage& image, DirtyRows* dirty, QPointF origin, const QString& text,
                 const QFont& font, Pixel colour, double angle, const QRect& clip);

// The same for glyphs of the font given by their indexes, as pictures that carry glyph
// indexes rather than characters store them.
void drawGlyphs(QImage& image, DirtyRows* dirty, QPointF origin, const QList<quint32>& glyphs,
                const QFont& font, Pixel colour, double angle, const QRect& clip);
// The advance of one glyph index, in pixels.
double glyphAdvance(const QFont& font, quint32 glyph);

}  // namespace nt
