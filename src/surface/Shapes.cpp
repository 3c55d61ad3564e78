#include "surface/Shapes.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <vector>

#include "surface/ShapesDetail.h"

namespace nt {

namespace {

struct Corners {
    std::int64_t left, top, right, bottom;
};

Corners ordered(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

void wideSegment(RasterTarget& t, Pixel pixel, const shapes::PenDot& dot, std::int64_t x0,
                 std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    shapes::WideSegment(dot, x0, y0, x1, y1).fill(t, pixel);
}

// Under a mixing mode each pixel of a wide polyline is combined once, as GDI fills the
// outline of the whole line once: the segments' pieces of each row are merged before they
// are written. Lines of more segments than this are drawn a segment at a time.
constexpr std::size_t kMostMergedSegments = std::size_t{1} << 16;

void wideSegmentsOnce(RasterTarget& t, Pixel pixel, const shapes::PenDot& dot,
                      std::span<const std::int64_t> xy, std::size_t segments) {
    const std::size_t n = xy.size() / 2;
    std::vector<shapes::WideSegment> parts;
    parts.reserve(segments);
    for (std::size_t s = 0; s < segments; ++s) {
        const std::size_t a = 2 * s, b = 2 * ((s + 1) % n);
        parts.emplace_back(dot, xy[a], xy[a + 1], xy[b], xy[b + 1]);
    }
    std::vector<std::size_t> order(segments);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return parts[a].firstRow() < parts[b].firstRow();
    });
    std::vector<const shapes::WideSegment*> active;
    std::vector<shapes::Span> spans;
    std::size_t next = 0;
    std::int64_t y = std::max<std::int64_t>(parts[order[0]].firstRow(), 0);
    while (y < t.height() && (next < segments || !active.empty())) {
        if (active.empty()) y = std::max(y, parts[order[next]].firstRow());
        while (next < segments && parts[order[next]].firstRow() <= y)
            active.push_back(&parts[order[next++]]);
        std::erase_if(active, [y](const shapes::WideSegment* p) { return p->lastRow() < y; });
        spans.clear();
        for (const shapes::WideSegment* p : active) p->addRow(y, spans);
        shapes::fillSpanUnion(t, pixel, y, spans);
        ++y;
    }
}

}  // namespace

void drawLine(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1) {
    const std::int64_t xy[] = {x0, y0, x1, y1};
    drawSegments(t, pen, xy, false);
}

void drawSegments(RasterTarget& t, const Pen& pen, std::span<const std::int64_t> xy, bool closed) {
    const std::size_t n = xy.size() / 2;
    if (n < 2) return;
    const std::size_t segments = closed ? n : n - 1;
    const int w = shapes::clampPenWidth(pen.width);
    std::optional<shapes::PenDot> dot;
    if (w > 1) dot.emplace(w);
    if (dot && segments > 1 && segments <= kMostMergedSegments &&
        t.rop2() != RasterTarget::kCopyPen)
        return wideSegmentsOnce(t, pen.pixel, *dot, xy, segments);
    // The dash pattern runs on from one segment to the next, a step a pixel, as GDI's polylines.
    std::int64_t phase = 0;
    for (std::size_t s = 0; s < segments; ++s) {
        const std::size_t a = 2 * s, b = 2 * ((s + 1) % n);
        if (dot) {
            wideSegment(t, pen.pixel, *dot, xy[a], xy[a + 1], xy[b], xy[b + 1]);
            continue;
        }
        shapes::thinLine(t, pen, xy[a], xy[a + 1], xy[b], xy[b + 1], false, phase);
        const std::int64_t steps =
            std::max(std::abs(xy[b] - xy[a]), std::abs(xy[b + 1] - xy[a + 1]));
        phase = (phase + steps % shapes::kDashPeriod) % shapes::kDashPeriod;
    }
}

void drawDot(RasterTarget& t, const Pen& pen, std::int64_t x, std::int64_t y) {
    const int w = shapes::clampPenWidth(pen.width);
    if (w == 1)
        t.pixel(x, y, pen.pixel);
    else
        wideSegment(t, pen.pixel, shapes::PenDot(w), x, y, x, y);
}

void drawBoxOutline(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0,
                    std::int64_t x1, std::int64_t y1) {
    const Corners c = ordered(x0, y0, x1, y1);
    const int w = shapes::clampPenWidth(pen.width);
    if (w == 1) {
        // As GDI's Rectangle: one outline pixel per step of the pattern, anticlockwise from
        // the top-right corner going left, so dashes run on around the corners. A flat box
        // is walked there and back (the way back fills the gaps of the way there); a
        // one-point box is its one pixel.
        const std::int64_t across = c.right - c.left + 1, down = c.bottom - c.top + 1;
        auto side = [&](std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                        std::int64_t phase) {
            shapes::thinLine(t, pen, ax, ay, bx, by, true, phase);
        };
        side(c.right, c.top, c.left, c.top, 0);
        if (c.bottom > c.top) side(c.left, c.top + 1, c.left, c.bottom, across);
        if (c.right > c.left) side(c.left + 1, c.bottom, c.right, c.bottom, across + down - 1);
        if (c.bottom - 1 > c.top)
            side(c.right, c.bottom - 1, c.right, c.top + 1, 2 * across + down - 2);
        return;
    }
    const shapes::PenDot dot(w);
    if (c.left == c.right || c.top == c.bottom) {
        // A flat box is one segment with both ends (a point box is one dot).
        wideSegment(t, pen.pixel, dot, c.left, c.top, c.right, c.bottom);
        return;
    }
    // Each side without its end, so every corner is drawn once.
    const std::int64_t xs[4] = {c.left, c.right, c.right, c.left};
    const std::int64_t ys[4] = {c.top, c.top, c.bottom, c.bottom};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        wideSegment(t, pen.pixel, dot, xs[i], ys[i], xs[j], ys[j]);
    }
}

void drawFilledBox(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0,
                   std::int64_t x1, std::int64_t y1) {
    const Corners c = ordered(x0, y0, x1, y1);
    const std::int64_t top = std::max<std::int64_t>(c.top, 0);
    const std::int64_t bottom = std::min<std::int64_t>(c.bottom, t.height() - 1);
    for (std::int64_t y = top; y <= bottom; ++y) t.span(y, c.left, c.right, pen.pixel);
    if (shapes::clampPenWidth(pen.width) > 1) drawBoxOutline(t, pen, x0, y0, x1, y1);
}

void drawRectangle(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                   std::int64_t top, std::int64_t right, std::int64_t bottom) {
    const Corners c = ordered(left, top, right, bottom);
    if (c.left == c.right || c.top == c.bottom) return;
    const std::int64_t firstRow = std::max<std::int64_t>(c.top, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(c.bottom - 2, t.height() - 1);
    for (std::int64_t y = firstRow; y <= lastRow; ++y)
        fillSpanWithBrush(t, brush, y, c.left, c.right - 2);
    const bool thin = shapes::clampPenWidth(pen.width) == 1;
    if (thin && c.right - c.left == 1 && c.bottom - c.top == 1) return;
    drawBoxOutline(t, pen, c.left, c.top, c.right - 1, c.bottom - 1);
}

void drawEllipse(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom) {
    const Corners c = ordered(left, top, right, bottom);
    if (c.left == c.right || c.top == c.bottom) return;  // an empty box draws nothing
    shapes::drawRounded(t, pen, brush, c.left, c.top, c.right, c.bottom, c.right - c.left,
                        c.bottom - c.top);
}

void drawRoundRect(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                   std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                   std::int64_t ch) {
    const Corners c = ordered(left, top, right, bottom);
    const std::int64_t width = c.right - c.left, height = c.bottom - c.top;
    if (width == 0 || height == 0) return;
    // A corner larger than the box is the box's own ellipse; none at all is a square corner.
    const std::int64_t cornerW = std::max<std::int64_t>(std::abs(std::clamp(cw, -width, width)), 1);
    const std::int64_t cornerH =
        std::max<std::int64_t>(std::abs(std::clamp(ch, -height, height)), 1);
    shapes::drawRounded(t, pen, brush, c.left, c.top, c.right, c.bottom, cornerW, cornerH);
}

}  // namespace nt
