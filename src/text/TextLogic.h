#pragma once

// The rules of the text dialog and the canvas text, without widgets: the size and style
// lists, finding a stored value in a list, reading a typed size, and centring the sample.

#include <cstdint>

#include <QPoint>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "surface/Surface.h"

namespace nt::text {

// The word the preview shows.
inline constexpr char16_t kSample[] = u"Norvaly";
// The canvas's own font size, used when a stored size is below one point.
inline constexpr double kDefaultPoints = 9.0;

// "5" .. "96".
QStringList sizeItems();
// Each family once by its plain name, in the order given: a family that several foundries
// offer comes as "Name [foundry]" once per foundry.
QStringList plainFamilies(const QStringList& families);
// The eight style items; the index is the stored style.
QStringList styleItems();

struct Style {
    bool bold = false, italic = false, underline = false;
};
// The attributes of a style index; anything outside 0..7 is plain.
Style styleOf(int index);
void applyStyle(FontSpec& font, int index);

// The index of the first item equal to `text` ignoring case; 0 for empty text or no match.
int FindListItem(const QStringList& items, const QString& text);

// A typed size as stored: its leading number rounded half to even, within 16 bits.
std::int16_t storedSize(const QString& text);

// The top-left that centres a text of `text` size in a box: each free extent rounded, then
// halved toward zero.
QPoint centredOrigin(const QSize& box, const QSizeF& text);

// The canvas font for the stored settings: sizes below one point take the canvas's own size.
FontSpec canvasFont(const QString& name, std::int16_t points, int style);

}  // namespace nt::text
