#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QImage>

#include "surface/Colour.h"
#include "surface/DirtyRows.h"

namespace nt {

// A clip shape as sorted, disjoint inclusive column intervals per row.
struct ClipSpans {
    using Row = std::vector<std::pair<std::int64_t, std::int64_t>>;
    std::int64_t top = 0;   // the image row of rows[0]
    std::vector<Row> rows;  // rows outside are empty
    const Row& row(std::int64_t y) const {
        static const Row kEmpty;
        y -= top;
        return y >= 0 && y < static_cast<std::int64_t>(rows.size()) ? rows[y] : kEmpty;
    }
};

// Where a raster primitive writes: an image's pixels plus the record of what it touched.
// Every write is clipped to the image; spans are inclusive on both ends.
class RasterTarget {
  public:
    RasterTarget(QImage& image, DirtyRows* dirty)
        : bits_(reinterpret_cast<Pixel*>(image.bits())),
          stride_(image.bytesPerLine() / 4),
          width_(image.width()),
          height_(image.height()),
          dirty_(dirty),
          clipRight_(width_ - 1),
          clipBottom_(height_ - 1) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Pixel* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const Pixel* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }

    void span(std::int64_t y, std::int64_t x0, std::int64_t x1, Pixel p) {
        forEachVisible(y, x0, x1, [&](std::int64_t a, std::int64_t b) {
            Pixel* r = row(static_cast<int>(y));
            if (rop2_ == kCopyPen)
                std::fill(r + a, r + b + 1, p);
            else
                for (std::int64_t x = a; x <= b; ++x) r[x] = mix(p, r[x]);
            mark(static_cast<int>(y), static_cast<int>(a), static_cast<int>(b));
        });
    }
    // Calls f(a, b) for each part a..b of columns x0..x1 of row y that the clip lets through.
    template <class F>
    void forEachVisible(std::int64_t y, std::int64_t x0, std::int64_t x1, F&& f) const {
        if (!clipSpan(y, x0, x1)) return;
        if (!spans_) return f(x0, x1);
        for (const auto& [a, b] : spans_->row(y))
            if (a <= x1 && b >= x0) f(std::max<std::int64_t>(a, x0), std::min<std::int64_t>(b, x1));
    }
    void pixel(std::int64_t x, std::int64_t y, Pixel p) { span(y, x, x, p); }

    // Limits every later write to columns x0..x1 and rows y0..y1 (inclusive) inside the
    // image; the whole image by default.
    void setClip(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        clipLeft_ = static_cast<int>(std::clamp<std::int64_t>(x0, 0, width_));
        clipTop_ = static_cast<int>(std::clamp<std::int64_t>(y0, 0, height_));
        clipRight_ = static_cast<int>(std::clamp<std::int64_t>(x1, -1, width_ - 1));
        clipBottom_ = static_cast<int>(std::clamp<std::int64_t>(y1, -1, height_ - 1));
    }
    // Cuts [x0, x1] of row y to the clip; false when nothing is left.
    bool clipSpan(std::int64_t y, std::int64_t& x0, std::int64_t& x1) const {
        if (y < clipTop_ || y > clipBottom_) return false;
        x0 = std::max<std::int64_t>(x0, clipLeft_);
        x1 = std::min<std::int64_t>(x1, clipRight_);
        return x0 <= x1;
    }
    // Further limits writes to a shape given as spans (null: no limit beyond the rectangle),
    // which must stay alive while it is set.
    void setClipSpans(const ClipSpans* spans) { spans_ = spans; }
    int clipTop() const { return clipTop_; }
    int clipBottom() const { return clipBottom_; }

    // The binary raster operation (the R2_ codes 1..16) that combines the pen's pixel with
    // the one already there; copy (13) by default.
    static constexpr int kCopyPen = 13;
    void setRop2(int rop2) { rop2_ = rop2 >= 1 && rop2 <= 16 ? rop2 : kCopyPen; }
    int rop2() const { return rop2_; }
    Pixel mix(Pixel pen, Pixel dst) const {
        // The code less one is a truth table indexed by (pen bit, destination bit).
        const unsigned table = static_cast<unsigned>(rop2_ - 1);
        Pixel out = 0;
        if (table & 8) out |= pen & dst;
        if (table & 4) out |= pen & ~dst;
        if (table & 2) out |= ~pen & dst;
        if (table & 1) out |= ~pen & ~dst;
        return out | 0xFF000000u;
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
    int clipLeft_ = 0, clipTop_ = 0, clipRight_, clipBottom_;
    int rop2_ = kCopyPen;
    const ClipSpans* spans_ = nullptr;
};

// Pen styles of DrawStyle; dashes show only at width 1.
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

struct Pen {
    Pixel pixel = 0xFF000000u;
    int width = 1;  // 1..100
    PenStyle style = PenStyle::Solid;
    // Written into the gaps of a styled thin pen (GDI's opaque background mode); none leaves
    // them as they are.
    std::optional<Pixel> gap = std::nullopt;
};

// A tiled bitmap brush; pixel (x, y) of a surface takes pattern(x mod w, y mod h).
struct PatternBrush {
    QImage pattern;  // Format_RGB32, or ARGB32 whose fully transparent pixels draw nothing
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
