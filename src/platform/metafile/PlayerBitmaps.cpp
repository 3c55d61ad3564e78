#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Dib.h"
#include "platform/metafile/MetafileDib.h"
#include "platform/metafile/Player.h"
#include "platform/metafile/PlayerInternal.h"

namespace nt::mf {

namespace {

// Bitmaps inside a metafile are pictures within a picture: far smaller than a canvas.
// Where in a destination pixel the source is sampled: a quarter pixel in matched the
// reference renderer's scaled bitmaps best, between its shrinking and growing rules.
constexpr double kPhase = 0.25;
constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 25;
// A turned pixel finds its source pixel on its own: measured at three to four times a
// straight one (bench/metafile_bench times whole pictures of them).
constexpr double kWorkPerTurnedPixel = 4;

// One bit of a ternary raster operation: the code's bit for each (pattern, source, dest).
Pixel ternary(std::uint32_t code, Pixel p, Pixel s, Pixel d) {
    Pixel out = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return out | 0xFF000000u;
}

// AlphaBlend of a premultiplied source pixel with a BLENDFUNCTION: its constant alpha in
// byte 2 and whether the source's own alpha counts in byte 3.
Pixel alphaBlend(Pixel s, Pixel d, std::uint32_t function) {
    const std::uint32_t constant = (function >> 16) & 0xFF;
    const std::uint32_t alpha = (function >> 24) & 1 ? s >> 24 : 255;
    const std::uint32_t keep = 255 * 255 - alpha * constant;  // of 255 * 255
    Pixel out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t cs = (s >> shift) & 0xFF, cd = (d >> shift) & 0xFF;
        const std::uint32_t c = (cs * constant * 255 + cd * keep) / (255 * 255);
        out |= std::min<std::uint32_t>(c, 255) << shift;
    }
    return out;
}

// The first pixel whose centre is at or right of v.
std::int64_t edge(double v) {
    return static_cast<std::int64_t>(std::clamp(std::ceil(v - 0.5), -kFar, kFar));
}

// The pixel at `at` along a source side of `size` pixels, within 0..size-1; the first one for
// a number that is none (a NaN source transform). Truncating what lies inside is the floor
// there.
int clampedIndex(double at, int size) {
    if (!(at > 0)) return 0;
    return at < size - 1 ? static_cast<int>(at) : size - 1;
}

// The source pixel at fraction f of a source stretch from `start`, `length` long (negative
// when mirrored).
int sourceIndex(double start, double length, double f, int size) {
    return clampedIndex(start + f * length, size);
}

}  // namespace

std::optional<Dib> decodeDib(Player& player, Bytes info, Bytes bits, bool keepAlpha) {
    if (info.size() < 12) return std::nullopt;
    QByteArray joined;
    joined.reserve(info.size() + bits.size());
    joined.append(reinterpret_cast<const char*>(info.data()), info.size());
    joined.append(reinterpret_cast<const char*>(bits.data()), bits.size());
    const Bytes whole(reinterpret_cast<const std::uint8_t*>(joined.constData()), joined.size());
    auto parsed = dib::parse(whole, dib::Kind::File, info.size());
    auto* header = std::get_if<dib::Info>(&parsed);
    // AlphaBlend reads the fourth byte of 32-bit pixels as alpha, masks or not.
    if (header && keepAlpha && header->bitCount == 32 && header->masks[3].bits == 0)
        header->masks[3] = dib::makeMask(0xFF000000u);
    if (!header || header->width * header->height > kMaxDibPixels ||
        header->compression == dib::Compression::Jpeg ||
        header->compression == dib::Compression::Png)
        return std::nullopt;
    Hold hold = player.admitBitmap(header->width, header->height);
    if (!hold) return std::nullopt;
    auto pixels = dib::decodePixels(*header, whole, keepAlpha);
    auto* image = std::get_if<QImage>(&pixels);
    if (!image) return std::nullopt;
    return Dib{std::move(*image), header->topDown, std::move(hold)};
}

std::optional<Dib> decodePackedDib(Player& player, Bytes dib) {
    auto parsed = dib::parse(dib, dib::Kind::Packed);
    const auto* header = std::get_if<dib::Info>(&parsed);
    if (!header) return std::nullopt;
    return decodeDib(player, dib.sub(0, header->bitsOffset),
                     dib.sub(header->bitsOffset, dib.size()));
}

// Writes destination pixels from source pixels by a blit's blend or raster operation.
class BlitWriter {
  public:
    BlitWriter(Brush brush, std::uint32_t rop, Blend blend, bool hasSource)
        : brush_(std::move(brush)),
          code_((rop >> 16) & 0xFF),
          blend_(hasSource ? blend.kind : Blend::Kind::Rop),
          value_(blend.value),
          key_(nt::toPixel(blend.value) & 0xFFFFFFu) {}

    // Row y is about to be written.
    void startRow(std::int64_t y) {
        if (brush_.kind != Brush::Kind::Pattern) return;
        const QImage& tile = brush_.pattern->pattern;
        pattern_ = reinterpret_cast<const Pixel*>(tile.constScanLine(int(y % tile.height())));
        patternWidth_ = tile.width();
    }
    // Pixel `d` at column x of the row started, met by source pixel `s` (0 without a source).
    void put(Pixel& d, std::int64_t x, Pixel s) const {
        if (blend_ == Blend::Kind::Alpha) {
            d = alphaBlend(s, d, value_);
        } else if (blend_ == Blend::Kind::ColourKey) {
            if ((s & 0xFFFFFFu) != key_) d = s | 0xFF000000u;
        } else if (code_ == 0xCC) {
            d = s | 0xFF000000u;
        } else {
            const Pixel p = pattern_ ? pattern_[x % patternWidth_] : brush_.pixel;
            if (p >> 24 == 0 && pattern_) return;  // between hatch lines, transparent
            d = ternary(code_, p, s, d);
        }
    }

  private:
    Brush brush_;
    std::uint32_t code_;
    Blend::Kind blend_;
    std::uint32_t value_;
    Pixel key_;
    const Pixel* pattern_ = nullptr;
    int patternWidth_ = 1;
};

void Player::blit(QRectF dest, const QImage& bitmap, QRectF source, std::uint32_t rop,
                  Blend blend) {
    if (recording_ || !mapsFinitely()) return;
    prepareTarget();
    const QTransform t = toPixels();
    BlitWriter writer(surfaceBrush(dc_.brush), rop, blend, !bitmap.isNull());
    if (t.isRotating())
        blitTurned(t, dest, bitmap, source, writer);
    else
        blitStraight(t, dest, bitmap, source, writer);
}

void Player::blitStraight(const QTransform& t, QRectF dest, const QImage& bitmap, QRectF source,
                          BlitWriter& writer) {
    const QPointF p0 = t.map(dest.topLeft()), p1 = t.map(dest.bottomRight());
    const double left = std::min(p0.x(), p1.x()), right = std::max(p0.x(), p1.x());
    const double top = std::min(p0.y(), p1.y()), bottom = std::max(p0.y(), p1.y());
    std::int64_t x0 = edge(left), x1 = edge(right) - 1;
    const std::int64_t y0 = std::max<std::int64_t>(edge(top), target_.clipTop());
    const std::int64_t y1 = std::min<std::int64_t>(edge(bottom) - 1, target_.clipBottom());
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, image_.width() - 1);
    if (y0 > y1 || x0 > x1) return;
    charge(double(y1 - y0 + 1) * double(x1 - x0 + 1));
    if (overBudget()) return;

    const bool hasSource = !bitmap.isNull();
    // Source column of every destination column, mirrored when the destination is.
    std::vector<int> columns;
    if (hasSource) {
        columns.resize(static_cast<std::size_t>(x1 - x0 + 1));
        for (std::int64_t x = x0; x <= x1; ++x) {
            const double u = (double(x) + kPhase - p0.x()) / (p1.x() - p0.x());
            columns[static_cast<std::size_t>(x - x0)] =
                sourceIndex(source.left(), source.width(), u, bitmap.width());
        }
    }
    for (std::int64_t y = y0; y <= y1; ++y) {
        Pixel* row = target_.row(static_cast<int>(y));
        const Pixel* src = nullptr;
        if (hasSource) {
            const double v = (double(y) + kPhase - p0.y()) / (p1.y() - p0.y());
            src = reinterpret_cast<const Pixel*>(bitmap.constScanLine(
                sourceIndex(source.top(), source.height(), v, bitmap.height())));
        }
        writer.startRow(y);
        target_.forEachVisible(y, x0, x1, [&](std::int64_t a, std::int64_t b) {
            for (std::int64_t x = a; x <= b; ++x)
                writer.put(row[x], x, src ? src[columns[static_cast<std::size_t>(x - x0)]] : 0);
        });
    }
}

// Under a turning (or shearing) mapping the bitmap turns with it, as GDI turns it: every pixel
// whose centre lies in the turned rectangle takes the source pixel that centre maps back to.
void Player::blitTurned(const QTransform& t, QRectF dest, const QImage& bitmap, QRectF source,
                        BlitWriter& writer) {
    // The rectangle in pixels is o + u * a + v * b for u and v in [0, 1).
    const QPointF o = t.map(dest.topLeft());
    const QPointF a = t.map(dest.topRight()) - o, b = t.map(dest.bottomLeft()) - o;
    const double det = a.x() * b.y() - a.y() * b.x();
    // u and v of a pixel centre (x, y): u = uAt + uPerX * x with uAt = uRow + uPerY * y.
    const double uPerX = b.y() / det, uPerY = -b.x() / det;
    const double vPerX = -a.y() / det, vPerY = a.x() / det;
    const double uRow = -(uPerX * o.x() + uPerY * o.y()), vRow = -(vPerX * o.x() + vPerY * o.y());
    // A flat rectangle covers no pixel centre; past double's range nothing is reliable.
    if (!std::isfinite(uPerX + uPerY + vPerX + vPerY + uRow + vRow) || det == 0) return;

    const double top = std::min({o.y(), o.y() + a.y(), o.y() + b.y(), o.y() + a.y() + b.y()});
    const double bottom = std::max({o.y(), o.y() + a.y(), o.y() + b.y(), o.y() + a.y() + b.y()});
    const std::int64_t y0 = std::max<std::int64_t>(edge(top), target_.clipTop());
    const std::int64_t y1 = std::min<std::int64_t>(edge(bottom) - 1, target_.clipBottom());
    // The columns of row y whose centres may lie inside, within the picture: solved from
    // 0 <= u, v < 1 and widened by one, as the test of each pixel below is the exact one.
    const double lastColumn = image_.width() - 1;
    const auto columns = [&](std::int64_t y) {
        const double cy = double(y) + 0.5;
        double lo = -kFar, hi = kFar;
        for (const auto& [at, perX] :
             {std::pair(uRow + uPerY * cy, uPerX), std::pair(vRow + vPerY * cy, vPerX)}) {
            if (perX == 0) {
                if (!(at >= 0 && at < 1)) return std::pair<std::int64_t, std::int64_t>(0, -1);
                continue;
            }
            const double e0 = -at / perX, e1 = (1 - at) / perX;
            lo = std::max(lo, std::min(e0, e1));
            hi = std::min(hi, std::max(e0, e1));
        }
        if (!(lo <= hi)) return std::pair<std::int64_t, std::int64_t>(0, -1);
        return std::pair(static_cast<std::int64_t>(std::max(std::floor(lo - 0.5) - 1, 0.0)),
                         static_cast<std::int64_t>(std::min(std::ceil(hi - 0.5) + 1, lastColumn)));
    };
    // Charged for the pixels it visits, not the turned rectangle's bounds.
    double pixels = 0;
    for (std::int64_t y = y0; y <= y1; ++y) {
        const auto [x0, x1] = columns(y);
        pixels += double(std::max<std::int64_t>(x1 - x0 + 1, 0));
    }
    charge(kWorkPerTurnedPixel * pixels + double(std::max<std::int64_t>(y1 - y0 + 1, 0)));
    if (overBudget()) return;

    const auto* bits = bitmap.isNull() ? nullptr : bitmap.constBits();
    const qsizetype stride = bitmap.bytesPerLine();
    const int width = bitmap.width(), height = bitmap.height();
    // Along a row the source position moves by a fixed step per pixel.
    const double sxPerX = source.width() * uPerX, syPerX = source.height() * vPerX;
    for (std::int64_t y = y0; y <= y1; ++y) {
        auto [x0, x1] = columns(y);
        const double cy = double(y) + 0.5;
        const double uAt = uRow + uPerY * cy, vAt = vRow + vPerY * cy;
        const auto inside = [&](std::int64_t x) {
            const double u = uAt + uPerX * (double(x) + 0.5), v = vAt + vPerX * (double(x) + 0.5);
            return u >= 0 && u < 1 && v >= 0 && v < 1;
        };
        // The columns inside are one run: trim the widened ends to it.
        while (x0 <= x1 && !inside(x0)) ++x0;
        while (x1 >= x0 && !inside(x1)) --x1;
        if (x0 > x1) continue;
        Pixel* row = target_.row(static_cast<int>(y));
        const double sxAt = source.left() + source.width() * uAt;
        const double syAt = source.top() + source.height() * vAt;
        writer.startRow(y);
        target_.forEachVisible(y, x0, x1, [&](std::int64_t from, std::int64_t to) {
            for (std::int64_t x = from; x <= to; ++x) {
                Pixel s = 0;
                if (bits) {
                    const double cx = double(x) + 0.5;
                    const int sy = clampedIndex(syAt + syPerX * cx, height);
                    const int sx = clampedIndex(sxAt + sxPerX * cx, width);
                    s = reinterpret_cast<const Pixel*>(bits + sy * stride)[sx];
                }
                writer.put(row[x], x, s);
            }
        });
    }
}

}  // namespace nt::mf
