// Surface flood fill: scanline spans with an explicit stack of spans.
//
// Painted pixels must stop matching, or the fill would find them again. When the brush can
// reproduce the start colour, the area is first painted with that colour's alpha cleared
// (never a match, since the surface's pixels are opaque), the painted spans are kept, and
// the brush goes over them afterwards.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "surface/Blit.h"

namespace nt {

namespace {

constexpr Pixel kOpaque = 0xFF000000u;
constexpr Pixel kRgb = 0x00FFFFFFu;

// Pixels are compared and written in blocks of this many: whole blocks compile to wide
// loads and stores, which is what makes a large fill cost about what writing it costs.
constexpr int kBlock = 16;

// The last pixel of the run of `match` that continues from x (which matches).
int runEnd(const Pixel* row, int x, int width, Pixel match) {
    ++x;
    for (; x + kBlock <= width; x += kBlock) {
        Pixel differ = 0;
        for (int k = 0; k < kBlock; ++k) differ |= row[x + k] ^ match;
        if (differ != 0) break;
    }
    while (x < width && row[x] == match) ++x;
    return x - 1;
}

void fillPixels(Pixel* p, int n, Pixel colour) {
    Pixel block[kBlock];
    std::fill(block, block + kBlock, colour);
    int k = 0;
    for (; k + kBlock <= n; k += kBlock) std::memcpy(p + k, block, sizeof block);
    for (; k < n; ++k) p[k] = colour;
}

// A solid colour over columns x0..x1 of row y (inside the target).
void paintSolid(RasterTarget& t, int y, int x0, int x1, Pixel colour) {
    fillPixels(t.row(y) + x0, x1 - x0 + 1, colour);
    t.mark(y, x0, x1);
}

void paintBrush(RasterTarget& t, const Brush& b, int y, int x0, int x1) {
    if (b.kind == Brush::Kind::Solid) {
        paintSolid(t, y, x0, x1, b.pixel);
    } else {
        fillSpanWithBrush(t, b, y, x0, x1);
    }
}

struct Seed {
    int y, x0, x1;  // row y is to be searched over x0..x1 ...
    int dy;         // ... because row y - dy was painted there
};

// Paints the 4-connected area of `match` pixels around (x, y) a run at a time; paint(y, x0,
// x1) must leave the pixels not equal to `match`. The stack holds spans, never pixels.
template <class Paint>
void fillArea(RasterTarget& t, int x, int y, Pixel match, Paint&& paint) {
    const int width = t.width(), height = t.height();
    std::vector<Seed> stack;
    auto push = [&](int row, int x0, int x1, int dy) {
        if (row >= 0 && row < height) stack.push_back({row, x0, x1, dy});
    };
    {
        const Pixel* row = t.row(y);
        int l = x;
        while (l > 0 && row[l - 1] == match) --l;
        const int r = runEnd(row, x, width, match);
        paint(y, l, r);
        push(y + 1, l, r, 1);
        push(y - 1, l, r, -1);
    }
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        const Pixel* row = t.row(s.y);
        int x = s.x0;
        if (row[x] == match) {
            // Only the first run can reach left of the seed.
            int l = x;
            while (l > 0 && row[l - 1] == match) --l;
            const int r = runEnd(row, x, width, match);
            paint(s.y, l, r);
            push(s.y + s.dy, l, r, s.dy);
            if (l < s.x0) push(s.y - s.dy, l, s.x0 - 1, -s.dy);
            if (r > s.x1) push(s.y - s.dy, s.x1 + 1, r, -s.dy);
            x = r + 2;
        }
        while (x <= s.x1) {
            while (x <= s.x1 && row[x] != match) ++x;
            if (x > s.x1) break;
            const int r = runEnd(row, x, width, match);
            paint(s.y, x, r);
            push(s.y + s.dy, x, r, s.dy);
            if (r > s.x1) push(s.y - s.dy, s.x1 + 1, r, -s.dy);
            x = r + 2;
        }
    }
}

// A pattern brush that fillSpanWithBrush can read (32-bit words), or none when unusable.
Brush usableBrush(const Brush& b) {
    if (b.kind != Brush::Kind::Pattern) return b;
    if (!b.pattern || b.pattern->pattern.isNull()) return Brush::none();
    const QImage& p = b.pattern->pattern;
    if (p.format() == QImage::Format_RGB32) return b;
    Brush converted = b;
    converted.pattern =
        std::make_shared<const PatternBrush>(PatternBrush{p.convertToFormat(QImage::Format_RGB32)});
    return converted;
}

bool brushCanPaint(const Brush& b, Pixel colour) {
    if (b.kind == Brush::Kind::Solid) return ((b.pixel ^ colour) & kRgb) == 0;
    const QImage& p = b.pattern->pattern;
    for (int y = 0; y < p.height(); ++y) {
        const auto* row = reinterpret_cast<const Pixel*>(p.constScanLine(y));
        for (int x = 0; x < p.width(); ++x)
            if (((row[x] ^ colour) & kRgb) == 0) return true;
    }
    return false;
}

struct Span {
    int y, x0, x1;
};

}  // namespace

void floodFillSurface(RasterTarget& t, std::int64_t x, std::int64_t y, Pixel surface,
                      const Brush& brush) {
    if (x < 0 || y < 0 || x >= t.width() || y >= t.height()) return;
    const Brush b = usableBrush(brush);
    if (b.kind == Brush::Kind::None) return;
    const Pixel match = surface | kOpaque;
    const int sx = static_cast<int>(x), sy = static_cast<int>(y);
    if (t.row(sy)[sx] != match) return;
    if (!brushCanPaint(b, match)) {
        fillArea(t, sx, sy, match, [&](int row, int x0, int x1) { paintBrush(t, b, row, x0, x1); });
        return;
    }
    std::vector<Span> painted;
    const Pixel marker = match & kRgb;
    fillArea(t, sx, sy, match, [&](int row, int x0, int x1) {
        paintSolid(t, row, x0, x1, marker);
        painted.push_back({row, x0, x1});
    });
    for (const Span& s : painted) paintBrush(t, b, s.y, s.x0, s.x1);
}

}  // namespace nt
