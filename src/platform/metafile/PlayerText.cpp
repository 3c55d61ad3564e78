#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFontMetricsF>
#include <QRawFont>

#include "platform/metafile/Player.h"
#include "platform/metafile/StandInFonts.h"
#include "surface/Surface.h"
#include "surface/Text.h"

namespace nt::mf {

namespace {

constexpr int TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24;
constexpr int ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10;
// Cell height of the default font, in pixels.
constexpr double kDefaultCell = 16;
// What text costs besides its glyphs' pixels (measured: finding and measuring a font about
// 0.4 ms; laying out a record 1 us and drawing each character 4 us, whatever its size).
constexpr double kWorkPerFontMade = 512 * 1024, kWorkPerTextRecord = 2048, kWorkPerCharacter = 4096;

// The free face drawn with the same metrics as a common Windows face, or nothing.
QString metricTwin(const QString& face) {
    static const std::pair<const char*, const char*> kTwins[] = {
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Calibri", "Carlito"},
        {"Cambria", "Caladea"}};
    for (const auto& [windows, twin] : kTwins)
        if (face.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(twin);
    return {};
}

// The font the surface draws with for a metafile font of `emPixels`, its glyphs `stretch`
// times as wide as the face draws them.
QFont surfaceFont(const FontObject& f, double emPixels, double stretch = 1) {
    addStandInFonts();
    FontSpec spec;
    spec.name = f.face.isEmpty() ? QStringLiteral("Arial") : f.face;
    spec.size = emPixels * 72.0 / 96.0;
    spec.bold = f.weight >= 600;
    spec.italic = f.italic;
    spec.underline = f.underline;
    QFont font = makeFont(spec);
    // A face this machine lacks falls back to a Latin sans face before the CJK faces, as the
    // drawing system does with the faces it does not have.
    QStringList families = font.families();
    families.insert(1, QStringLiteral("Liberation Sans"));
    families.insert(2, QStringLiteral("Arial"));
    if (const QString twin = metricTwin(spec.name); !twin.isEmpty()) families.insert(1, twin);
    font.setFamilies(families);
    font.setStrikeOut(f.strikeOut);
    if (std::abs(stretch - 1) >= 0.005)
        font.setStretch(static_cast<int>(std::clamp(std::round(stretch * 100), 1.0, 4000.0)));
    // The drawing system neither kerns nor places glyphs between pixels: each character
    // advances by its own width, rounded.
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The 16-bit big-endian number at `at` of a font table; 0 past its end.
int bigEndian16(const QByteArray& table, qsizetype at) {
    if (at < 0 || at + 2 > table.size()) return 0;
    return (static_cast<unsigned char>(table[at]) << 8) | static_cast<unsigned char>(table[at + 1]);
}

// Whether glyphs of `font` at `ppem` pixels per em are smoothed: unless the font asks for
// none, as the face's grid-fitting table (gasp) says for that size; smoothed without one.
bool smoothAt(const QFont& font, const FontObject& f, double ppem) {
    constexpr int kNonAntialiasedQuality = 3, kGaspDoGray = 2;
    if (f.quality == kNonAntialiasedQuality) return false;
    const QByteArray gasp = QRawFont::fromFont(font).fontTable("gasp");
    const auto u16 = [&](qsizetype at) { return bigEndian16(gasp, at); };
    if (gasp.size() < 4) return true;
    const int ranges = u16(2);
    for (int i = 0; i < ranges && 8 + 4 * i <= gasp.size(); ++i)
        if (ppem <= u16(4 + 4 * i)) return u16(6 + 4 * i) & kGaspDoGray;
    return true;
}

// The face's Windows ascent and descent (its OS/2 table) per em: the drawing system measures
// cells and places text by them. Zero when the face has none.
struct WinMetrics {
    double ascent = 0, descent = 0;
};

WinMetrics winMetrics(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.fontTable("OS/2");
    if (os2.size() < 78 || !(raw.unitsPerEm() > 0)) return {};
    return {bigEndian16(os2, 74) / raw.unitsPerEm(), bigEndian16(os2, 76) / raw.unitsPerEm()};
}

// The em of a font whose cell is `cell` pixels, rounded to whole pixels.
double emForCell(const FontObject& f, double cell) {
    const QFont font = surfaceFont(f, 100);
    const WinMetrics m = winMetrics(font);
    double ratio = m.ascent + m.descent;
    if (!(ratio > 0)) {
        const QFontMetricsF fm(font);
        ratio = (fm.ascent() + fm.descent()) / 100;
    }
    return ratio > 0 ? std::round(cell / ratio) : cell;
}

// Where each character starts along the line, in whole pixels from the first, and where the
// line ends: each glyph's outline advance, rounded, which hinting leaves as it is in the
// drawing system; characters the face lacks advance as the fallback face draws them.
std::vector<double> characterStarts(const QFont& font, const QString& text, bool glyphIndexes,
                                    double& end) {
    const QRawFont raw = QRawFont::fromFont(font);
    QList<quint32> indexes;
    if (glyphIndexes)
        for (const QChar c : text) indexes.append(c.unicode());
    else
        indexes = raw.glyphIndexesForString(text);
    const QList<QPointF> advances =
        raw.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics);
    const QFontMetricsF fm(font);
    const bool oneEach = advances.size() == text.size();
    std::vector<double> starts;
    end = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        starts.push_back(end);
        const bool own = oneEach && (glyphIndexes || raw.supportsCharacter(text[i]));
        end += std::round(own ? advances[i].x() : fm.horizontalAdvance(text[i]));
    }
    return starts;
}

QRect pixelRect(const QRectF& r) {
    const auto edge = [](double v) {
        return static_cast<int>(std::clamp(std::ceil(v - 0.5), -1e9, 1e9));
    };
    return QRect(QPoint(edge(r.left()), edge(r.top())),
                 QPoint(edge(r.right()) - 1, edge(r.bottom()) - 1));
}

}  // namespace

const TextFont* Player::textFont(double scaleX, double scaleY, bool advanced) {
    // Fonts are realised at whole device pixels: scaled heights are cut to an integer by EMF
    // playing (the height is scaled in place, as an integer) and rounded by WMF playing
    // (mapped as a distance between two points).
    const double h = std::abs(dc_.font.height) * scaleY;
    const double device = frame_.kind == Kind::Emf ? std::trunc(h) : std::round(h);
    const double pixels = std::max(device, 1.0);
    // Text records mostly follow one another in one font: it is made once.
    if (textFont_ && textFont_->object == dc_.font && textFont_->pixels == pixels &&
        textFont_->scaleX == scaleX && textFont_->scaleY == scaleY &&
        textFont_->advanced == advanced)
        return &*textFont_;
    charge(kWorkPerFontMade);
    if (overBudget()) return nullptr;
    TextFont made;
    made.object = dc_.font;
    made.pixels = pixels;
    made.scaleX = scaleX;
    made.scaleY = scaleY;
    made.advanced = advanced;
    made.em = dc_.font.height < 0   ? pixels
              : dc_.font.height > 0 ? emForCell(dc_.font, pixels)
                                    : emForCell(dc_.font, kDefaultCell);
    if (!std::isfinite(made.em) || made.em < 0.5) return nullptr;
    made.font = surfaceFont(dc_.font, made.em, glyphStretch(made.em, scaleX, scaleY, advanced));
    // A font under an unequal mapping is made at its logical height, its outlines then
    // transformed: that height picks the smoothing.
    const int stretch = made.font.stretch();
    const double ppem = stretch == 100 || stretch == QFont::AnyStretch
                            ? made.em
                            : std::round(std::abs(dc_.font.height));
    if (smoothAt(made.font, dc_.font, ppem)) made.font.setStyleStrategy(QFont::PreferAntialias);
    // The cell above and below the baseline, in whole pixels.
    const QFontMetricsF fm(made.font);
    const WinMetrics win = winMetrics(made.font);
    made.ascent = win.ascent > 0 ? std::round(win.ascent * made.em) : fm.ascent();
    made.descent = win.ascent > 0 ? std::round(win.descent * made.em) : fm.descent();
    textFont_ = std::move(made);
    return &*textFont_;
}

double Player::glyphStretch(double em, double scaleX, double scaleY, bool advanced) const {
    if (dc_.font.width > 0) {
        // A width asks for that average character width, in logical units along the line.
        const double natural = QFontMetricsF(surfaceFont(dc_.font, em)).averageCharWidth();
        return natural > 0 ? dc_.font.width * scaleX / natural : 1;
    }
    return advanced ? scaleX / scaleY : 1;
}

void Player::text(QPointF reference, const QString& text, std::span<const QPointF> advances,
                  int options, std::optional<QRectF> rect, bool advanced) {
    if (recording_ || !mapsFinitely()) return;
    prepareTarget();
    const QTransform t = toPixels();
    // Glyphs are clipped to the clip's bounds: text rarely meets a clip shape's curves.
    QRect clip = clipBox();
    if (overBudget()) return;
    if (rect && (options & ETO_OPAQUE)) {
        BrushObject back{BrushObject::Kind::Solid, dc_.bkColour, 0, nullptr};
        const QRectF r = t.mapRect(rect->normalized());
        fillPixelRects(std::span(&r, 1), back);
    }
    if (rect && (options & ETO_CLIPPED)) clip &= pixelRect(t.mapRect(rect->normalized()));
    if (text.isEmpty() || clip.isEmpty()) return;

    // The baseline's direction: the escapement (counter-clockwise in logical space, whose y
    // axis points down unless the mapping turns it) taken through the mapping.
    const double radians = dc_.font.escapement / 10.0 * std::numbers::pi / 180;
    const QTransform linear(t.m11(), t.m12(), t.m21(), t.m22(), 0, 0);
    QPointF along = linear.map(QPointF(std::cos(radians), -std::sin(radians)));
    const double scaleX = std::hypot(along.x(), along.y());
    if (!(scaleX > 0) || !std::isfinite(scaleX)) return;
    along /= scaleX;
    const double scaleY = std::abs(t.determinant()) / scaleX;
    const QPointF down(-along.y(), along.x());
    const double angle = std::atan2(-along.y(), along.x()) * 180 / std::numbers::pi;

    const TextFont* made = textFont(scaleX, scaleY, advanced);
    if (!made) return;
    const QFont& font = made->font;
    const double em = made->em, ascent = made->ascent, descent = made->descent;
    charge(kWorkPerTextRecord +
           double(text.size()) * (kWorkPerCharacter + std::min(em, 2048.0) * std::min(em, 2048.0)));
    if (overBudget()) return;

    // Where each character starts, in pixels from the first, along and across the baseline.
    const bool glyphs = options & ETO_GLYPH_INDEX;
    std::vector<QPointF> starts;
    QPointF end;
    if (!advances.empty()) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            starts.push_back(end);
            if (i < qsizetype(advances.size()))
                end += QPointF(advances[i].x() * scaleX, -advances[i].y() * scaleY);
        }
    } else {
        double length = 0;
        for (const double x : characterStarts(font, text, glyphs, length))
            starts.emplace_back(x, 0);
        end = QPointF(length, 0);
    }
    const double width = end.x();

    const bool updateCp = dc_.textAlign & TA_UPDATECP;
    QPointF origin = t.map(updateCp ? dc_.current : reference);
    const int horizontal = dc_.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER)
        origin -= along * (width / 2);
    else if (horizontal == TA_RIGHT)
        origin -= along * width;
    const int vertical = dc_.textAlign & TA_BASELINE;
    if (vertical == 0)
        origin += down * ascent;
    else if (vertical == TA_BOTTOM)
        origin -= down * descent;

    if (dc_.bkMode == 2) {
        const QPointF top = origin - down * ascent, bottom = origin + down * descent;
        const QPointF box[] = {top, top + along * width, bottom + along * width, bottom};
        Figures f;
        f.add(box, true);
        fillFigures(f, BrushObject{BrushObject::Kind::Solid, dc_.bkColour, 0, nullptr});
    }
    const Pixel colour = nt::toPixel(dc_.textColour);
    const auto at = [&](QPointF offset) { return origin + along * offset.x() + down * offset.y(); };
    for (qsizetype i = 0; i < (starts.empty() ? 1 : text.size()); ++i) {
        const QPointF exact = starts.empty() ? origin : at(starts[i]);
        // Device positions are whole pixels.
        const QPointF place(std::round(exact.x()), std::round(exact.y()));
        if (glyphs)
            drawGlyphs(image_, nullptr, place, {text[i].unicode()}, font, colour, angle, clip);
        else
            drawTextRun(image_, nullptr, place, starts.empty() ? text : text.mid(i, 1), font,
                        colour, angle, clip);
    }
    if (updateCp && horizontal != TA_CENTER) {
        const QPointF last = horizontal == TA_RIGHT ? origin : at(end);
        bool invertible = false;
        const QTransform back = t.inverted(&invertible);
        if (invertible) dc_.current = back.map(last);
    }
}

}  // namespace nt::mf
