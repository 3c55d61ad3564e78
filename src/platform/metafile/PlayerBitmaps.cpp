#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Dib.h"
#include "platform/metafile/MetafileDib.h"
#include "platform/metafile/Player.h"

namespace nt::mf {

namespace {

// Bitmaps inside a metafile are pictures within a picture: far smaller than a canvas.
// Where in a destination pixel the source is sampled: a quarter pixel in matched the
// reference renderer's scaled bitmaps best, between its shrinking and growing rules.
constexpr double kPhase = 0.25;
constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 25;

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

void Player::blit(QRectF dest, const QImage& bitmap, QRectF source, std::uint32_t rop,
                  Blend blend) {
    if (recording_ || !mapsFinitely()) return;
    prepareTarget();
    const QTransform t = toPixels();
    const QPointF p0 = t.map(dest.topLeft()), p1 = t.map(dest.bottomRight());
    const double left = std::min(p0.x(), p1.x()), right = std::max(p0.x(), p1.x());
    const double top = std::min(p0.y(), p1.y()), bottom = std::max(p0.y(), p1.y());
    const auto edge = [](double v) {
        return static_cast<std::int64_t>(std::clamp(std::ceil(v - 0.5), -1e9, 1e9));
    };
    std::int64_t x0 = edge(left), x1 = edge(right) - 1;
    const std::int64_t y0 = std::max<std::int64_t>(edge(top), target_.clipTop());
    const std::int64_t y1 = std::min<std::int64_t>(edge(bottom) - 1, target_.clipBottom());
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, image_.width() - 1);
    if (y0 > y1 || x0 > x1) return;
    charge(double(y1 - y0 + 1) * double(x1 - x0 + 1));
    if (overBudget()) return;

    const bool hasSource = !bitmap.isNull();
    const std::uint32_t code = (rop >> 16) & 0xFF;
    // Source column of every destination column, mirrored when the destination is.
    std::vector<int> columns;
    if (hasSource) {
        columns.resize(static_cast<std::size_t>(x1 - x0 + 1));
        for (std::int64_t x = x0; x <= x1; ++x) {
            const double u = (double(x) + kPhase - p0.x()) / (p1.x() - p0.x());
            const double sx = std::floor(source.left() + u * source.width());
            columns[static_cast<std::size_t>(x - x0)] =
                static_cast<int>(std::clamp(sx, 0.0, double(bitmap.width() - 1)));
        }
    }
    const Brush brush = surfaceBrush(dc_.brush);
    for (std::int64_t y = y0; y <= y1; ++y) {
        Pixel* row = target_.row(static_cast<int>(y));
        const Pixel* src = nullptr;
        if (hasSource) {
            const double v = (double(y) + kPhase - p0.y()) / (p1.y() - p0.y());
            const double sy = std::floor(source.top() + v * source.height());
            src = reinterpret_cast<const Pixel*>(bitmap.constScanLine(
                static_cast<int>(std::clamp(sy, 0.0, double(bitmap.height() - 1)))));
        }
        const Pixel* pattern = nullptr;
        int patternWidth = 1;
        if (brush.kind == Brush::Kind::Pattern) {
            const QImage& tile = brush.pattern->pattern;
            pattern = reinterpret_cast<const Pixel*>(tile.constScanLine(int(y % tile.height())));
            patternWidth = tile.width();
        }
        target_.forEachVisible(y, x0, x1, [&](std::int64_t a, std::int64_t b) {
            for (std::int64_t x = a; x <= b; ++x) {
                const Pixel s = src ? src[columns[static_cast<std::size_t>(x - x0)]] : 0;
                if (blend.kind == Blend::Kind::Alpha && src) {
                    row[x] = alphaBlend(s, row[x], blend.value);
                    continue;
                }
                if (blend.kind == Blend::Kind::ColourKey && src) {
                    if ((s & 0xFFFFFFu) != (nt::toPixel(blend.value) & 0xFFFFFFu))
                        row[x] = s | 0xFF000000u;
                    continue;
                }
                if (code == 0xCC) {
                    row[x] = s | 0xFF000000u;
                    continue;
                }
                const Pixel p = pattern ? pattern[x % patternWidth] : brush.pixel;
                if (p >> 24 == 0 && pattern) continue;  // between hatch lines, transparent
                row[x] = ternary(code, p, s, row[x]);
            }
        });
    }
}

}  // namespace nt::mf
