#include "platform/metafile/ClipRegion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace nt::mf {

namespace {

using Row = ClipSpans::Row;

// The pixels of one row for which `keep(in a, in b)` holds, into `out`: one walk over both
// rows' boundaries in order, a run opened where keep turns true and closed where it turns
// false, so touching runs come out joined.
template <class Keep>
void combineRows(const Row& a, const Row& b, Keep keep, Row& out) {
    constexpr std::int64_t kEnd = std::numeric_limits<std::int64_t>::max();
    out.clear();
    std::size_t i = 0, j = 0;
    std::int64_t x = std::min(a.empty() ? kEnd : a[0].first, b.empty() ? kEnd : b[0].first);
    bool open = false;
    while (x != kEnd) {
        // Spans ending before x are behind; each row's next boundary is its span's end + 1
        // when x is inside it, else the next span's start.
        while (i < a.size() && a[i].second < x) ++i;
        while (j < b.size() && b[j].second < x) ++j;
        const bool inA = i < a.size() && a[i].first <= x;
        const bool inB = j < b.size() && b[j].first <= x;
        if (keep(inA, inB) != open) {
            if (open)
                out.back().second = x - 1;
            else
                out.emplace_back(x, kEnd - 1);
            open = !open;
        }
        const std::int64_t nextA = i == a.size() ? kEnd : inA ? a[i].second + 1 : a[i].first;
        const std::int64_t nextB = j == b.size() ? kEnd : inB ? b[j].second + 1 : b[j].first;
        x = std::min(nextA, nextB);
    }
}

// The spans of `row` within `span`, cut at its ends, into `out`.
void cutToSpan(const Row& row, std::pair<std::int64_t, std::int64_t> span, Row& out) {
    const auto from = std::partition_point(row.begin(), row.end(),
                                           [&](const auto& s) { return s.second < span.first; });
    const auto to = std::partition_point(from, row.end(),
                                         [&](const auto& s) { return s.first <= span.second; });
    out.assign(from, to);
    if (out.empty()) return;
    out.front().first = std::max(out.front().first, span.first);
    out.back().second = std::min(out.back().second, span.second);
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

// The rows a clip of shapes whose points lie between `top` and `bottom` spans: the picture's
// rows from the first to the last either touches; none when it misses the picture.
Clip clipOfRows(double top, double bottom, int height) {
    auto clip = std::make_shared<ClipSpans>();
    if (!(top <= bottom)) return clip;
    const auto first = static_cast<std::int64_t>(std::clamp(std::floor(top), 0.0, double(height)));
    const auto last = static_cast<std::int64_t>(std::clamp(std::ceil(bottom), -1.0, height - 1.0));
    if (first > last) return clip;
    clip->top = first;
    clip->rows.resize(static_cast<std::size_t>(last - first + 1));
    return clip;
}

// A rectangle's pixels, as a polygon fill samples them (a pixel is in when its centre is, the
// left and top edges included): columns x0..x1 of rows y0..y1.
struct PixelBox {
    std::int64_t y0, y1, x0, x1;
};

// Coordinates are clamped this far out, as the polygon fill clamps them.
constexpr double kFarCoordinate = 1e9;

// The first pixel whose centre lies at or after v.
std::int64_t firstCentreFrom(double v) {
    return static_cast<std::int64_t>(std::ceil(v - 0.5));
}

// The pixel boxes of the rectangles within rows first..last; false when a coordinate is not a
// finite number (a polygon fill then draws nothing at all).
bool pixelBoxes(std::span<const QRectF> rects, std::int64_t first, std::int64_t last,
                std::vector<PixelBox>& boxes) {
    const auto near = [](double v) { return std::clamp(v, -kFarCoordinate, kFarCoordinate); };
    for (const QRectF& given : rects) {
        const QRectF r = given.normalized();
        for (const double v : {r.left(), r.top(), r.right(), r.bottom()})
            if (!std::isfinite(v)) return false;
        const PixelBox box{std::max(first, firstCentreFrom(near(r.top()))),
                           std::min(last, firstCentreFrom(near(r.bottom())) - 1),
                           firstCentreFrom(near(r.left())), firstCentreFrom(near(r.right())) - 1};
        if (box.y0 <= box.y1 && box.x0 <= box.x1) boxes.push_back(box);
    }
    return true;
}

// Fills the clip's rows with the union of the boxes. A row's spans change only where a box
// starts or ends, so they are merged once for each band of rows between and copied to its
// rows; the boxes covering a band are kept in column order.
void fillBands(std::vector<PixelBox>& boxes, ClipSpans& clip) {
    const auto byColumn = [](const PixelBox& a, const PixelBox& b) { return a.x0 < b.x0; };
    std::sort(boxes.begin(), boxes.end(),
              [](const PixelBox& a, const PixelBox& b) { return a.y0 < b.y0; });
    std::vector<PixelBox> active, merged;
    Row band;
    std::size_t next = 0;
    std::int64_t y = 0;
    while (next < boxes.size() || !active.empty()) {
        if (active.empty()) y = boxes[next].y0;  // rows no box covers stay empty
        const auto entering = boxes.begin() + static_cast<std::ptrdiff_t>(next);
        while (next < boxes.size() && boxes[next].y0 <= y) ++next;
        const auto entered = boxes.begin() + static_cast<std::ptrdiff_t>(next);
        if (entering != entered) {
            std::sort(entering, entered, byColumn);
            merged.clear();
            std::merge(active.begin(), active.end(), entering, entered, std::back_inserter(merged),
                       byColumn);
            active.swap(merged);
        }
        std::int64_t ends = active.front().y1;  // where the first of them ends
        band.clear();
        for (const PixelBox& box : active) {
            ends = std::min(ends, box.y1);
            if (!band.empty() && box.x0 <= band.back().second + 1)
                band.back().second = std::max(band.back().second, box.x1);
            else
                band.emplace_back(box.x0, box.x1);
        }
        const std::int64_t end = next < boxes.size() ? std::min(ends, boxes[next].y0 - 1) : ends;
        for (; y <= end; ++y)
            clip.rows[static_cast<std::size_t>(y - clip.top)].assign(band.begin(), band.end());
        if (end == ends) std::erase_if(active, [y](const PixelBox& box) { return box.y1 < y; });
    }
}

}  // namespace

Clip clipFromPolygons(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                      int height) {
    double top = 1e18, bottom = -1e18;
    for (const QPointF& p : points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    auto clip = clipOfRows(top, bottom, height);
    if (clip->rows.empty()) return clip;
    const std::int64_t first = clip->top;
    const std::int64_t last = first + std::int64_t(clip->rows.size()) - 1;
    // Spans come a row at a time, in order: each row is gathered here and stored at its size.
    Row gathered;
    std::int64_t at = first;
    const auto store = [&] {
        clip->rows[static_cast<std::size_t>(at - first)].assign(gathered.begin(), gathered.end());
        gathered.clear();
    };
    forEachPolygonSpan(points, counts, rule, first, last,
                       [&](std::int64_t y, std::int64_t x0, std::int64_t x1) {
                           if (y != at) store();
                           at = y;
                           gathered.emplace_back(x0, x1);
                       });
    if (!gathered.empty()) store();
    return clip;
}

Clip clipFromRects(std::span<const QRectF> rects, int height) {
    double top = 1e18, bottom = -1e18;
    for (const QRectF& given : rects) {
        const QRectF r = given.normalized();
        for (const double v : {r.top(), r.bottom()}) {
            top = std::min(top, v);
            bottom = std::max(bottom, v);
        }
    }
    auto clip = clipOfRows(top, bottom, height);
    if (clip->rows.empty()) return clip;
    const std::int64_t last = clip->top + std::int64_t(clip->rows.size()) - 1;
    std::vector<PixelBox> boxes;
    if (pixelBoxes(rects, clip->top, last, boxes) && !boxes.empty()) fillBands(boxes, *clip);
    return clip;
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
    Row merged;  // reused by every row: a row is only reallocated when it grows
    for (std::int64_t y = first; y <= last; ++y) {
        const Row& b = shape->row(y);
        if (b.empty() && mode != Combine::And) continue;
        Row& a = rowOf(*clip, y);
        switch (mode) {
            case Combine::And:
                // Most often one side is a single span: a rectangle, or the whole picture.
                if (a.size() == 1)
                    cutToSpan(b, a.front(), merged);
                else if (b.size() == 1)
                    cutToSpan(a, b.front(), merged);
                else
                    combineRows(
                        a, b, [](bool p, bool q) { return p && q; }, merged);
                break;
            case Combine::Or:
                combineRows(
                    a, b, [](bool p, bool q) { return p || q; }, merged);
                break;
            case Combine::Xor:
                combineRows(
                    a, b, [](bool p, bool q) { return p != q; }, merged);
                break;
            default:
                combineRows(
                    a, b, [](bool p, bool q) { return p && !q; }, merged);
                break;
        }
        a.assign(merged.begin(), merged.end());
    }
}

void offsetClip(Clip& clip, std::int64_t dx, std::int64_t dy, int width, int height) {
    if (!clip) return;
    auto moved = std::make_shared<ClipSpans>();
    const std::int64_t first = std::max<std::int64_t>(clip->top + dy, 0);
    const std::int64_t last =
        std::min<std::int64_t>(clip->top + dy + std::int64_t(clip->rows.size()), height) - 1;
    moved->top = first;
    moved->rows.resize(static_cast<std::size_t>(std::max<std::int64_t>(last - first + 1, 0)));
    Row kept;  // reused: each row is stored at its size
    for (std::int64_t y = first; y <= last; ++y) {
        kept.clear();
        for (const auto& [x0, x1] : clip->row(y - dy)) {
            const std::int64_t a = std::max<std::int64_t>(x0 + dx, 0);
            const std::int64_t b = std::min<std::int64_t>(x1 + dx, width - 1);
            if (a <= b) kept.emplace_back(a, b);
        }
        moved->rows[static_cast<std::size_t>(y - first)].assign(kept.begin(), kept.end());
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
