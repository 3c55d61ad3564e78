#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/metafile/Player.h"
#include "platform/metafile/PlayerInternal.h"
#include "surface/ShapeArc.h"
#include "surface/Shapes.h"
#include "surface/ShapesDetail.h"

// The line and shape records (lines, polylines, Béziers, polygons, rectangles, ellipses, arcs,
// pixels) as figures in picture pixels.

namespace nt::mf {

namespace {

// A count of steps for a curve of `amount` pixels, whatever the value (NaN included).
int steps(double amount, int least, int most) {
    return amount >= most ? most : (amount >= least ? static_cast<int>(amount) : least);
}

}  // namespace

void Figures::add(std::span<const QPointF> figure, bool isClosed) {
    if (figure.empty()) return;
    points.insert(points.end(), figure.begin(), figure.end());
    counts.push_back(static_cast<int>(figure.size()));
    closed.push_back(isClosed);
}

void Player::mappedPolyline(std::span<const QPointF> logical, bool closed, Figures& out) {
    // The points mapped, their figure and the pixels a stroke rounds them to, at once.
    constexpr std::int64_t kBytesPerPoint = sizeof(QPointF) * 2 + sizeof(std::int64_t) * 2;
    if (!mapsFinitely()) return;
    if (!ledger_->fits(std::int64_t(logical.size()) * kBytesPerPoint)) {
        ledger_->refuse();
        return;
    }
    const QTransform t = toPixels();
    std::vector<QPointF> mapped;
    mapped.reserve(logical.size());
    for (const QPointF& p : logical) {
        mapped.push_back(t.map(p));
        if (!std::isfinite(mapped.back().x()) || !std::isfinite(mapped.back().y())) {
            refused_ = true;
            return;
        }
    }
    out.add(mapped, closed);
}

void Player::moveTo(QPointF p) {
    dc_.current = p;
    figureOpen_ = false;
}

void Player::lineTo(QPointF p) {
    const QPointF points[] = {dc_.current, p};
    polylineTo(std::span(points).subspan(1));
}

void Player::polyline(std::span<const QPointF> points) {
    if (points.size() < 2) return;
    Figures f;
    mappedPolyline(points, false, f);
    render({}, f);
    if (recording_) figureOpen_ = false;
}

void Player::polylineTo(std::span<const QPointF> points) {
    if (points.empty()) return;
    std::vector<QPointF> all{dc_.current};
    all.insert(all.end(), points.begin(), points.end());
    dc_.current = points.back();
    if (recording_ && figureOpen_ && !path_.counts.empty()) {
        // Continue the open figure rather than start another.
        if (!mapsFinitely() || !growPath(points.size())) return;
        const QTransform t = toPixels();
        for (const QPointF& p : points) path_.points.push_back(t.map(p));
        path_.counts.back() += static_cast<int>(points.size());
        return;
    }
    Figures f;
    mappedPolyline(all, false, f);
    render({}, f);
    if (recording_) figureOpen_ = true;
}

std::vector<QPointF> Player::bezierPoints(QPointF p0, std::span<const QPointF> controls) {
    if (!mapsFinitely()) return {};
    // Each curve takes up to 64 points: counted, charged and admitted before any is made.
    const QTransform t = toPixels();
    std::vector<int> steps;
    double total = 1;
    QPointF a = p0;
    for (std::size_t i = 0; i + 3 <= controls.size(); i += 3) {
        const QPointF b = controls[i], c = controls[i + 1], d = controls[i + 2];
        const double length = QLineF(t.map(a), t.map(b)).length() +
                              QLineF(t.map(b), t.map(c)).length() +
                              QLineF(t.map(c), t.map(d)).length();
        steps.push_back(mf::steps(length / 3, 2, 64));
        total += steps.back();
        a = d;
    }
    charge(total * kWorkPerPoint);
    if (!overBudget() && !ledger_->fits(std::int64_t(total) * std::int64_t(sizeof(QPointF)) * 2))
        ledger_->refuse();
    if (overBudget()) return {};
    std::vector<QPointF> out{p0};
    out.reserve(static_cast<std::size_t>(total));
    for (std::size_t i = 0; i + 3 <= controls.size(); i += 3) {
        const QPointF a = out.back(), b = controls[i], c = controls[i + 1], d = controls[i + 2];
        const int n = steps[i / 3];
        for (int s = 1; s <= n; ++s) {
            const double u = double(s) / n, v = 1 - u;
            out.push_back(a * (v * v * v) + b * (3 * v * v * u) + c * (3 * v * u * u) +
                          d * (u * u * u));
        }
    }
    return out;
}

void Player::polyBezier(std::span<const QPointF> points) {
    if (points.size() < 4) return;
    polyline(bezierPoints(points.front(), points.subspan(1)));
}

void Player::polyBezierTo(std::span<const QPointF> points) {
    if (points.size() < 3) return;
    const std::vector<QPointF> flat = bezierPoints(dc_.current, points);
    if (flat.size() < 2) return;
    polylineTo(std::span(flat).subspan(1));
}

void Player::polyPolygon(std::span<const QPointF> points, std::span<const int> counts) {
    Figures f;
    std::size_t start = 0;
    for (const int n : counts) {
        if (n < 0 || static_cast<std::size_t>(n) > points.size() - start) break;
        if (n >= 2) mappedPolyline(points.subspan(start, n), true, f);
        start += static_cast<std::size_t>(n);
    }
    render(f, f);
}

void Player::polyPolyline(std::span<const QPointF> points, std::span<const int> counts) {
    std::size_t start = 0;
    for (const int n : counts) {
        if (n < 0 || static_cast<std::size_t>(n) > points.size() - start) break;
        polyline(points.subspan(start, n));
        start += static_cast<std::size_t>(n);
    }
}

void Player::rectangle(QRectF box) {
    const QTransform t = toPixels();
    const QPointF corners[] = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
    Figures fill;
    mappedPolyline(corners, true, fill);
    Figures stroke = fill;
    if (!t.isRotating()) {
        // The outline runs through the box's last pixels inside, whatever the pen's width, and
        // the brush fills within it: a WMF box ends one pixel before its right and bottom
        // sides, an EMF box (stored inclusive) on them. A box one pixel wide is its outline
        // alone, one pixel square nothing at all.
        const QRectF r = t.mapRect(box.normalized());
        const double inset = frame_.kind == Kind::Emf ? 0 : 1;
        const QPointF px[] = {r.topLeft(),
                              {r.right() - inset, r.top()},
                              {r.right() - inset, r.bottom() - inset},
                              {r.left(), r.bottom() - inset}};
        stroke = {};
        if (frame_.kind == Kind::Emf || dc_.pen.null()) {
            stroke.add(px, true);
            if (!fill.empty()) fill = stroke;
        } else {
            // A WMF outline runs anticlockwise from the top-right corner (where a style's
            // pattern starts), and the brush fills only inside the pen's band.
            const QPointF order[] = {px[1], px[0], px[3], px[2]};
            stroke.add(order, true);
            const int w = enginePen().width;
            const double in = std::floor((w - 1) / 2.0) + 1, out = std::floor(w / 2.0);
            const QRectF inner = QRectF(px[0], px[2]).adjusted(in, in, -out, -out);
            const QPointF box[] = {inner.topLeft(), inner.topRight(), inner.bottomRight(),
                                   inner.bottomLeft()};
            const bool brushed = !fill.empty();
            fill = {};
            if (brushed && inner.width() > 0 && inner.height() > 0) fill.add(box, true);
        }
    }
    render(fill, stroke);
}

std::vector<QPointF> Player::ellipsePoints(QRectF box, double from, double sweep) const {
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    const QRectF device = toPixels().mapRect(box);
    const double size = std::min(device.width() + device.height(), 1e5);
    const int n = steps(size * std::abs(sweep) / (2 * std::numbers::pi) / 2, 8, 720);
    std::vector<QPointF> out;
    out.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double a = from + sweep * i / n;
        out.emplace_back(c.x() + rx * std::cos(a), c.y() - ry * std::sin(a));
    }
    return out;
}

bool Player::roundedAsGdi(QRectF box, QSizeF corner) {
    const QTransform t = toPixels();
    const int style = dc_.pen.style & 0xF;
    const bool outlined =
        dc_.pen.dashes.empty() && style <= 5 && !(dc_.pen.shaped() && std::lround(penPixels()) > 1);
    if (recording_ || t.isRotating() || !outlined || !mapsFinitely()) return false;
    const QRectF r = t.mapRect(box.normalized());
    const std::int64_t left = toPixel(r.left()), top = toPixel(r.top());
    const std::int64_t right = toPixel(r.right()), bottom = toPixel(r.bottom());
    const bool rounded = corner.isValid();
    const std::int64_t cw = rounded ? toPixel(std::abs(corner.width() * t.m11())) : right - left;
    const std::int64_t ch = rounded ? toPixel(std::abs(corner.height() * t.m22())) : bottom - top;
    if (left == right || top == bottom) return true;  // an empty box draws nothing, any pen
    // A box or corner two pixels wide or high or less is drawn as the Rectangle record of the
    // same box (an EMF one inclusive); any other is drawn from the stored box in both formats.
    if (right - left <= 2 || bottom - top <= 2 || cw <= 2 || ch <= 2) {
        rectangle(box);
        return true;
    }
    const Pen pen = enginePen();
    // Charged for the rows and columns it can touch inside the picture, the outline's pixels
    // a dozen times over, and the walk along a corner's whole curve that shapes it (made
    // whether the curve is seen or not, up to a size; larger ones are computed per row).
    const double rows = std::clamp(double(bottom - top) + pen.width, 0.0, double(image_.height()));
    const double cols = std::clamp(double(right - left) + pen.width, 0.0, double(image_.width()));
    const double walk = shapes::EllipseQuarter::fits(cw, ch) ? double(cw + ch) : 0;
    charge(rows * cols + (rows + cols) * 2 * pen.width * kWorkPerLinePixel +
           walk * kWorkPerCurveStep + kWorkPerSegment);
    if (overBudget()) return true;
    prepareTarget();
    const Brush brush = surfaceBrush(dc_.brush);
    if (!dc_.pen.null() && pen.width > 1) {
        drawRoundRect(target_, pen, brush, left, top, right, bottom, cw, ch);
        return true;
    }
    // Without a pen, or under a thin one, the brush fills the whole shape, its outline's
    // pixels included: a styled outline's gaps and a mixing mode show it.
    const shapes::RoundedBox inside(left, top, right - left, bottom - top,
                                    std::min(cw, right - left), std::min(ch, bottom - top), true);
    const std::int64_t y1 = std::min<std::int64_t>(inside.bottom(), image_.height() - 1);
    for (std::int64_t y = std::max<std::int64_t>(inside.top(), 0); y <= y1; ++y) {
        std::int64_t x0, x1;
        if (inside.span(y, x0, x1)) fillSpanWithBrush(target_, brush, y, x0, x1);
    }
    if (!dc_.pen.null())
        drawRoundRect(target_, pen, Brush::none(), left, top, right, bottom, cw, ch);
    return true;
}

void Player::ellipse(QRectF box) {
    if (roundedAsGdi(box, QSizeF())) return;
    const QTransform t = toPixels();
    box = box.normalized();
    std::vector<QPointF> outline = ellipsePoints(box, 0, 2 * std::numbers::pi);
    outline.pop_back();
    Figures fill;
    mappedPolyline(outline, true, fill);
    Figures stroke = fill;
    if (!t.isRotating() && penPixels() <= 1) {
        // A thin outline runs through the centres of the box's outer pixels.
        const QRectF r = t.mapRect(box).adjusted(0, 0, -1, -1);
        if (r.width() > 0 && r.height() > 0) {
            stroke = {};
            std::vector<QPointF> px;
            for (const QPointF& p : fill.points)
                px.emplace_back(r.center().x() + (p.x() - t.mapRect(box).center().x()) * r.width() /
                                                     t.mapRect(box).width(),
                                r.center().y() + (p.y() - t.mapRect(box).center().y()) *
                                                     r.height() / t.mapRect(box).height());
            stroke.add(px, true);
        }
    }
    render(fill, stroke);
}

void Player::roundRect(QRectF box, QSizeF corner) {
    box = box.normalized();
    const double cw = std::min(std::abs(corner.width()), box.width());
    const double ch = std::min(std::abs(corner.height()), box.height());
    if (roundedAsGdi(box, QSizeF(cw, ch))) return;
    if (cw <= 0 || ch <= 0) return rectangle(box);
    std::vector<QPointF> outline;
    const double pi = std::numbers::pi;
    const auto quarter = [&](double cx, double cy, double from) {
        const auto q = ellipsePoints(QRectF(cx - cw / 2, cy - ch / 2, cw, ch), from, pi / 2);
        outline.insert(outline.end(), q.begin(), q.end());
    };
    quarter(box.right() - cw / 2, box.top() + ch / 2, 0);
    quarter(box.left() + cw / 2, box.top() + ch / 2, pi / 2);
    quarter(box.left() + cw / 2, box.bottom() - ch / 2, pi);
    quarter(box.right() - cw / 2, box.bottom() - ch / 2, 3 * pi / 2);
    Figures f;
    mappedPolyline(outline, true, f);
    render(f, f);
}

bool Player::arcAsGdi(ArcKind kind, QRectF box, QPointF start, QPointF end) {
    // Two points a pixel: the pixel pairs made here, then the figure's points.
    constexpr std::int64_t kBytesPerPoint = sizeof(std::int64_t) * 2 + sizeof(QPointF) * 2;
    const QTransform t = toPixels();
    // User or geometric dashes and shaped wide ends keep the sampled curve.
    const int style = dc_.pen.style & 0xF;
    const bool plain =
        dc_.pen.dashes.empty() && style <= 5 && !(dc_.pen.shaped() && std::lround(penPixels()) > 1);
    if (recording_ || t.isRotating() || !mapsFinitely() || !plain) return false;
    const QRectF r = t.mapRect(box.normalized());
    const std::int64_t left = toPixel(r.left()), top = toPixel(r.top());
    const std::int64_t right = toPixel(r.right()), bottom = toPixel(r.bottom());
    const bool to = kind == ArcKind::ArcTo, closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    // An empty box draws nothing, any pen (ArcTo's line there is the sampled curve's).
    if (left == right || top == bottom) return !to;
    // Larger ones keep the sampled curve, whose cost does not grow with the box.
    if (!shapes::EllipseQuarter::fits(right - left, bottom - top)) return false;
    const std::int64_t walk = right - left + bottom - top;
    charge(double(walk) * kWorkPerCurveStep + kWorkPerSegment);
    if (overBudget()) return true;
    if (!ledger_->fits(walk * 3 * kBytesPerPoint)) {
        ledger_->refuse();
        return true;
    }
    const QPointF s = t.map(start), e = t.map(end);
    const std::vector<std::int64_t> xy =
        gdiArcPoints(left, top, right, bottom, dc_.clockwiseArcs, double(toPixel(s.x())),
                     double(toPixel(s.y())), double(toPixel(e.x())), double(toPixel(e.y())));
    std::vector<QPointF> points;
    points.reserve(xy.size() / 2 + 1);
    if (to) {
        const QPointF from = t.map(dc_.current);
        points.emplace_back(toPixel(from.x()), toPixel(from.y()));
        dc_.current = arcEnd(box.normalized(), end);
    }
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) points.emplace_back(xy[i], xy[i + 1]);
    if (kind == ArcKind::Pie)
        points.emplace_back(left + (right - left) / 2, top + (bottom - top) / 2);
    if (points.size() < 2) return true;
    Figures stroke, fill;
    stroke.add(points, closed);
    if (closed) fill.add(points, true);
    render(fill, stroke);
    return true;
}

// Where ArcTo leaves the current position: the whole point of the ellipse on the end radial.
QPointF Player::arcEnd(QRectF box, QPointF end) {
    const QPointF c = box.center();
    const double a = std::atan2((end.y() - c.y()) / box.height(), (end.x() - c.x()) / box.width());
    return {std::floor(c.x() + std::cos(a) * box.width() / 2 + 0.5),
            std::floor(c.y() + std::sin(a) * box.height() / 2 + 0.5)};
}

void Player::arc(ArcKind kind, QRectF box, QPointF start, QPointF end) {
    if (arcAsGdi(kind, box, start, end)) return;
    box = box.normalized();
    if (box.width() <= 0 || box.height() <= 0) return;
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    const auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx);
    };
    const double a0 = angle(start), a1 = angle(end);
    const double turn = 2 * std::numbers::pi;
    double sweep = a1 - a0;
    if (dc_.clockwiseArcs) {
        while (sweep >= 0) sweep -= turn;
    } else {
        while (sweep <= 0) sweep += turn;
    }
    std::vector<QPointF> points = ellipsePoints(box, a0, sweep);
    if (kind == ArcKind::ArcTo) {
        polylineTo(points);
        return;
    }
    if (kind == ArcKind::Pie) points.push_back(c);
    Figures f;
    mappedPolyline(points, kind != ArcKind::Arc, f);
    render(kind == ArcKind::Arc ? Figures{} : f, f);
}

void Player::setPixel(QPointF p, Colour c) {
    if (recording_) return;
    prepareTarget();
    const QPointF d = map(p);
    target_.pixel(toPixel(std::floor(d.x())), toPixel(std::floor(d.y())), nt::toPixel(c));
}

}  // namespace nt::mf
