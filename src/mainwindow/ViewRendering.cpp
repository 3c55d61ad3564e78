#include "mainwindow/ViewRendering.h"

#include <algorithm>
#include <cstring>

#include <QElapsedTimer>

namespace nt {
namespace {

using Pixel = std::uint32_t;

// A grid line over a pixel: light pixels darken, dark ones lighten, so the line shows on both.
Pixel gridPixel(Pixel p) {
    const Pixel r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const bool light = r * 2 + g * 5 + b > 128 * 8;
    const Pixel half = (p >> 1) & 0x7F7F7F;
    return 0xFF000000 | (light ? half + ((p >> 3) & 0x1F1F1F) : half + 0x606060);
}

// The mean of four pixels, channel by channel, rounded.
inline Pixel mean4(Pixel a, Pixel b, Pixel c, Pixel d) {
    constexpr Pixel kMask = 0x00FF00FF;
    const Pixel lo = (a & kMask) + (b & kMask) + (c & kMask) + (d & kMask) + 0x00020002;
    const Pixel hi = ((a >> 8) & kMask) + ((b >> 8) & kMask) + ((c >> 8) & kMask) +
                     ((d >> 8) & kMask) + 0x00020002;
    return ((lo >> 2) & kMask) | (((hi >> 2) & kMask) << 8);
}

// Rows y0..y1 and columns x0..x1 of `to`, the half of `from`; a last odd row or column of
// `from` counts twice.
void halve(const QImage& from, QImage& to, int x0, int y0, int x1, int y1) {
    const int lastX = from.width() - 1, lastY = from.height() - 1;
    for (int y = y0; y <= y1; ++y) {
        const auto* top = reinterpret_cast<const Pixel*>(from.constScanLine(2 * y));
        const auto* bottom =
            reinterpret_cast<const Pixel*>(from.constScanLine(std::min(2 * y + 1, lastY)));
        auto* out = reinterpret_cast<Pixel*>(to.scanLine(y));
        // The last column may have no right neighbour: it is done on its own below.
        const int whole = std::min(x1, from.width() / 2 - 1);
        for (int x = x0; x <= whole; ++x)
            out[x] = mean4(top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]);
        for (int x = std::max(x0, whole + 1); x <= x1; ++x) {
            const int l = 2 * x, r = std::min(2 * x + 1, lastX);
            out[x] = mean4(top[l], top[r], bottom[l], bottom[r]);
        }
    }
}

}  // namespace

void magnifyInto(const QImage& picture, int m, const QRect& screen, bool grid, QImage& out) {
    if (out.width() < screen.width() || out.height() < screen.height())
        out = QImage(std::max(out.width(), screen.width()), std::max(out.height(), screen.height()),
                     QImage::Format_RGB32);
    std::vector<Pixel> row(static_cast<size_t>(screen.width()));
    const size_t rowBytes = row.size() * sizeof(Pixel);
    int rowOf = -1;  // the picture row `row` holds
    for (int y = 0; y < screen.height(); ++y) {
        const int sy = screen.top() + y, py = sy / m;
        if (py != rowOf) {
            const auto* src = reinterpret_cast<const Pixel*>(picture.constScanLine(py));
            int sx = screen.left();
            Pixel* to = row.data();
            while (sx <= screen.right()) {
                const int px = sx / m;
                const int run = std::min((px + 1) * m, screen.right() + 1) - sx;
                const Pixel p = src[px];
                std::fill_n(to, run, p);
                if (grid && sx % m == 0) *to = gridPixel(p);
                to += run;
                sx += run;
            }
            rowOf = py;
        }
        auto* line = reinterpret_cast<Pixel*>(out.scanLine(y));
        if (grid && sy % m == 0)
            std::transform(row.begin(), row.end(), line, gridPixel);
        else
            std::memcpy(line, row.data(), rowBytes);
    }
}

void ReductionCache::clear() {
    levels_ = {};
    rough_.clear();
}

void ReductionCache::prepare(Level& level, QSize size) {
    if (level.image.size() == size) return;
    level.image = QImage(size, QImage::Format_RGB32);
    level.tilesX = (size.width() + kTile - 1) / kTile;
    level.tilesY = (size.height() + kTile - 1) / kTile;
    level.valid.assign(static_cast<size_t>(level.tilesX) * static_cast<size_t>(level.tilesY), 0);
}

void ReductionCache::invalidate(const QRect& changed) {
    for (size_t k = 0; k < levels_.size(); ++k) {
        Level& level = levels_[k];
        if (level.valid.empty() || changed.isEmpty()) continue;
        const int shift = static_cast<int>(k) + 1, tileShift = shift + 6;  // kTile is 2^6
        const int tx0 = std::clamp(changed.left() >> tileShift, 0, level.tilesX - 1);
        const int tx1 = std::clamp(changed.right() >> tileShift, 0, level.tilesX - 1);
        const int ty0 = std::clamp(changed.top() >> tileShift, 0, level.tilesY - 1);
        const int ty1 = std::clamp(changed.bottom() >> tileShift, 0, level.tilesY - 1);
        for (int ty = ty0; ty <= ty1; ++ty)
            std::fill_n(level.valid.begin() + ty * level.tilesX + tx0, tx1 - tx0 + 1, 0);
    }
}

const QImage& ReductionCache::reduced(const QImage& picture, int shift, const QRect& area) {
    shift = std::clamp(shift, 1, 3);
    update(picture, shift, area);
    return levels_[static_cast<size_t>(shift - 1)].image;
}

void ReductionCache::update(const QImage& picture, int shift, const QRect& area) {
    const QImage& above = shift == 1 ? picture : levels_[static_cast<size_t>(shift - 2)].image;
    Level& level = levels_[static_cast<size_t>(shift - 1)];
    const int scale = 1 << shift;
    prepare(level,
            QSize((picture.width() + scale - 1) / scale, (picture.height() + scale - 1) / scale));
    const QRect want = area & level.image.rect();
    if (want.isEmpty()) return;
    const int tx0 = want.left() / kTile, tx1 = want.right() / kTile;
    const int ty0 = want.top() / kTile, ty1 = want.bottom() / kTile;
    bool stale = false;
    for (int ty = ty0; ty <= ty1 && !stale; ++ty)
        for (int tx = tx0; tx <= tx1 && !stale; ++tx)
            stale = level.valid[static_cast<size_t>(ty * level.tilesX + tx)] != kMade;
    if (!stale) return;
    // The level above must be up to date under every tile made here.
    if (shift > 1) {
        const QRect tiles(tx0 * kTile, ty0 * kTile, (tx1 - tx0 + 1) * kTile,
                          (ty1 - ty0 + 1) * kTile);
        update(picture, shift - 1, QRect(tiles.topLeft() * 2, tiles.size() * 2));
    }
    for (int ty = ty0; ty <= ty1; ++ty) {
        for (int tx = tx0; tx <= tx1; ++tx) {
            std::uint8_t& valid = level.valid[static_cast<size_t>(ty * level.tilesX + tx)];
            if (valid == kMade) continue;
            const QRect tile = QRect(tx * kTile, ty * kTile, kTile, kTile) & level.image.rect();
            halve(above, level.image, tile.left(), tile.top(), tile.right(), tile.bottom());
            valid = kMade;
        }
    }
}

const QImage& ReductionCache::shown(const QImage& picture, int shift, const QRect& area) {
    shift = std::clamp(shift, 1, 3);
    Level& level = levels_[static_cast<size_t>(shift - 1)];
    const int scale = 1 << shift;
    prepare(level,
            QSize((picture.width() + scale - 1) / scale, (picture.height() + scale - 1) / scale));
    if (shift != roughShift_) rough_.clear();
    roughShift_ = shift;
    const QRect want = area & level.image.rect();
    if (want.isEmpty()) return level.image;
    for (int ty = want.top() / kTile; ty <= want.bottom() / kTile; ++ty) {
        for (int tx = want.left() / kTile; tx <= want.right() / kTile; ++tx) {
            std::uint8_t& valid = level.valid[static_cast<size_t>(ty * level.tilesX + tx)];
            if (valid != kStale) continue;
            const QRect tile = QRect(tx * kTile, ty * kTile, kTile, kTile) & level.image.rect();
            // The pixel nearest the middle of each square stands for it until it is made.
            for (int y = tile.top(); y <= tile.bottom(); ++y) {
                const auto* from = reinterpret_cast<const Pixel*>(
                    picture.constScanLine(std::min(y * scale + scale / 2, picture.height() - 1)));
                auto* to = reinterpret_cast<Pixel*>(level.image.scanLine(y));
                for (int x = tile.left(); x <= tile.right(); ++x)
                    to[x] = from[std::min(x * scale + scale / 2, picture.width() - 1)];
            }
            valid = kSampled;
            rough_.push_back(QPoint(tx, ty));
        }
    }
    return level.image;
}

QRect ReductionCache::refine(const QImage& picture, int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    QRect done;
    Level& level = levels_[static_cast<size_t>(roughShift_ - 1)];
    while (!rough_.empty() && clock.elapsed() < budgetMs) {
        const QPoint t = rough_.back();
        rough_.pop_back();
        if (t.x() >= level.tilesX || t.y() >= level.tilesY ||
            level.valid[static_cast<size_t>(t.y() * level.tilesX + t.x())] != kSampled)
            continue;
        const QRect tile = QRect(t * kTile, QSize(kTile, kTile)) & level.image.rect();
        update(picture, roughShift_, tile);
        done |= tile;
    }
    return done;
}

}  // namespace nt
