// Ellipses and rounded boxes, row by row in closed form so the cost follows the visible rows.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "surface/ShapesDetail.h"

namespace nt::shapes {

std::int64_t ellipseHalfSpan(std::int64_t cw, std::int64_t ch, std::int64_t e) {
    __extension__ typedef unsigned __int128 UWide;
    // Doubled offsets from the centre: (u / cw)^2 + (v / ch)^2 < 1 with |v| < ch.
    const std::int64_t v = std::abs(2 * e - (ch - 1));
    // The middle row(s) reach both sides, so that no column is empty either.
    if (v <= 1) return cw - 1;
    const UWide cw2 = static_cast<UWide>(cw) * static_cast<UWide>(cw);
    const UWide ch2 = static_cast<UWide>(ch) * static_cast<UWide>(ch);
    const UWide limit = cw2 * (ch2 - static_cast<UWide>(v) * static_cast<UWide>(v));
    auto inside = [&](std::int64_t u) {
        return static_cast<UWide>(u) * static_cast<UWide>(u) * ch2 < limit;
    };
    const std::int64_t base = (cw - 1) & 1;  // u has the parity of cw - 1
    const double estimate = static_cast<double>(cw) *
                            std::sqrt(static_cast<double>(ch - v) * static_cast<double>(ch + v)) /
                            static_cast<double>(ch);
    std::int64_t u = std::clamp(static_cast<std::int64_t>(estimate), base, cw - 1);
    if ((u - base) & 1) --u;
    while (u + 2 <= cw - 1 && inside(u + 2)) u += 2;
    while (u - 2 >= base && !inside(u)) u -= 2;
    return u;  // never below the middle pixel(s), so no row is empty
}

RoundedBox::RoundedBox(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                       std::int64_t cw, std::int64_t ch)
    : left_(left), top_(top), width_(width), height_(height), cw_(cw), ch_(ch) {
    // Where the corner's tangent is at 45 degrees, in doubled units from the box centre.
    const double a = static_cast<double>(cw), b = static_cast<double>(ch);
    const double diag = std::sqrt(a * a + b * b);
    steepLimit_ = static_cast<double>(height - ch) + b * b / diag;
    const double flatLimit = static_cast<double>(width - cw) + a * a / diag;
    const std::int64_t v0 = (height - 1) & 1, u0 = (width - 1) & 1;
    const double rows = std::ceil((steepLimit_ - static_cast<double>(v0)) / 2);
    steepRows_ = std::clamp(static_cast<std::int64_t>(rows), std::int64_t{0}, (height + 1) / 2);
    const double cols = std::floor((flatLimit - static_cast<double>(u0)) / 2);
    flatColumns_ =
        std::clamp(static_cast<std::int64_t>(cols), std::int64_t{0}, (width + 1) / 2 - 1) + 1;
}

std::int64_t RoundedBox::inset(std::int64_t row) const {
    std::int64_t e;
    if (row < ch_ / 2)
        e = row;
    else if (row >= height_ - ch_ / 2)
        e = ch_ - (height_ - row);
    else
        return 0;  // between the corners the sides are straight
    return (cw_ - 1 - ellipseHalfSpan(cw_, ch_, e)) / 2;
}

bool RoundedBox::span(std::int64_t y, std::int64_t& x0, std::int64_t& x1) const {
    const std::int64_t row = y - top_;
    if (row < 0 || row >= height_) return false;
    const std::int64_t a = inset(row);
    x0 = left_ + a;
    x1 = left_ + width_ - 1 - a;
    return true;
}

void RoundedBox::outlineRow(std::int64_t y, std::int64_t& x0, std::int64_t& x1, std::int64_t& in0,
                            std::int64_t& in1) const {
    const std::int64_t row = y - top_;
    span(y, x0, x1);
    const std::int64_t outward = row < height_ / 2 ? row - 1 : row + 1;
    if (outward < 0 || outward >= height_) {
        in0 = x1 + 1;
        in1 = x1;
        return;
    }
    const std::int64_t a = inset(outward);
    in0 = std::max(x0 + 1, left_ + a);
    in1 = std::min(x1 - 1, left_ + width_ - 1 - a);
}

std::int64_t RoundedBox::pathIndex(std::int64_t x, std::int64_t y) const {
    const std::int64_t du = 2 * (x - left_) - (width_ - 1);
    const std::int64_t dv = 2 * (y - top_) - (height_ - 1);
    const std::int64_t u = std::abs(du), v = std::abs(dv);
    const std::int64_t row = (v - ((height_ - 1) & 1)) / 2;
    const std::int64_t col = (u - ((width_ - 1) & 1)) / 2;
    const std::int64_t p = static_cast<double>(v) < steepLimit_
                               ? row
                               : steepRows_ + std::max<std::int64_t>(0, flatColumns_ - 1 - col);
    const std::int64_t quarter = steepRows_ + flatColumns_;
    // Counterclockwise on screen: up the right, across the top, down the left, back.
    if (dv <= 0) return du >= 0 ? p : 2 * quarter - 1 - p;
    return du < 0 ? 2 * quarter + p : 4 * quarter - 1 - p;
}

namespace {

void thinRounded(RasterTarget& t, const Pen& pen, const Brush& brush, const RoundedBox& box) {
    const std::int64_t y0 = std::max<std::int64_t>(box.top(), 0);
    const std::int64_t y1 = std::min<std::int64_t>(box.bottom(), t.height() - 1);
    const bool dashed = pen.style != PenStyle::Solid;
    std::int64_t y = 0;
    auto outline = [&](std::int64_t a, std::int64_t b) {
        if (!dashed) {
            t.span(y, a, b, pen.pixel);
            return;
        }
        a = std::max<std::int64_t>(a, 0);
        b = std::min<std::int64_t>(b, t.width() - 1);
        std::int64_t runStart = -1;
        for (std::int64_t x = a; x <= b + 1; ++x) {
            const bool on = x <= b && dashOn(pen.style, box.pathIndex(x, y));
            if (on && runStart < 0) runStart = x;
            if (!on && runStart >= 0) {
                t.span(y, runStart, x - 1, pen.pixel);
                runStart = -1;
            }
        }
    };
    for (y = y0; y <= y1; ++y) {
        std::int64_t x0, x1, in0, in1;
        box.outlineRow(y, x0, x1, in0, in1);
        if (in0 > in1) {
            outline(x0, x1);
            continue;
        }
        fillSpanWithBrush(t, brush, y, in0, in1);
        outline(x0, in0 - 1);
        outline(in1 + 1, x1);
    }
}

// A wide pen is centred on the path: the ring between the path grown by the pen's
// cross-section and the path shrunk by it; the brush fills the inner shape.
void wideRounded(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t width, std::int64_t height, std::int64_t cw,
                 std::int64_t ch, int w) {
    const RoundedBox outer(left - w / 2, top - w / 2, width + w - 1, height + w - 1, cw + w - 1,
                           ch + w - 1);
    const std::int64_t innerW = width - 1 - w, innerH = height - 1 - w;
    const bool hasInner = innerW >= 1 && innerH >= 1;
    const RoundedBox inner(
        left + (w + 1) / 2, top + (w + 1) / 2, std::max<std::int64_t>(innerW, 1),
        std::max<std::int64_t>(innerH, 1),
        std::clamp<std::int64_t>(cw - 1 - w, 1, std::max<std::int64_t>(innerW, 1)),
        std::clamp<std::int64_t>(ch - 1 - w, 1, std::max<std::int64_t>(innerH, 1)));
    const std::int64_t y0 = std::max<std::int64_t>(outer.top(), 0);
    const std::int64_t y1 = std::min<std::int64_t>(outer.bottom(), t.height() - 1);
    for (std::int64_t y = y0; y <= y1; ++y) {
        std::int64_t a, b, c, d;
        outer.span(y, a, b);
        if (hasInner && inner.span(y, c, d)) {
            fillSpanWithBrush(t, brush, y, c, d);
            t.span(y, a, c - 1, pen.pixel);
            t.span(y, d + 1, b, pen.pixel);
        } else {
            t.span(y, a, b, pen.pixel);
        }
    }
}

}  // namespace

void drawRounded(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                 std::int64_t ch) {
    const int w = clampPenWidth(pen.width);
    const std::int64_t width = right - left, height = bottom - top;
    if (w == 1)
        thinRounded(t, pen, brush, RoundedBox(left, top, width, height, cw, ch));
    else
        wideRounded(t, pen, brush, left, top, width, height, cw, ch, w);
}

}  // namespace nt::shapes
