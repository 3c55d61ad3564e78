#include <algorithm>
#include <cmath>
#include <vector>

#include "surface/Shapes.h"

namespace nt {

namespace {

struct Edge {
    double yTop, yBottom;  // yTop < yBottom
    double xTop, slope;    // x at yTop and dx/dy
    int winding;           // +1 downwards, -1 upwards
};

struct Crossing {
    double x;
    int winding;
};

// Coordinates this far outside any image change no pixel but keep the arithmetic exact.
constexpr double kFar = 1e9;

// A vertex as the centre sampling sees it: sampling corners is sampling the centres of a
// polygon whose vertices are rounded and moved half a pixel right and down.
QPointF sampled(QPointF p, PolygonSampling sampling) {
    if (sampling == PolygonSampling::Centres) return p;
    return {std::floor(p.x() + 0.5) + 0.5, std::floor(p.y() + 0.5) + 0.5};
}

std::vector<Edge> collectEdges(std::span<const QPointF> points, std::span<const int> counts,
                               PolygonSampling sampling) {
    std::vector<Edge> edges;
    std::size_t start = 0;
    for (const int n : counts) {
        if (n <= 0 || static_cast<std::size_t>(n) > points.size() - start) break;
        for (int i = 0; i < n; ++i) {
            QPointF a = points[start + i];
            QPointF b = points[start + (i + 1) % n];
            if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
                !std::isfinite(b.y()))
                return {};
            a = sampled({std::clamp(a.x(), -kFar, kFar), std::clamp(a.y(), -kFar, kFar)}, sampling);
            b = sampled({std::clamp(b.x(), -kFar, kFar), std::clamp(b.y(), -kFar, kFar)}, sampling);
            if (a.y() == b.y()) continue;
            const int winding = a.y() < b.y() ? 1 : -1;
            if (winding < 0) std::swap(a, b);
            edges.push_back({a.y(), b.y(), a.x(), (b.x() - a.x()) / (b.y() - a.y()), winding});
        }
        start += static_cast<std::size_t>(n);
    }
    return edges;
}

bool inside(FillRule rule, int winding) {
    return rule == FillRule::Alternate ? (winding & 1) != 0 : winding != 0;
}

}  // namespace

void forEachPolygonSpan(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                        std::int64_t firstRow, std::int64_t lastRow,
                        const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& span,
                        PolygonSampling sampling) {
    std::vector<Edge> edges = collectEdges(points, counts, sampling);
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    double maxY = edges.front().yBottom;
    for (const Edge& e : edges) maxY = std::max(maxY, e.yBottom);
    // Row y is sampled at its centre y + 0.5.
    firstRow = std::max(firstRow, static_cast<std::int64_t>(std::ceil(edges.front().yTop - 0.5)));
    lastRow = std::min(lastRow, static_cast<std::int64_t>(std::ceil(maxY - 0.5)) - 1);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        while (next < edges.size() && edges[next].yTop <= yc) active.push_back(&edges[next++]);
        std::erase_if(active, [yc](const Edge* e) { return e->yBottom <= yc; });
        crossings.clear();
        for (const Edge* e : active)
            crossings.push_back({e->xTop + (yc - e->yTop) * e->slope, e->winding});
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        std::int64_t open = 0, close = -1;  // the span being merged
        bool any = false;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (!inside(rule, winding)) continue;
            // Pixels whose centres lie in [x_i, x_i+1).
            const auto x0 = static_cast<std::int64_t>(std::ceil(crossings[i].x - 0.5));
            const auto x1 = static_cast<std::int64_t>(std::ceil(crossings[i + 1].x - 0.5)) - 1;
            if (x0 > x1) continue;
            if (any && x0 <= close + 1) {
                close = std::max(close, x1);
                continue;
            }
            if (any) span(y, open, close);
            open = x0;
            close = x1;
            any = true;
        }
        if (any) span(y, open, close);
    }
}

void fillPolygons(RasterTarget& t, const Brush& brush, std::span<const QPointF> points,
                  std::span<const int> counts, FillRule rule, PolygonSampling sampling) {
    if (brush.kind == Brush::Kind::None) return;
    forEachPolygonSpan(
        points, counts, rule, t.clipTop(), t.clipBottom(),
        [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
            fillSpanWithBrush(t, brush, y, x0, x1);
        },
        sampling);
}

}  // namespace nt
