#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <vector>

#include "platform/metafile/MetafileDib.h"
#include "platform/metafile/Players.h"
#include "platform/metafile/Records.h"

namespace nt::mf {

namespace {

constexpr std::uint32_t kStock = 0x80000000u;

QPointF point(Bytes r, std::int64_t at) {
    return QPointF(r.i32(at), r.i32(at + 4));
}
QRectF rect(Bytes r, std::int64_t at) {
    return QRectF(point(r, at), point(r, at + 8));
}
QTransform xform(Bytes r, std::int64_t at) {
    return QTransform(f32(r, at), f32(r, at + 4), f32(r, at + 8), f32(r, at + 12), f32(r, at + 16),
                      f32(r, at + 20));
}

// A DIB given by offsets and sizes from the record's start; nothing when they leave it.
std::optional<Dib> recordDib(Player& p, Bytes r, std::int64_t offBmi, std::int64_t cbBmi,
                             std::int64_t offBits, std::int64_t cbBits, bool keepAlpha = false) {
    if (cbBmi == 0 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits)) return std::nullopt;
    return decodeDib(p, r.sub(offBmi, cbBmi), r.sub(offBits, cbBits), keepAlpha);
}

// A geometric pen's end caps and dashes: the standard styles in multiples of the width, a
// user style as its entries (at most 16, as the drawing system takes).
void geometricDashes(Bytes r, std::uint32_t style, PenObject& pen) {
    static const std::vector<double> kStyles[] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
    const std::uint32_t cap = (style >> 8) & 0xF;
    pen.cap = cap == 1   ? PenObject::Cap::Square
              : cap == 2 ? PenObject::Cap::Flat
                         : PenObject::Cap::Round;
    const std::uint32_t join = (style >> 12) & 0xF;
    pen.join = join == 1   ? PenObject::Join::Bevel
               : join == 2 ? PenObject::Join::Miter
                           : PenObject::Join::Round;
    const std::uint32_t kind = style & 0xF;
    if (kind >= 1 && kind <= 4) {
        for (const double d : kStyles[kind - 1]) pen.dashes.push_back(d * pen.width);
    } else if (kind == 7) {
        const std::uint32_t count = std::min<std::uint32_t>(r.u32(48), 16);
        for (std::uint32_t i = 0; i < count && r.has(52 + 4 * i, 4); ++i)
            pen.dashes.push_back(r.u32(52 + 4 * i));
    }
    pen.style = kind == 7 ? 0 : pen.style;
}

class EmfRecords {
  public:
    explicit EmfRecords(Player& p) : p_(p) {}
    bool play(Bytes r, std::uint32_t type);

  private:
    const GdiObject* object(std::uint32_t index) {
        if (index & kStock) {
            stock_ = stockObject(index & ~kStock);
            return stock_ ? &*stock_ : nullptr;
        }
        return p_.objects().get(index);
    }
    bool poly(Bytes r, std::uint32_t type, bool wide);
    bool polyPoly(Bytes r, std::uint32_t type, bool wide);
    bool createObject(Bytes r, std::uint32_t type);
    bool text(Bytes r, std::uint32_t type);
    bool gradient(Bytes r);
    bool smallText(Bytes r);
    bool bitmap(Bytes r, std::uint32_t type);
    bool region(Bytes r, std::uint32_t type);
    std::optional<RegionObject> regionData(Bytes r, std::int64_t at, std::int64_t size);

    Player& p_;
    std::optional<GdiObject> stock_;
};

bool EmfRecords::poly(Bytes r, std::uint32_t type, bool wide) {
    const std::int64_t count = r.u32(24);
    const std::vector<QPointF> points = readPoints(r, 28, count, wide);
    if (points.empty()) return count == 0;
    switch (wide ? type : type - 83) {  // the 16-bit forms are numbered 83 after the others
        case 2:
            p_.polyBezier(points);
            break;
        case 3: {
            const int counts[] = {static_cast<int>(points.size())};
            p_.polyPolygon(points, counts);
            break;
        }
        case 4:
            p_.polyline(points);
            break;
        case 5:
            p_.polyBezierTo(points);
            break;
        case 6:
            p_.polylineTo(points);
            break;
        default:
            return false;
    }
    return true;
}

bool EmfRecords::polyPoly(Bytes r, std::uint32_t type, bool wide) {
    const std::int64_t polygons = r.u32(24), total = r.u32(28);
    if (polygons > r.size() / 4 || !r.has(32, polygons * 4)) return false;
    std::vector<int> counts;
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < polygons; ++i) {
        counts.push_back(static_cast<int>(std::min<std::uint32_t>(r.u32(32 + 4 * i), 1u << 30)));
        sum += counts.back();
    }
    if (sum != total) return false;
    const std::vector<QPointF> points = readPoints(r, 32 + polygons * 4, total, wide);
    if (points.size() != static_cast<std::size_t>(total)) return false;
    if ((wide ? type : type - 83) == 8)
        p_.polyPolygon(points, counts);
    else
        p_.polyPolyline(points, counts);
    return true;
}

bool EmfRecords::createObject(Bytes r, std::uint32_t type) {
    const std::uint32_t index = r.u32(8);
    GdiObject object;
    switch (type) {
        case 38:  // CreatePen: style, width (x, y), colour
            object =
                PenObject{static_cast<int>(r.u32(12)), double(r.i32(16)), colourRef(r.u32(24))};
            break;
        case 95: {  // ExtCreatePen: bitmap offsets, style, width, brush style, colour
            const std::uint32_t style = r.u32(28);
            // Geometric pens have a width in logical units; cosmetic ones one pixel.
            const double width = (style & 0x10000) ? double(r.u32(32)) : 0;
            PenObject pen{static_cast<int>(style & 0xF), width, colourRef(r.u32(40))};
            if (r.u32(36) == 1) pen.style = 5;  // a hollow brush draws nothing
            if (width > 0) geometricDashes(r, style, pen);
            object = pen;
            break;
        }
        case 39: {  // CreateBrushIndirect: style, colour, hatch
            const std::uint32_t style = r.u32(12);
            BrushObject b;
            b.colour = colourRef(r.u32(16));
            b.hatch = static_cast<int>(r.u32(20));
            b.kind = style == 1   ? BrushObject::Kind::Null
                     : style == 2 ? BrushObject::Kind::Hatched
                                  : BrushObject::Kind::Solid;
            object = b;
            break;
        }
        case 93:    // CreateMonoBrush
        case 94: {  // CreateDIBPatternBrushPt: usage, offBmi, cbBmi, offBits, cbBits
            BrushObject b;
            b.colour = 0;
            if (auto dib = recordDib(p_, r, r.u32(16), r.u32(20), r.u32(24), r.u32(28))) {
                b.kind = BrushObject::Kind::Pattern;
                b.pattern = p_.patternBrush(dib->image);
            }
            object = b;
            break;
        }
        case 82: {  // ExtCreateFontIndirectW: a LOGFONTW from byte 12
            FontObject f;
            f.height = r.i32(12);
            f.width = std::abs(double(r.i32(16)));
            f.escapement = r.i32(20);
            f.weight = r.i32(28);
            f.italic = r.u8(32) != 0;
            f.underline = r.u8(33) != 0;
            f.strikeOut = r.u8(34) != 0;
            f.charset = r.u8(35);
            f.quality = r.u8(38);
            f.face = decodeUtf16(r, 40, 32).section(QChar(0), 0, 0);
            object = f;
            break;
        }
        default:  // CreatePalette
            object = PaletteObject{};
            break;
    }
    p_.objects().put(index, std::move(object));
    return true;
}

std::optional<RegionObject> EmfRecords::regionData(Bytes r, std::int64_t at, std::int64_t size) {
    // RGNDATAHEADER: size (32), type, count, bytes, bounds; then count rectangles.
    if (size < 32 || !r.has(at, size)) return std::nullopt;
    const std::int64_t count = r.u32(at + 8);
    if (count > (size - 32) / 16) return std::nullopt;
    RegionObject region;
    if (!p_.admitRegion(region, count)) return std::nullopt;
    for (std::int64_t i = 0; i < count; ++i) region.rects.push_back(rect(r, at + 32 + 16 * i));
    return region;
}

bool EmfRecords::region(Bytes r, std::uint32_t type) {
    if (type == 75) {  // ExtSelectClipRgn: size, mode, data (reference-device pixels)
        const std::int64_t size = r.u32(8);
        const std::uint32_t mode = r.u32(12);
        if (mode == 5 && size == 0) {  // copy with no region: no clip at all
            p_.combineClip(nullptr, Combine::Copy);
            return true;
        }
        const auto region = regionData(r, 16, size);
        if (!region) return false;
        const std::vector<QRectF> pixels = p_.pixelRects(*region, p_.deviceToPixels());
        p_.combineClip(p_.clipOfPixelRects(pixels), static_cast<Combine>(mode));
        return true;
    }
    // FillRgn: bounds, size, brush, data; PaintRgn: bounds, size, data.
    const std::int64_t size = r.u32(24);
    const GdiObject* brushObject = type == 71 ? object(r.u32(28)) : nullptr;
    const auto region = regionData(r, type == 71 ? 32 : 28, size);
    if (!region) return false;
    const BrushObject* brush = brushObject ? std::get_if<BrushObject>(brushObject) : &p_.dc().brush;
    if (!brush) return true;
    p_.fillPixelRects(p_.pixelRects(*region, p_.deviceToPixels()), *brush);
    return true;
}

bool EmfRecords::gradient(Bytes r) {
    // Bounds, vertex count, shape count, mode; the vertices (x, y, then 16-bit red, green,
    // blue and alpha); the shapes (two indexes a rectangle, three a triangle).
    const std::int64_t vertices = r.u32(24), shapes = r.u32(28);
    const int mode = static_cast<int>(r.u32(32));
    if (mode < 0 || mode > 2) return false;
    const std::int64_t shapeSize = mode == 2 ? 12 : 8;
    const std::int64_t shapesAt = 36 + 16 * vertices;
    if (vertices > r.size() / 16 || shapes > r.size() / shapeSize ||
        !r.has(shapesAt, shapes * shapeSize))
        return false;
    std::vector<GradientVertex> v;
    v.reserve(static_cast<std::size_t>(vertices));
    for (std::int64_t i = 0; i < vertices; ++i) {
        const std::int64_t at = 36 + 16 * i;
        v.push_back({point(r, at), r.u16(at + 8), r.u16(at + 10), r.u16(at + 12)});
    }
    std::vector<std::array<std::uint32_t, 3>> s;
    s.reserve(static_cast<std::size_t>(shapes));
    for (std::int64_t i = 0; i < shapes; ++i) {
        const std::int64_t at = shapesAt + shapeSize * i;
        s.push_back({r.u32(at), r.u32(at + 4), mode == 2 ? r.u32(at + 8) : 0});
    }
    p_.gradientFill(v, s, mode);
    return true;
}

bool EmfRecords::smallText(Bytes r) {
    // Reference, count, options, graphics mode, scales, the clip rectangle unless
    // ETO_NO_RECT, then the characters: bytes with ETO_SMALL_CHARS, else UTF-16.
    constexpr std::uint32_t kNoRect = 0x100, kSmallChars = 0x200;
    const std::int64_t count = r.u32(16);
    const std::uint32_t options = r.u32(20);
    const std::int64_t at = options & kNoRect ? 36 : 52;
    const QString s = options & kSmallChars ? decodeAnsi(r, at, count, p_.dc().font.charset)
                                            : decodeUtf16(r, at, count);
    // No characters still fill an opaque rectangle: writers paint backgrounds that way.
    if (s.isEmpty() && count != 0) return false;
    std::optional<QRectF> clip;
    if (!(options & kNoRect) && (options & 0x6)) clip = rect(r, 36);
    p_.text(point(r, 8), s, {}, static_cast<int>(options & 0x6), clip, r.u32(24) == 2);
    return true;
}

bool EmfRecords::text(Bytes r, std::uint32_t type) {
    // bounds, graphics mode, scales, then EMRTEXT: reference, count, offString, options,
    // rectangle, offDx.
    const QPointF reference = point(r, 36);
    const std::int64_t count = r.u32(44), offString = r.u32(48), offDx = r.u32(72);
    const int options = static_cast<int>(r.u32(52));
    const bool wide = type == 84;
    const QString s = wide ? decodeUtf16(r, offString, count)
                           : decodeAnsi(r, offString, count, p_.dc().font.charset);
    if (s.isEmpty() && count != 0) return false;  // none at all may still fill the rectangle
    // Advances per character; with ETO_PDY each has a vertical part too.
    const bool pdy = options & 0x2000;
    std::vector<QPointF> advances;
    if (offDx != 0 && r.has(offDx, count * (pdy ? 8 : 4)) && s.size() == count)
        for (std::int64_t i = 0; i < count; ++i)
            advances.push_back(pdy ? point(r, offDx + 8 * i) : QPointF(r.i32(offDx + 4 * i), 0));
    std::optional<QRectF> clip;
    if (options & 0x6) clip = rect(r, 56);
    // The advanced graphics mode lets an unequal mapping scale the glyphs too.
    p_.text(reference, s, advances, options, clip, r.u32(24) == 2);
    return true;
}

bool EmfRecords::bitmap(Bytes r, std::uint32_t type) {
    switch (type) {
        case 76:    // BitBlt
        case 77: {  // StretchBlt: dest, rop, source origin, transform, colour, usage, DIB, size
            const QRectF dest(point(r, 24), QSizeF(r.i32(32), r.i32(36)));
            const std::uint32_t rop = r.u32(40);
            const std::int64_t cbBmi = r.u32(88);
            if (cbBmi == 0) return p_.blit(dest, QImage(), {}, rop), true;
            const auto dib = recordDib(p_, r, r.u32(84), cbBmi, r.u32(92), r.u32(96));
            if (!dib) return false;
            const QSizeF size = type == 77 ? QSizeF(r.i32(100), r.i32(104)) : dest.size();
            const QTransform source = xform(r, 52);
            p_.blit(dest, dib->image, source.mapRect(QRectF(point(r, 44), size)), rop);
            return true;
        }
        case 81: {  // StretchDIBits: dest origin, source rect, DIB, usage, rop, dest size
            const auto dib = recordDib(p_, r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
            if (!dib) return false;
            QRectF source(point(r, 32), QSizeF(r.i32(40), r.i32(44)));
            if (!dib->topDown)  // measured from the bottom row
                source.moveTop(dib->image.height() - source.top() - source.height());
            p_.blit(QRectF(point(r, 24), QSizeF(r.i32(72), r.i32(76))), dib->image, source,
                    r.u32(68));
            return true;
        }
        case 80: {  // SetDIBitsToDevice: dest, source rect, DIB, usage, first scan, scans
            const auto dib = recordDib(p_, r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
            if (!dib) return false;
            const QSizeF size(r.i32(40), r.i32(44));
            QRectF source(point(r, 32), size);
            if (!dib->topDown) source.moveTop(dib->image.height() - source.top() - size.height());
            p_.blit(QRectF(point(r, 24), size), dib->image, source, 0x00CC0020);
            return true;
        }
        default: {  // AlphaBlend (blend function) and TransparentBlt (colour key)
            const QRectF dest(point(r, 24), QSizeF(r.i32(32), r.i32(36)));
            const bool alpha = type == 114;
            const auto dib = recordDib(p_, r, r.u32(84), r.u32(88), r.u32(92), r.u32(96), alpha);
            if (!dib) return false;
            const Blend blend{alpha ? Blend::Kind::Alpha : Blend::Kind::ColourKey, r.u32(40)};
            p_.blit(dest, dib->image, QRectF(point(r, 44), QSizeF(r.i32(100), r.i32(104))),
                    0x00CC0020, blend);
            return true;
        }
    }
}

bool EmfRecords::play(Bytes r, std::uint32_t type) {
    DcState& dc = p_.dc();
    switch (type) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
            return poly(r, type, true);
        case 85:
        case 86:
        case 87:
        case 88:
        case 89:
            return poly(r, type, false);
        case 7:
        case 8:
            return polyPoly(r, type, true);
        case 90:
        case 91:
            return polyPoly(r, type, false);
        case 9:
            p_.setWindowExt(point(r, 8));
            return true;
        case 10:
            dc.windowOrg = point(r, 8);
            return true;
        case 11:
            p_.setViewportExt(point(r, 8));
            return true;
        case 12:
            dc.viewportOrg = point(r, 8);
            return true;
        case 15:
            p_.setPixel(point(r, 8), colourRef(r.u32(16)));
            return true;
        case 17:
            dc.mapMode = static_cast<int>(r.u32(8));
            return true;
        case 18:
            dc.bkMode = static_cast<int>(r.u32(8));
            return true;
        case 19:
            dc.fillRule = r.u32(8) == 2 ? FillRule::Winding : FillRule::Alternate;
            return true;
        case 20:
            dc.rop2 = static_cast<int>(r.u32(8));
            return true;
        case 22:
            dc.textAlign = static_cast<int>(r.u32(8));
            return true;
        case 24:
            dc.textColour = colourRef(r.u32(8));
            return true;
        case 25:
            dc.bkColour = colourRef(r.u32(8));
            return true;
        case 27:
            p_.moveTo(point(r, 8));
            return true;
        case 30:
            p_.intersectClip(rect(r, 8));
            return true;
        case 31:
        case 32: {  // Scale*ExtEx: xNum, xDenom, yNum, yDenom
            if (r.i32(12) == 0 || r.i32(20) == 0) return true;
            QPointF ext = type == 31 ? dc.viewportExt : dc.windowExt;
            ext = {ext.x() * r.i32(8) / r.i32(12), ext.y() * r.i32(16) / r.i32(20)};
            if (type == 31)
                p_.setViewportExt(ext);
            else
                p_.setWindowExt(ext);
            return true;
        }
        case 33:
            p_.saveDc();
            return true;
        case 34:
            p_.restoreDc(r.i32(8));
            return true;
        case 35:
            p_.setWorld(xform(r, 8));
            return true;
        case 36:
            p_.modifyWorld(xform(r, 8), static_cast<int>(r.u32(32)));
            return true;
        case 37:
            if (const GdiObject* o = object(r.u32(8))) p_.select(*o);
            return true;
        case 40:
            p_.objects().remove(r.u32(8));
            return true;
        case 38:
        case 39:
        case 49:
        case 82:
        case 93:
        case 94:
        case 95:
            return createObject(r, type);
        case 42:
            p_.ellipse(rect(r, 8));
            return true;
        case 43:
            p_.rectangle(rect(r, 8));
            return true;
        case 44:
            p_.roundRect(rect(r, 8), QSizeF(r.i32(24), r.i32(28)));
            return true;
        case 45:
        case 46:
        case 47:
        case 55: {
            const ArcKind kind = type == 45   ? ArcKind::Arc
                                 : type == 46 ? ArcKind::Chord
                                 : type == 47 ? ArcKind::Pie
                                              : ArcKind::ArcTo;
            p_.arc(kind, rect(r, 8), point(r, 24), point(r, 32));
            return true;
        }
        case 54:
            p_.lineTo(point(r, 8));
            return true;
        case 57:
            dc.clockwiseArcs = r.u32(8) == 2;
            return true;
        case 59:
            p_.beginPath();
            return true;
        case 60:
            p_.endPath();
            return true;
        case 61:
            p_.closeFigure();
            return true;
        case 62:
            p_.fillPath();
            return true;
        case 63:
            p_.strokeAndFillPath();
            return true;
        case 64:
            p_.strokePath();
            return true;
        case 67:
            p_.selectClipPath(static_cast<Combine>(r.u32(8)));
            return true;
        case 29:
            p_.excludeClip(rect(r, 8));
            return true;
        case 26:
            p_.offsetClip(point(r, 8));
            return true;
        case 28:
            p_.setMetaRegion();
            return true;
        case 68:
            p_.abortPath();
            return true;
        case 71:
        case 74:
        case 75:
            return region(r, type);
        case 83:
        case 84:
            return text(r, type);
        case 118:
            return gradient(r);
        case 58: {  // SetMiterLimit: written as a float by most, as an integer by some
            const std::uint32_t v = r.u32(8);
            const double limit = v < 0x10000 ? double(v) : double(std::bit_cast<float>(v));
            if (std::isfinite(limit)) p_.dc().miterLimit = std::clamp(limit, 1.0, 1000.0);
            return true;
        }
        case 108:
            return smallText(r);
        case 76:
        case 77:
        case 80:
        case 81:
        case 114:
        case 116:
            return bitmap(r, type);
        // State that does not change the picture, comments (EMF+ included) and palettes.
        case 13:
        case 16:
        case 21:
        case 23:
        case 48:
        case 50:
        case 51:
        case 52:
        case 65:
        case 70:
        case 98:
        case 115:
        case 120:
        case 122:
        case 123:
        case 99:
        case 100:
        case 101:
            return true;
        default:
            p_.skip(emfRecordName(type));
            return true;
    }
}

}  // namespace

void playEmf(Bytes data, Player& player) {
    EmfRecords records(player);
    Stats* stats = player.stats();
    for (std::int64_t at = player.frame().recordsStart; data.has(at, 8);) {
        const std::uint32_t type = data.u32(at);
        const std::int64_t size = data.u32(at + 4);
        // A record smaller than its own type and size, unaligned or past the file ends the
        // picture: it would loop forever or read beyond the data.
        if (size < 8 || size % 4 != 0 || !data.has(at, size)) {
            if (stats) stats->stoppedEarly = true;
            break;
        }
        if (type == 14) break;  // end of file
        if (stats) ++stats->records;
        player.beginRecord();
        if (!records.play(data.sub(at, size), type)) player.skip(emfRecordName(type));
        if (player.exhausted()) {
            if (stats) stats->stoppedEarly = true;
            break;
        }
        at += size;
    }
}

}  // namespace nt::mf
