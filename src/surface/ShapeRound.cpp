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

namespace {

// One quarter of a w x h ellipse (w >= h) through the centres of its box's outermost pixels,
// walked from the end of the horizontal axis (w - 1, h / 2) toward the vertical axis with
// y counting upwards: each step goes left, up or both, chosen by the sign of the midpoint
// error of the ellipse with diameters w - 1 and h - 1 (Zingl's algorithm, as GDI steps it).
// A tall thin ellipse reaches the middle column before the top row: the outline then goes
// straight up the middle to the top, so it always touches its box.
template <class Visit>
void walkQuarter(std::int64_t w, std::int64_t h, Visit visit) {
    const Wide a = w - 1, b = h - 1, odd = b % 2;
    const Wide growX = 8 * b * b, growY = 8 * a * a;
    Wide stepX = 4 * b * b * (1 - a), stepY = 4 * a * a * (1 + odd);
    Wide err = stepX + stepY + a * a * odd;
    std::int64_t x = w - 1, y = h / 2, lastY = y;
    while (x >= w / 2) {
        visit(x, y);
        lastY = y;
        const Wide twice = 2 * err;
        if (twice >= stepX) {
            --x;
            stepX += growX;
            err += stepX;
        }
        if (twice <= stepY) {
            ++y;
            stepY += growY;
            err += stepY;
        }
    }
    for (std::int64_t row = lastY + 1; row <= h - 1; ++row) visit(w / 2, row);
}

}  // namespace

EllipseQuarter::EllipseQuarter(std::int64_t cw, std::int64_t ch) {
    const auto rows = static_cast<std::size_t>((ch - 1) / 2 + 1);
    first.assign(rows, cw / 2);
    last.assign(rows, cw - 1);
    start.assign(rows, 0);
    // Boxes two pixels wide or high or less are drawn as their rectangle.
    if (cw <= 2 || ch <= 2) return;
    std::vector<bool> seen(rows, false);
    std::vector<std::int64_t> lowK(rows, 0);
    std::int64_t k = 0;
    auto add = [&](std::int64_t px, std::int64_t py) {
        const std::int64_t e = ch - 1 - py;  // rows from the top
        const std::int64_t step = k++;
        if (e < 0 || e >= static_cast<std::int64_t>(rows)) return;
        const auto i = static_cast<std::size_t>(e);
        if (!seen[i]) {
            seen[i] = true;
            first[i] = last[i] = px;
            lowK[i] = step;
        }
        first[i] = std::min(first[i], px);
        last[i] = std::max(last[i], px);
        lowK[i] = std::min(lowK[i], step);
    };
    walkQuarter(cw, ch, add);
    count = k;
    for (std::size_t i = 0; i < rows; ++i) {
        // Rows the walk did not reach (none expected) keep the middle column.
        if (!seen[i]) first[i] = std::min(first[i], i > 0 ? first[i - 1] : cw / 2);
        start[i] = lowK[i];
    }
}

RoundedBox::RoundedBox(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                       std::int64_t cw, std::int64_t ch, bool gdiOutline)
    : left_(left), top_(top), width_(width), height_(height), cw_(cw), ch_(ch) {
    if (gdiOutline && EllipseQuarter::fits(cw, ch))
        quarter_ = std::make_shared<const EllipseQuarter>(cw, ch);
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

std::int64_t RoundedBox::cornerRow(std::int64_t row) const {
    const std::int64_t rows = (ch_ - 1) / 2;
    if (row <= rows) return row;
    if (row >= height_ - 1 - rows) return height_ - 1 - row;
    return -1;
}

std::int64_t RoundedBox::inset(std::int64_t row) const {
    if (quarter_) {
        const std::int64_t e = cornerRow(row);
        return e < 0 ? 0 : cw_ - 1 - quarter_->last[static_cast<std::size_t>(e)];
    }
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
    if (quarter_) {
        const std::int64_t e = cornerRow(row);
        if (e < 0) {  // the straight sides
            in0 = x0 + 1;
            in1 = x1 - 1;
            return;
        }
        const std::int64_t firstCol = quarter_->first[static_cast<std::size_t>(e)];
        if (firstCol <= cw_ / 2) {  // the run reaches the top (bottom) side: all outline
            in0 = x1 + 1;
            in1 = x1;
            return;
        }
        const std::int64_t inner = cw_ - 1 - firstCol;  // inset of the run's inner end
        in0 = left_ + inner + 1;
        in1 = left_ + width_ - 1 - inner - 1;
        return;
    }
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
    if (quarter_) return gdiPathIndex(x, y);
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

// GDI's order (counterclockwise): from the right side at the lowest row of the top-right
// corner, up around that corner, along the top, down around the top-left corner, down the
// left side, around the bottom corners and up the right side back to the start. Each pixel
// is one step; where a mirrored corner starts on the pixel where the last one ended (odd
// sizes of a whole ellipse) that pixel is not repeated.
std::int64_t RoundedBox::gdiPathIndex(std::int64_t x, std::int64_t y) const {
    const EllipseQuarter& q = *quarter_;
    const std::int64_t rows = (ch_ - 1) / 2;
    const std::int64_t n = q.count;
    const std::int64_t cornerLeft = left_ + width_ - cw_;  // left column of the right corners
    const std::int64_t topEnd = cornerLeft + cw_ / 2;      // the right corner's last column
    const std::int64_t mirrorEnd = 2 * left_ + width_ - 1 - topEnd;
    const std::int64_t across = topEnd - mirrorEnd;  // 0 when the two ends coincide
    const std::int64_t half = 2 * n - 2 + across;    // position at the left side's top end
    const std::int64_t y0 = top_ + rows, y0Mirror = 2 * top_ + height_ - 1 - y0;
    const std::int64_t down = y0Mirror - y0;
    auto topHalf = [&](std::int64_t px, std::int64_t e) {
        const auto i = static_cast<std::size_t>(e);
        if (px >= topEnd) return q.start[i] + q.last[i] - (px - cornerLeft);
        if (px <= mirrorEnd) {
            const std::int64_t c = left_ + cw_ - 1 - px;
            return half - (q.start[i] + q.last[i] - c);
        }
        return n - 1 + (topEnd - px);  // the straight top side
    };
    if (y <= y0) return topHalf(x, y - top_);
    if (y >= y0Mirror) return 2 * half + down - topHalf(x, 2 * top_ + height_ - 1 - y - top_);
    const bool rightSide = 2 * x > 2 * left_ + width_ - 1;
    return rightSide ? 2 * half + down + (y0Mirror - y) : half + (y - y0);
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
        // Runs of one state: the pen's pixel, or the gap's (written only when the pen has one).
        if (a > b) return;
        std::int64_t runStart = a;
        bool runOn = dashOn(pen.style, box.pathIndex(a, y));
        for (std::int64_t x = a + 1; x <= b + 1; ++x) {
            const bool on = x <= b && dashOn(pen.style, box.pathIndex(x, y));
            if (x <= b && on == runOn) continue;
            if (runOn || pen.gap) t.span(y, runStart, x - 1, runOn ? pen.pixel : *pen.gap);
            runStart = x;
            runOn = on;
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

}  // namespace

void drawRounded(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                 std::int64_t ch) {
    const int w = clampPenWidth(pen.width);
    const std::int64_t width = right - left, height = bottom - top;
    // A corner two pixels wide or high or less makes GDI draw the rectangle.
    if (cw <= 2 || ch <= 2) cw = ch = 1;
    const RoundedBox outline(left, top, width, height, cw, ch, true);
    if (w > 1)
        drawWideRing(t, pen, brush, outline, w);
    else if (width > 1 || height > 1)  // GDI draws nothing for a one-pixel box
        thinRounded(t, pen, brush, outline);
}

}  // namespace nt::shapes
