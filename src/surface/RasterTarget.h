#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include <QImage>

#include "surface/Colour.h"
#include "surface/DirtyRows.h"

namespace nt {

// Where a raster primitive writes: an image's pixels plus the record of what it touched.
// Every write is clipped to the image; spans are inclusive on both ends.
class RasterTarget {
  public:
    RasterTarget(QImage& image, DirtyRows* dirty)
        : bits_(reinterpret_cast<Pixel*>(image.bits())),
          stride_(image.bytesPerLine() / 4),
          width_(image.width()),
          height_(image.height()),
          dirty_(dirty) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Pixel* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const Pixel* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }

    void span(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel p) {
        if (y < 0 || y >= height_) return;
        x0 = std::max<std::int64_t>(x0, 0);
        x1 = std::min<std::int64_t>(x1, width_ - 1);
        if (x0 > x1) return;
        std::fill(row(static_cast<int>(y)) + x0, row(static_cast<int>(y)) + x1 + 1, p);
        mark(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
    }
    void pixel(std::int64_t x, std::int64_t y, Pixel p) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        row(static_cast<int>(y))[x] = p;
        mark(static_cast<int>(y), static_cast<int>(x), static_cast<int>(x));
    }
    // For primitives that write rows themselves: records columns x0..x1 of row y.
    void mark(int y, int x0, int x1) {
        if (dirty_) dirty_->add(y, x0, x1);
    }

  private:
    Pixel* bits_;
    std::ptrdiff_t stride_;
    int width_;
    int height_;
    DirtyRows* dirty_;
};

// Pen styles of DrawStyle; dashes show only at width 1.
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

struct Pen {
    Pixel pixel = 0xFF000000u;
    int width = 1;  // 1..100
    PenStyle style = PenStyle::Solid;
};

// A tiled bitmap brush; pixel (x, y) of a surface takes pattern(x mod w, y mod h).
struct PatternBrush {
    QImage pattern;  // Format_RGB32, never null
};

// The fill brush of an operation: none (hollow), a solid colour, or a pattern.
struct Brush {
    enum class Kind { None, Solid, Pattern } kind = Kind::None;
    Pixel pixel = 0xFF000000u;
    std::shared_ptr<const PatternBrush> pattern;

    static Brush none() { return {}; }
    static Brush solid(Pixel p) { return {Kind::Solid, p, nullptr}; }
};

// Fills columns x0..x1 of row y with the brush (clipped); nothing for a hollow brush.
void fillSpanWithBrush(RasterTarget& t, const Brush& b, std::int64_t y, std::int64_t x0,
                       std::int64_t x1);

}  // namespace nt
