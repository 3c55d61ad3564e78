#include <cmath>

#include <QPainterPath>
#include <QPainterPathStroker>

#include "platform/metafile/Player.h"
#include "platform/metafile/PlayerInternal.h"

// Stroking figures with the selected pen: cosmetic lines, dashes, and wide pens outlined.

namespace nt::mf {

double Player::penPixels() const {
    if (dc_.pen.width <= 0) return 1;
    const QTransform t = toPixels();
    return std::max(1.0, dc_.pen.width * std::sqrt(std::abs(t.determinant())));
}

Pen Player::enginePen() const {
    Pen pen;
    pen.pixel = nt::toPixel(dc_.pen.colour);
    pen.width = static_cast<int>(std::lround(std::min(penPixels(), 100.0)));
    const int style = dc_.pen.style & 0xF;
    pen.style = style >= 1 && style <= 4 ? static_cast<PenStyle>(style) : PenStyle::Solid;
    if (dc_.bkMode == 2) pen.gap = nt::toPixel(dc_.bkColour);
    return pen;
}

void Player::strokeFigures(const Figures& f) {
    if (f.empty() || dc_.pen.null()) return;
    if (!dc_.pen.dashes.empty()) {
        strokeDashed(f);
        return;
    }
    if (dc_.pen.shaped() && std::lround(penPixels()) > 1) {  // a one-pixel line has no shape
        strokeOutlined(f);
        return;
    }
    const Pen pen = enginePen();
    const double reach = double(image_.width()) + image_.height();
    std::size_t start = 0;
    std::vector<std::int64_t> xy;
    for (std::size_t i = 0; i < f.counts.size() && !overBudget(); ++i) {
        const auto n = static_cast<std::size_t>(f.counts[i]);
        const std::size_t segments = f.closed[i] ? n : n - 1;
        xy.assign({toPixel(f.points[start].x()), toPixel(f.points[start].y())});
        std::size_t s = 0;
        for (; s < segments && !overBudget(); ++s) {
            const QPointF a = f.points[start + s], b = f.points[start + (s + 1) % n];
            const double length = std::abs(a.x() - b.x()) + std::abs(a.y() - b.y());
            // The segment's pixels, written one by one along it, and the pen's round end, which
            // is as costly as it is large; a wide segment is also outlined row by row, each
            // row's pieces merged with the other segments' there.
            const double rows = std::min(std::abs(a.y() - b.y()), reach) + pen.width;
            charge(std::min(length, reach) * kWorkPerLinePixel +
                   (std::min(length, reach) + pen.width) * pen.width +
                   (pen.width > 1 ? rows * kWorkPerCrossing : 0) + kWorkPerSegment);
            if (s + 1 < n) xy.insert(xy.end(), {toPixel(b.x()), toPixel(b.y())});
        }
        drawSegments(target_, pen, xy, f.closed[i] && s == segments);
        start += n;
    }
}

namespace {

// What one dash costs besides its pixels (outlining and filling it as its own shape), and how
// many are drawn at once.
constexpr double kWorkPerDash = 2048;
constexpr std::size_t kDashesPerBatch = 256;

// Where along a dash pattern a stroke is: which entry, and how much of it is left.
class DashPhase {
  public:
    DashPhase(const std::vector<double>& pattern, double period)
        : pattern_(pattern), period_(period), left_(pattern.front()) {}
    bool on() const { return dash_ % 2 == 0; }
    // Moves on by `distance` without drawing.
    void skip(double distance) {
        distance = std::fmod(distance, period_);
        while (distance >= left_) {
            distance -= left_;
            advance();
        }
        left_ -= distance;
    }
    // Walks from `a` to `b` (`length` apart), calling `boundary(point, wasOn)` where a dash
    // or a gap ends; it returns false to stop.
    template <typename Boundary>
    void walk(QPointF a, QPointF b, double length, Boundary boundary) {
        double done = 0;
        while (length - done >= left_) {
            done += left_;
            const bool wasOn = on();
            advance();
            if (!boundary(a + (b - a) * (done / length), wasOn)) return;
        }
        left_ -= length - done;
    }

  private:
    void advance() {
        dash_ = (dash_ + 1) % pattern_.size();
        left_ = pattern_[dash_];
    }
    const std::vector<double>& pattern_;
    double period_;
    std::size_t dash_ = 0;
    double left_;
};

// The part of segment a-b inside `box`, as parameters from 0 (a) to 1 (b); empty when the
// first is not below the second.
std::pair<double, double> spanInside(QPointF a, QPointF b, const QRectF& box) {
    double t0 = 0, t1 = 1;
    const double d[] = {b.x() - a.x(), b.y() - a.y()};
    const double from[] = {a.x(), a.y()}, low[] = {box.left(), box.top()},
                 high[] = {box.right(), box.bottom()};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (from[axis] < low[axis] || from[axis] > high[axis]) return {1, 0};
            continue;
        }
        double enter = (low[axis] - from[axis]) / d[axis],
               leave = (high[axis] - from[axis]) / d[axis];
        if (enter > leave) std::swap(enter, leave);
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
    }
    return {t0, t1};
}

}  // namespace

void Player::strokeDashed(const Figures& f) {
    // The pattern in pixels; one too fine to see is drawn solid, as its dashes would merge.
    const double scale = std::sqrt(std::abs(toPixels().determinant()));
    std::vector<double> pattern;
    double period = 0;
    for (const double d : dc_.pen.dashes) {
        pattern.push_back(std::max(d * scale, 0.0));
        period += pattern.back();
    }
    PenObject solid = dc_.pen;
    solid.dashes.clear();
    const auto strokeSolid = [&](const Figures& pieces) {
        std::swap(dc_.pen, solid);
        strokeFigures(pieces);
        std::swap(dc_.pen, solid);
    };
    if (!(period >= 2) || !std::isfinite(period)) {
        strokeSolid(f);
        return;
    }
    // The pattern runs on along each figure, through its corners; each dash is one piece.
    // Stretches outside the picture only move the pattern on.
    const double margin = penPixels() + 2;
    const QRectF visible(-margin, -margin, image_.width() + 2 * margin,
                         image_.height() + 2 * margin);
    Figures pieces;
    std::vector<QPointF> piece;  // the dash being drawn
    const auto endPiece = [&] {
        if (piece.size() > 1) pieces.add(piece, false);
        piece.clear();
        if (pieces.counts.size() >= kDashesPerBatch) {  // bounded memory
            strokeSolid(pieces);
            pieces = {};
        }
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < f.counts.size() && !overBudget(); ++i) {
        const auto n = static_cast<std::size_t>(f.counts[i]);
        DashPhase phase(pattern, period);
        const std::size_t segments = f.closed[i] ? n : n - 1;
        for (std::size_t s = 0; s < segments && !overBudget(); ++s) {
            const QPointF a = f.points[start + s], b = f.points[start + (s + 1) % n];
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            charge(1);
            const auto [t0, t1] = spanInside(a, b, visible);
            if (!(t0 < t1)) {
                endPiece();
                phase.skip(length);
                continue;
            }
            if (t0 > 0) {
                endPiece();
                phase.skip(t0 * length);
            }
            const QPointF from = a + (b - a) * t0, to = a + (b - a) * t1;
            if (phase.on() && piece.empty()) piece = {from};
            phase.walk(from, to, (t1 - t0) * length, [&](QPointF at, bool wasOn) {
                charge(kWorkPerDash);
                if (wasOn) {
                    piece.push_back(at);
                    endPiece();
                } else {
                    piece = {at};
                }
                return !overBudget();
            });
            if (phase.on()) piece.push_back(to);
            if (t1 < 1) {
                endPiece();
                phase.skip((1 - t1) * length);
            }
        }
        endPiece();
        start += n;
    }
    strokeSolid(pieces);
}

// A wide pen with square or flat ends or mitred or bevelled corners: the outline of the
// stroke, filled so that where it overlaps itself it covers once.
void Player::strokeOutlined(const Figures& f) {
    QPainterPath path;
    std::size_t start = 0;
    for (std::size_t i = 0; i < f.counts.size(); ++i) {
        const auto n = static_cast<std::size_t>(f.counts[i]);
        path.moveTo(f.points[start]);
        for (std::size_t k = 1; k < n; ++k) path.lineTo(f.points[start + k]);
        if (f.closed[i]) path.closeSubpath();
        start += n;
    }
    charge(double(f.points.size()) * kWorkPerSegment);
    if (overBudget()) return;
    QPainterPathStroker stroker;
    stroker.setWidth(penPixels());
    stroker.setCapStyle(dc_.pen.cap == PenObject::Cap::Flat     ? Qt::FlatCap
                        : dc_.pen.cap == PenObject::Cap::Square ? Qt::SquareCap
                                                                : Qt::RoundCap);
    stroker.setJoinStyle(dc_.pen.join == PenObject::Join::Miter   ? Qt::MiterJoin
                         : dc_.pen.join == PenObject::Join::Bevel ? Qt::BevelJoin
                                                                  : Qt::RoundJoin);
    stroker.setMiterLimit(dc_.miterLimit);
    // The stroker's outlines are meant to be filled together with the winding rule, so each
    // is taken as it is (merging them first costs the square of their number).
    Figures outline;
    for (const QPolygonF& polygon : stroker.createStroke(path).toSubpathPolygons())
        outline.add(std::span(polygon.constData(), polygon.size()), true);
    const FillRule rule = std::exchange(dc_.fillRule, FillRule::Winding);
    fillFigures(outline, BrushObject{BrushObject::Kind::Solid, dc_.pen.colour, 0, nullptr});
    dc_.fillRule = rule;
}

}  // namespace nt::mf
