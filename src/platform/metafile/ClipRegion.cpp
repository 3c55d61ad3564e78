#include "platform/metafile/ClipRegion.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace nt::mf {

namespace {

using Row = ClipSpans::Row;

bool contains(const Row& row, std::int64_t x) {
    const auto it = std::upper_bound(row.begin(), row.end(), x,
                                     [](std::int64_t v, const auto& s) { return v < s.first; });
    return it != row.begin() && std::prev(it)->second >= x;
}

// The pixels of one row for which `keep(in a, in b)` holds.
template <class Keep>
Row combineRows(const Row& a, const Row& b, Keep keep) {
    std::vector<std::int64_t> cuts;
    for (const Row* row : {&a, &b})
        for (const auto& [x0, x1] : *row) {
            cuts.push_back(x0);
            cuts.push_back(x1 + 1);
        }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    Row out;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (!keep(contains(a, cuts[i]), contains(b, cuts[i]))) continue;
        if (!out.empty() && out.back().second + 1 == cuts[i])
            out.back().second = cuts[i + 1] - 1;
        else
            out.emplace_back(cuts[i], cuts[i + 1] - 1);
    }
    return out;
}

Clip whole(int width, int height) {
    auto all = std::make_shared<ClipSpans>();
    all->rows.assign(static_cast<std::size_t>(height), Row{{0, width - 1}});
    return all;
}

// Makes row y of the clip addressable, growing its row range.
Row& rowOf(ClipSpans& clip, std::int64_t y) {
    if (clip.rows.empty()) clip.top = y;
    if (y < clip.top) {
        clip.rows.insert(clip.rows.begin(), static_cast<std::size_t>(clip.top - y), Row{});
        clip.top = y;
    }
    const auto index = static_cast<std::size_t>(y - clip.top);
    if (index >= clip.rows.size()) clip.rows.resize(index + 1);
    return clip.rows[index];
}

}  // namespace

Clip clipFromPolygons(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                      int height) {
    auto clip = std::make_shared<ClipSpans>();
    double top = 1e18, bottom = -1e18;
    for (const QPointF& p : points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    if (points.empty() || !(top <= bottom)) return clip;
    const auto first = static_cast<std::int64_t>(std::clamp(std::floor(top), 0.0, double(height)));
    const auto last = static_cast<std::int64_t>(std::clamp(std::ceil(bottom), -1.0, height - 1.0));
    if (first > last) return clip;
    clip->top = first;
    clip->rows.resize(static_cast<std::size_t>(last - first + 1));
    forEachPolygonSpan(points, counts, rule, first, last,
                       [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
                           clip->rows[static_cast<std::size_t>(y - first)].emplace_back(x0, x1);
                       });
    return clip;
}

Clip clipFromRects(std::span<const QRectF> rects, int height) {
    std::vector<QPointF> points;
    std::vector<int> counts;
    for (const QRectF& given : rects) {
        const QRectF r = given.normalized();  // one orientation, so overlaps unite
        points.insert(points.end(), {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
        counts.push_back(4);
    }
    return clipFromPolygons(points, counts, FillRule::Winding, height);
}

void combineClip(Clip& clip, const Clip& shape, Combine mode, int width, int height) {
    if (mode == Combine::Copy) {
        clip = shape;
        return;
    }
    if (!shape) return;
    if (!clip)
        clip = whole(width, height);
    else if (clip.use_count() > 1)
        clip = std::make_shared<ClipSpans>(*clip);
    const std::int64_t first = shape->top;
    const std::int64_t last = shape->top + static_cast<std::int64_t>(shape->rows.size()) - 1;
    if (mode == Combine::And) {
        // Rows outside the shape lose everything.
        for (std::size_t i = 0; i < clip->rows.size(); ++i) {
            const std::int64_t y = clip->top + static_cast<std::int64_t>(i);
            if (y < first || y > last) clip->rows[i].clear();
        }
    }
    for (std::int64_t y = first; y <= last; ++y) {
        const Row& b = shape->row(y);
        if (b.empty() && mode != Combine::And) continue;
        Row& a = rowOf(*clip, y);
        switch (mode) {
            case Combine::And:
                a = combineRows(a, b, [](bool p, bool q) { return p && q; });
                break;
            case Combine::Or:
                a = combineRows(a, b, [](bool p, bool q) { return p || q; });
                break;
            case Combine::Xor:
                a = combineRows(a, b, [](bool p, bool q) { return p != q; });
                break;
            default:
                a = combineRows(a, b, [](bool p, bool q) { return p && !q; });
                break;
        }
    }
}

void offsetClip(Clip& clip, std::int64_t dx, std::int64_t dy, int width, int height) {
    if (!clip) return;
    auto moved = std::make_shared<ClipSpans>();
    const std::int64_t first = std::max<std::int64_t>(clip->top + dy, 0);
    const std::int64_t last =
        std::min<std::int64_t>(clip->top + dy + std::int64_t(clip->rows.size()), height) - 1;
    moved->top = first;
    for (std::int64_t y = first; y <= last; ++y) {
        Row row;
        for (const auto& [x0, x1] : clip->row(y - dy)) {
            const std::int64_t a = std::max<std::int64_t>(x0 + dx, 0);
            const std::int64_t b = std::min<std::int64_t>(x1 + dx, width - 1);
            if (a <= b) row.emplace_back(a, b);
        }
        moved->rows.push_back(std::move(row));
    }
    clip = std::move(moved);
}

std::int64_t clipSpanCount(const ClipSpans& clip) {
    std::int64_t spans = 0;
    for (const Row& row : clip.rows) spans += static_cast<std::int64_t>(row.size());
    return spans;
}

std::int64_t clipBytes(const ClipSpans& clip) {
    std::int64_t bytes = sizeof(ClipSpans) + std::int64_t(clip.rows.capacity() * sizeof(Row));
    for (const Row& row : clip.rows)
        bytes += static_cast<std::int64_t>(row.capacity() * sizeof(Row::value_type));
    return bytes;
}

std::int64_t clipSpanBound(std::span<const QPointF> points, std::span<const int> counts,
                           int height) {
    double crossings = 0;
    std::size_t start = 0;
    for (const int n : counts) {
        if (n < 0 || static_cast<std::size_t>(n) > points.size() - start) break;
        for (int i = 0; i < n; ++i) {
            const QPointF a = points[start + i], b = points[start + (i + 1) % n];
            const double top = std::clamp(std::min(a.y(), b.y()), 0.0, double(height));
            const double bottom = std::clamp(std::max(a.y(), b.y()), 0.0, double(height));
            if (bottom > top) crossings += std::ceil(bottom) - std::floor(top);
        }
        start += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(std::min(crossings / 2 + 1, 1e15));
}

QRect clipBounds(const Clip& clip, int width, int height) {
    if (!clip) return QRect(0, 0, width, height);
    QRect box;
    for (int y = 0; y < height; ++y)
        for (const auto& [x0, x1] : clip->row(y))
            box |= QRect(QPoint(int(std::clamp<std::int64_t>(x0, 0, width)), y),
                         QPoint(int(std::clamp<std::int64_t>(x1, -1, width - 1)), y));
    return box;
}

}  // namespace nt::mf
