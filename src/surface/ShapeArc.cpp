// The points GDI's arcs run through: its ellipse's outline, walked pixel by pixel.

#include <cmath>

#include "surface/ShapeArc.h"

namespace nt {

namespace {

struct Step {
    std::int64_t x, y;
};

// The top-right quarter of the w x h ellipse's outline, from the end of its horizontal axis up
// to the top, one point per pixel, relative to (w / 2, h / 2) with y pointing up. A midpoint
// walk on doubled error terms, so that even sizes land on pixel centres.
std::vector<Step> quarterWalk(std::int64_t w, std::int64_t h) {
    const std::int64_t a = w - 1, b = h - 1, odd = b % 2;
    const std::int64_t stepX = 8 * b * b, stepY = 8 * a * a;
    std::int64_t dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + odd), err = dx + dy + a * a * odd;
    std::vector<Step> out;
    out.reserve(static_cast<std::size_t>((w + h) / 2 + 2));
    for (std::int64_t x = a, y = h / 2; x >= w / 2;) {
        out.push_back({x - w / 2, y - h / 2});
        const std::int64_t twice = 2 * err;
        if (twice >= dx) {
            --x;
            err += dx += stepX;
        }
        if (twice <= dy) {
            ++y;
            err += dy += stepY;
        }
    }
    return out;
}

// Where the radial (x, y) (y up) crosses the walk of four quarters counterclockwise from the
// right: the first point of its quarter at or past the radial, in walk order.
std::int64_t crossing(const std::vector<Step>& q, double x, double y) {
    const auto n = static_cast<std::int64_t>(q.size());
    const auto first = [&](auto past) {
        std::int64_t i = 0;
        while (i < n && !past(double(q[std::size_t(i)].x), double(q[std::size_t(i)].y))) ++i;
        return i;
    };
    if (y >= 0 && x >= 0) return first([&](double px, double py) { return px * y <= py * x; });
    if (y >= 0) return 2 * n - first([&](double px, double py) { return px * y < -py * x; });
    if (x >= 0) return 4 * n - first([&](double px, double py) { return -px * y <= py * x; });
    return 2 * n + first([&](double px, double py) { return -px * y < -py * x; });
}

}  // namespace

std::vector<std::int64_t> gdiArcPoints(std::int64_t left, std::int64_t top, std::int64_t right,
                                       std::int64_t bottom, bool clockwise, double sx, double sy,
                                       double ex, double ey) {
    const std::int64_t w = right - left, h = bottom - top;
    if (w <= 0 || h <= 0) return {};
    const std::vector<Step> q = quarterWalk(w, h);
    const auto n = static_cast<std::int64_t>(q.size());
    const double cx = double(left + w / 2), cy = double(top + h / 2);
    // The walk turns the way the arc is drawn: for a counterclockwise arc, y points up.
    const double flip = clockwise ? 1 : -1;
    const std::int64_t from = crossing(q, sx - cx, flip * (sy - cy));
    std::int64_t to = crossing(q, ex - cx, flip * (ey - cy));
    if (to <= from) to += 4 * n;
    std::vector<std::int64_t> xy;
    xy.reserve(static_cast<std::size_t>(to - from) * 2);
    for (std::int64_t i = from; i < to; ++i) {
        const std::int64_t quarter = (i / n) % 4, j = i % n;
        // Quarters 1 and 3 run back along the stored walk, mirrored left to right.
        const Step s = q[std::size_t(quarter % 2 ? n - 1 - j : j)];
        const std::int64_t x =
            quarter == 0 || quarter == 3 ? left + w / 2 + s.x : right - 1 - w / 2 - s.x;
        const bool upper = (quarter < 2) != clockwise;
        xy.push_back(x);
        xy.push_back(upper ? bottom - 1 - h / 2 - s.y : top + h / 2 + s.y);
    }
    return xy;
}

}  // namespace nt
