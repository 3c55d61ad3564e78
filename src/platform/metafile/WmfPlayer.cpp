#include <array>
#include <cmath>

#include "platform/metafile/MetafileDib.h"
#include "platform/metafile/Players.h"
#include "platform/metafile/Records.h"

namespace nt::mf {

namespace {

constexpr std::int64_t kParams = 6;  // size (4 bytes) and function (2) come first

// Parameter i (16-bit, from the first) of a record.
std::int16_t param(Bytes r, int i) {
    return s16(r, kParams + 2 * i);
}
std::uint16_t uparam(Bytes r, int i) {
    return r.u16(kParams + 2 * i);
}
// A point stored as (y, x) from parameter i on, as most WMF records store them.
QPointF yx(Bytes r, int i) {
    return QPointF(param(r, i + 1), param(r, i));
}
// A box stored as bottom, right, top, left from parameter i on.
QRectF box(Bytes r, int i) {
    return QRectF(QPointF(param(r, i + 3), param(r, i + 2)), QPointF(param(r, i + 1), param(r, i)));
}

class WmfRecords {
  public:
    WmfRecords(Player& p) : p_(p) {}

    // Plays one record; false when the record is too short for its function.
    bool play(Bytes r, std::uint16_t function);

  private:
    bool needs(Bytes r, int params) const { return r.size() >= kParams + 2 * params; }
    bool poly(Bytes r, std::uint16_t function);
    bool polyPolygon(Bytes r);
    bool createObject(Bytes r, std::uint16_t function);
    bool objectRecord(Bytes r, std::uint16_t function);
    bool text(Bytes r, std::uint16_t function);
    bool bitmap(Bytes r, std::uint16_t function);
    bool region(Bytes r);

    Player& p_;
};

bool WmfRecords::poly(Bytes r, std::uint16_t function) {
    if (!needs(r, 1)) return false;
    const std::vector<QPointF> points = readPoints(r, kParams + 2, uparam(r, 0), false);
    if (points.empty() && uparam(r, 0) != 0) return false;
    if (function == 0x0325) {
        p_.polyline(points);
    } else {
        const int counts[] = {static_cast<int>(points.size())};
        p_.polyPolygon(points, counts);
    }
    return true;
}

bool WmfRecords::polyPolygon(Bytes r) {
    if (!needs(r, 1)) return false;
    const int polygons = uparam(r, 0);
    if (!needs(r, 1 + polygons)) return false;
    std::vector<int> counts;
    std::int64_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        counts.push_back(uparam(r, 1 + i));
        total += counts.back();
    }
    const std::vector<QPointF> points = readPoints(r, kParams + 2 + 2 * polygons, total, false);
    if (points.size() != static_cast<std::size_t>(total)) return false;
    p_.polyPolygon(points, counts);
    return true;
}

bool WmfRecords::createObject(Bytes r, std::uint16_t function) {
    GdiObject object;
    switch (function) {
        case 0x02FA:  // CreatePenIndirect: style, width (x, y), colour
            if (!needs(r, 5)) return false;
            object = PenObject{uparam(r, 0), double(param(r, 1)), colourRef(r.u32(kParams + 6))};
            break;
        case 0x02FC: {  // CreateBrushIndirect: style, colour, hatch
            if (!needs(r, 4)) return false;
            BrushObject b;
            const int style = uparam(r, 0);
            b.colour = colourRef(r.u32(kParams + 2));
            b.hatch = uparam(r, 3);
            b.kind = style == 1   ? BrushObject::Kind::Null
                     : style == 2 ? BrushObject::Kind::Hatched
                                  : BrushObject::Kind::Solid;
            object = b;
            break;
        }
        case 0x02FB: {  // CreateFontIndirect
            if (!needs(r, 9)) return false;
            FontObject f;
            f.height = param(r, 0);
            f.width = std::abs(param(r, 1));
            f.escapement = param(r, 2);
            f.weight = param(r, 4);
            f.italic = r.u8(kParams + 10) != 0;
            f.underline = r.u8(kParams + 11) != 0;
            f.strikeOut = r.u8(kParams + 12) != 0;
            f.charset = r.u8(kParams + 13);
            f.quality = r.u8(kParams + 16);
            f.face = decodeAnsi(r, kParams + 18,
                                std::min<std::int64_t>(32, r.size() - kParams - 18), f.charset)
                         .section(QChar(0), 0, 0);
            object = f;
            break;
        }
        case 0x0142: {  // DIBCreatePatternBrush: style, colour usage, DIB
            BrushObject b;
            const auto dib = decodePackedDib(p_, r.sub(kParams + 4, r.size()));
            if (dib) {
                b.kind = BrushObject::Kind::Pattern;
                b.pattern = p_.patternBrush(dib->image);
            } else {
                b.colour = 0;  // an unreadable pattern paints black, as a visible fault
            }
            object = b;
            break;
        }
        case 0x06FF:  // CreateRegion
            if (!region(r))
                object = RegionObject{};
            else
                return true;
            break;
        case 0x01F9:  // CreatePatternBrush with a device-dependent bitmap
            p_.skip("META_CREATEPATTERNBRUSH");
            object = BrushObject{BrushObject::Kind::Solid, 0x808080, 0, nullptr};
            break;
        default:  // CreatePalette
            object = PaletteObject{};
            break;
    }
    p_.objects().add(std::move(object));
    return true;
}

bool WmfRecords::region(Bytes r) {
    // nextInChain, objectType, objectCount (2 words), regionSize, scanCount, maxScan, the
    // bounding box (4 words), then scans: count, top, bottom, count / 2 pairs of (left,
    // right), count again.
    if (!needs(r, 11)) return false;
    const int scans = uparam(r, 5);
    // Each scan's pairs, as far as the record holds them whole.
    const auto forEachScan = [&](const auto& f) {
        std::int64_t at = kParams + 22;
        for (int s = 0; s < scans && r.has(at, 6); ++s) {
            const int pairs = r.u16(at) / 2;
            if (!r.has(at + 6, std::int64_t{pairs} * 4 + 2)) break;
            f(at, pairs);
            at += 8 + std::int64_t{pairs} * 4;
        }
    };
    std::int64_t count = 0;
    forEachScan([&](std::int64_t, int pairs) { count += pairs; });
    RegionObject region;
    if (!p_.admitRegion(region, count)) return true;  // playing ends: no room for it
    forEachScan([&](std::int64_t at, int pairs) {
        const double top = s16(r, at + 2), bottom = s16(r, at + 4);
        for (int i = 0; i < pairs; ++i) {
            const double left = s16(r, at + 6 + 4 * i), right = s16(r, at + 8 + 4 * i);
            region.rects.emplace_back(QPointF(left, top), QPointF(right, bottom));
        }
    });
    p_.objects().add(std::move(region));
    return true;
}

bool WmfRecords::objectRecord(Bytes r, std::uint16_t function) {
    if (!needs(r, 1)) return false;
    const GdiObject* object = p_.objects().get(uparam(r, 0));
    switch (function) {
        case 0x012D:  // SelectObject
            if (object) p_.select(*object);
            return true;
        case 0x01F0:  // DeleteObject
            p_.objects().remove(uparam(r, 0));
            return true;
        case 0x012C:  // SelectClipRegion
            if (object && std::holds_alternative<RegionObject>(*object))
                p_.select(*object);
            else
                p_.combineClip(nullptr, Combine::Copy);
            return true;
        case 0x0228:    // FillRegion: region, brush
        case 0x012B: {  // PaintRegion: region (current brush)
            const GdiObject* brush =
                function == 0x0228 && needs(r, 2) ? p_.objects().get(uparam(r, 1)) : nullptr;
            const auto* region = object ? std::get_if<RegionObject>(object) : nullptr;
            if (!region) return true;
            const BrushObject* b = brush ? std::get_if<BrushObject>(brush) : &p_.dc().brush;
            if (!b) return true;
            p_.fillPixelRects(p_.pixelRects(*region, p_.toPixels()), *b);
            return true;
        }
        default:
            return true;
    }
}

bool WmfRecords::text(Bytes r, std::uint16_t function) {
    const int charset = p_.dc().font.charset;
    if (function == 0x0521) {  // TextOut: length, string (padded to even), y, x
        if (!needs(r, 1)) return false;
        const int length = uparam(r, 0);
        const std::int64_t after = kParams + 2 + (length + 1) / 2 * 2;
        if (!r.has(after, 4)) return false;
        const QPointF at(s16(r, after + 2), s16(r, after));
        p_.text(at, decodeAnsi(r, kParams + 2, length, charset), {}, 0, std::nullopt);
        return true;
    }
    // ExtTextOut: y, x, length, options, [rectangle], string, [advances]
    if (!needs(r, 4)) return false;
    const int length = uparam(r, 2), options = uparam(r, 3);
    std::int64_t at = kParams + 8;
    std::optional<QRectF> rect;
    if (options & 0x6) {
        if (!r.has(at, 8)) return false;
        rect = QRectF(QPointF(s16(r, at), s16(r, at + 2)), QPointF(s16(r, at + 4), s16(r, at + 6)));
        at += 8;
    }
    if (!r.has(at, length)) return false;
    const QString s = decodeAnsi(r, at, length, charset);
    at += (length + 1) / 2 * 2;
    std::vector<QPointF> advances;
    // Advances per byte. Players of this record take no vertical advances: with ETO_PDY the
    // characters keep their own widths.
    if (!(options & 0x2000) && r.has(at, std::int64_t{length} * 2) && s.size() == length)
        for (int i = 0; i < length; ++i) advances.emplace_back(s16(r, at + 2 * i), 0);
    p_.text(yx(r, 0), s, advances, options, rect);
    return true;
}

bool WmfRecords::bitmap(Bytes r, std::uint16_t function) {
    // Parameters, from the first: raster operation (2 words), then the function's own.
    const std::uint32_t rop = r.u32(kParams);
    const bool noBitmap = r.size() == 2 * ((function >> 8) + 3);
    switch (function) {
        case 0x0940: {  // DIBBitBlt: rop, ySrc, xSrc, [reserved], height, width, yDest, xDest
            if (!needs(r, 8)) return false;
            const int o = noBitmap ? 1 : 0;
            const QRectF dest(param(r, 7 + o), param(r, 6 + o), param(r, 5 + o), param(r, 4 + o));
            if (noBitmap) return p_.blit(dest, QImage(), {}, rop), true;
            const auto dib = decodePackedDib(p_, r.sub(kParams + 16, r.size()));
            if (!dib) return false;
            p_.blit(dest, dib->image, QRectF(param(r, 3), param(r, 2), dest.width(), dest.height()),
                    rop);
            return true;
        }
        case 0x0B41:    // DIBStretchBlt: rop, sh, sw, ySrc, xSrc, [reserved], dh, dw, yDest, xDest
        case 0x0F43: {  // StretchDIBits: rop, usage, sh, sw, ySrc, xSrc, dh, dw, yDest, xDest
            const int o = function == 0x0F43 || noBitmap ? 1 : 0;
            if (!needs(r, 10 + o)) return false;
            const QRectF dest(param(r, 9 + o), param(r, 8 + o), param(r, 7 + o), param(r, 6 + o));
            const int b = function == 0x0F43 ? 1 : 0;  // StretchDIBits has the usage first
            QRectF source(param(r, 5 + b), param(r, 4 + b), param(r, 3 + b), param(r, 2 + b));
            if (noBitmap && function == 0x0B41) return p_.blit(dest, QImage(), {}, rop), true;
            const auto dib = decodePackedDib(p_, r.sub(kParams + 2 * (10 + o), r.size()));
            if (!dib) return false;
            if (function == 0x0F43 && !dib->topDown)  // measured from the bottom row
                source.moveTop(dib->image.height() - source.top() - source.height());
            p_.blit(dest, dib->image, source, rop);
            return true;
        }
        case 0x0D33: {  // SetDIBitsToDevice: usage, scans, start, yDib, xDib, h, w, yDest, xDest
            if (!needs(r, 9)) return false;
            const auto dib = decodePackedDib(p_, r.sub(kParams + 18, r.size()));
            if (!dib) return false;
            const QRectF dest(param(r, 8), param(r, 7), param(r, 6), param(r, 5));
            QRectF source(param(r, 4), param(r, 3), dest.width(), dest.height());
            if (!dib->topDown) source.moveTop(dib->image.height() - source.top() - source.height());
            p_.blit(dest, dib->image, source, 0x00CC0020);
            return true;
        }
        default:  // PatBlt: rop, height, width, y, x
            if (!needs(r, 6)) return false;
            p_.blit(QRectF(param(r, 5), param(r, 4), param(r, 3), param(r, 2)), QImage(), {}, rop);
            return true;
    }
}

bool WmfRecords::play(Bytes r, std::uint16_t function) {
    DcState& dc = p_.dc();
    switch (function) {
        case 0x0103:
            dc.mapMode = needs(r, 1) ? uparam(r, 0) : dc.mapMode;
            return true;
        case 0x0102:
            dc.bkMode = needs(r, 1) ? uparam(r, 0) : dc.bkMode;
            return true;
        case 0x0104:
            dc.rop2 = needs(r, 1) ? uparam(r, 0) : dc.rop2;
            return true;
        case 0x0106:
            if (needs(r, 1))
                dc.fillRule = uparam(r, 0) == 2 ? FillRule::Winding : FillRule::Alternate;
            return true;
        case 0x012E:
            dc.textAlign = needs(r, 1) ? uparam(r, 0) : dc.textAlign;
            return true;
        case 0x0201:
            dc.bkColour = needs(r, 2) ? colourRef(r.u32(kParams)) : dc.bkColour;
            return true;
        case 0x0209:
            dc.textColour = needs(r, 2) ? colourRef(r.u32(kParams)) : dc.textColour;
            return true;
        case 0x020B:
            if (needs(r, 2)) dc.windowOrg = yx(r, 0);
            return true;
        case 0x020C:
            if (needs(r, 2)) p_.setWindowExt(yx(r, 0));
            return true;
        case 0x020D:
            if (needs(r, 2)) dc.viewportOrg = yx(r, 0);
            return true;
        case 0x020E:
            if (needs(r, 2)) p_.setViewportExt(yx(r, 0));
            return true;
        case 0x020F:
            if (needs(r, 2)) dc.windowOrg += yx(r, 0);
            return true;
        case 0x0211:
            if (needs(r, 2)) dc.viewportOrg += yx(r, 0);
            return true;
        case 0x0410:  // ScaleWindowExt: yDenom, yNum, xDenom, xNum
        case 0x0412: {
            if (!needs(r, 4) || param(r, 0) == 0 || param(r, 2) == 0) return true;
            QPointF& ext = function == 0x0410 ? dc.windowExt : dc.viewportExt;
            const QPointF scaled(ext.x() * param(r, 3) / param(r, 2),
                                 ext.y() * param(r, 1) / param(r, 0));
            if (function == 0x0410)
                p_.setWindowExt(scaled);
            else
                p_.setViewportExt(scaled);
            return true;
        }
        case 0x001E:
            p_.saveDc();
            return true;
        case 0x0127:
            if (needs(r, 1)) p_.restoreDc(param(r, 0));
            return true;
        case 0x0214:
            if (needs(r, 2)) p_.moveTo(yx(r, 0));
            return true;
        case 0x0213:
            if (needs(r, 2)) p_.lineTo(yx(r, 0));
            return true;
        case 0x0324:
        case 0x0325:
            return poly(r, function);
        case 0x0538:
            return polyPolygon(r);
        case 0x041B:
            if (needs(r, 4)) p_.rectangle(box(r, 0));
            return true;
        case 0x0418:
            if (needs(r, 4)) p_.ellipse(box(r, 0));
            return true;
        case 0x061C:
            if (needs(r, 6)) p_.roundRect(box(r, 2), QSizeF(param(r, 1), param(r, 0)));
            return true;
        case 0x0817:
        case 0x0830:
        case 0x081A: {
            if (!needs(r, 8)) return false;
            const ArcKind kind = function == 0x0817   ? ArcKind::Arc
                                 : function == 0x0830 ? ArcKind::Chord
                                                      : ArcKind::Pie;
            p_.arc(kind, box(r, 4), yx(r, 2), yx(r, 0));
            return true;
        }
        case 0x041F:
            if (needs(r, 4)) p_.setPixel(yx(r, 2), colourRef(r.u32(kParams)));
            return true;
        case 0x0416:
            if (needs(r, 4)) p_.intersectClip(box(r, 0));
            return true;
        case 0x0415:
            if (needs(r, 4)) p_.excludeClip(box(r, 0));
            return true;
        case 0x0220:  // OffsetClipRgn: y, x
            if (needs(r, 2)) p_.offsetClip(yx(r, 0));
            return true;
        case 0x02FA:
        case 0x02FC:
        case 0x02FB:
        case 0x0142:
        case 0x06FF:
        case 0x01F9:
        case 0x00F7:
            return createObject(r, function);
        case 0x012D:
        case 0x01F0:
        case 0x012C:
        case 0x0228:
        case 0x012B:
            return objectRecord(r, function);
        case 0x0521:
        case 0x0A32:
            return text(r, function);
        case 0x0940:
        case 0x0B41:
        case 0x0F43:
        case 0x0D33:
        case 0x061D:
            return bitmap(r, function);
        // State that does not change the picture.
        case 0x0107:
        case 0x0234:
        case 0x0035:
        case 0x0231:
        case 0x0108:
        case 0x020A:
        case 0x0105:
        case 0x0626:
            return true;
        default:
            p_.skip(wmfRecordName(function));
            return true;
    }
}

}  // namespace

void playWmf(Bytes data, Player& player) {
    WmfRecords records(player);
    Stats* stats = player.stats();
    for (std::int64_t at = player.frame().recordsStart; data.has(at, 6);) {
        const std::int64_t size = std::int64_t{data.u32(at)} * 2;
        const std::uint16_t function = data.u16(at + 4);
        // A size below the smallest record or past the file ends the picture: it would loop
        // forever or read beyond the data.
        if (size < 6 || !data.has(at, size) || function == 0) {
            if (stats && function != 0) stats->stoppedEarly = true;
            break;
        }
        if (stats) ++stats->records;
        player.beginRecord();
        if (!records.play(data.sub(at, size), function)) player.skip(wmfRecordName(function));
        if (player.exhausted()) {
            if (stats) stats->stoppedEarly = true;
            break;
        }
        at += size;
    }
}

}  // namespace nt::mf
