#include "platform/metafile/Player.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QPainterPathStroker>

namespace nt::mf {

namespace {

// Deeper SaveDC nesting than any real file has; more are ignored.
constexpr std::size_t kMaxSavedStates = 1024;
// Coordinates are clamped here before rounding: far outside any picture, inside int64.
constexpr double kFar = 1e9;

std::int64_t toPixel(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<std::int64_t>(std::llround(std::clamp(v, -kFar, kFar)));
}

// A count of steps for a curve of `amount` pixels, whatever the value (NaN included).
int steps(double amount, int least, int most) {
    return amount >= most ? most : (amount >= least ? static_cast<int>(amount) : least);
}

// A world transform whose parts stay within these bounds keeps every mapped coordinate
// finite; larger ones are damaged files.
constexpr double kMaxWorldScale = 1e6;
constexpr double kMaxWorldOffset = 1e9;

bool finite(const QTransform& t) {
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

// Millimetres per logical unit of the metric mapping modes.
double unitMillimetres(int mode) {
    switch (mode) {
        case MM_LOMETRIC:
            return 0.1;
        case MM_HIMETRIC:
            return 0.01;
        case MM_LOENGLISH:
            return 0.254;
        case MM_HIENGLISH:
            return 0.0254;
        case MM_TWIPS:
            return 25.4 / 1440;
        default:
            return 0;
    }
}

// The 8 x 8 hatch patterns: whether pixel (x, y) takes the hatch colour.
bool hatchOn(int hatch, int x, int y) {
    switch (hatch) {
        case 0:
            return y == 7;  // horizontal
        case 1:
            return x == 7;  // vertical
        case 2:
            return x == y;  // forward diagonal
        case 3:
            return x + y == 7;  // backward diagonal
        case 4:
            return x == 7 || y == 7;  // cross
        default:
            return x == y || x + y == 7;  // diagonal cross
    }
}

}  // namespace

void Figures::add(std::span<const QPointF> figure, bool isClosed) {
    if (figure.empty()) return;
    points.insert(points.end(), figure.begin(), figure.end());
    counts.push_back(static_cast<int>(figure.size()));
    closed.push_back(isClosed);
}

namespace {

// What a stroked segment and a filled polygon's corner cost besides their pixels: setting up
// the pen's ends, sorting the edges.
constexpr double kWorkPerSegment = 256, kWorkPerPoint = 32;

}  // namespace

Player::Player(const Frame& frame, QImage& image, Stats* stats, double budget)
    : frame_(frame),
      image_(image),
      target_(image, nullptr),
      stats_(stats),
      objects_(frame.handles),
      budget_(budget) {
    if (frame.kind == Kind::Emf) {
        const QRectF f = frame.deviceFrame;
        const double sx = f.width() > 0 ? image.width() / f.width() : 1;
        const double sy = f.height() > 0 ? image.height() / f.height() : 1;
        init_ = QTransform(sx, 0, 0, sy, -f.left() * sx, -f.top() * sy);
    } else {
        dc_.mapMode = MM_ANISOTROPIC;
        dc_.windowOrg = frame.window.topLeft();
        dc_.windowExt = {frame.window.width(), frame.window.height()};
        dc_.viewportExt = {double(image.width()), double(image.height())};
    }
    dc_.brush = BrushObject{BrushObject::Kind::Solid, 0xFFFFFF, 0, nullptr};
    dc_.font.height = 0;
}

// ---- mapping ----

void Player::setWindowExt(QPointF ext) {
    if (ext.x() != 0 && ext.y() != 0 && std::isfinite(ext.x()) && std::isfinite(ext.y()))
        dc_.windowExt = ext;
}

void Player::setViewportExt(QPointF ext) {
    if (ext.x() != 0 && ext.y() != 0 && std::isfinite(ext.x()) && std::isfinite(ext.y()))
        dc_.viewportExt = ext;
}

void Player::setWorld(const QTransform& t) {
    const bool bounded = std::max({std::abs(t.m11()), std::abs(t.m12()), std::abs(t.m21()),
                                   std::abs(t.m22())}) <= kMaxWorldScale &&
                         std::max(std::abs(t.dx()), std::abs(t.dy())) <= kMaxWorldOffset;
    if (finite(t) && bounded && t.isInvertible()) dc_.world = t;
}

void Player::modifyWorld(const QTransform& t, int mode) {
    switch (mode) {
        case 1:
            dc_.world = QTransform();
            return;
        case 2:
            setWorld(t * dc_.world);
            return;  // the new transform applies first
        case 3:
            setWorld(dc_.world * t);
            return;
        case 4:
            setWorld(t);
            return;
        default:
            return;
    }
}

QTransform Player::pageTransform() const {
    double sx = 1, sy = 1;
    if (const double mm = unitMillimetres(dc_.mapMode); mm > 0) {
        sx = frame_.pixelsPerMmX * mm;
        sy = -frame_.pixelsPerMmY * mm;  // metric modes count upwards
    } else if (dc_.mapMode == MM_ISOTROPIC || dc_.mapMode == MM_ANISOTROPIC) {
        sx = dc_.viewportExt.x() / dc_.windowExt.x();
        sy = dc_.viewportExt.y() / dc_.windowExt.y();
        if (dc_.mapMode == MM_ISOTROPIC) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform Player::toPixels() const {
    return dc_.world * pageTransform() * init_;
}

void Player::saveDc() {
    if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
}

void Player::restoreDc(int which) {
    const auto depth = static_cast<std::int64_t>(saved_.size());
    const std::int64_t keep = which < 0 ? depth + which : std::int64_t{which} - 1;
    if (which == 0 || keep < 0 || keep >= depth) return;
    dc_ = saved_[static_cast<std::size_t>(keep)];
    saved_.resize(static_cast<std::size_t>(keep));
}

void Player::select(const GdiObject& object) {
    if (const auto* pen = std::get_if<PenObject>(&object)) dc_.pen = *pen;
    if (const auto* brush = std::get_if<BrushObject>(&object)) dc_.brush = *brush;
    if (const auto* font = std::get_if<FontObject>(&object)) dc_.font = *font;
    if (const auto* region = std::get_if<RegionObject>(&object)) {
        // Selecting a region makes it the clip.
        std::vector<QRectF> pixels;
        for (const QRectF& r : region->rects) pixels.push_back(toPixels().mapRect(r));
        combineClip(clipOfPixelRects(pixels), Combine::Copy);
    }
}

// ---- drawing ----

double Player::penPixels() const {
    if (dc_.pen.width <= 0) return 1;
    const QTransform t = toPixels();
    return std::max(1.0, dc_.pen.width * std::sqrt(std::abs(t.determinant())));
}

void Player::prepareTarget() {
    target_.setRop2(dc_.rop2);
    target_.setClipSpans(dc_.clip.get());
}

Brush Player::surfaceBrush(const BrushObject& b) const {
    switch (b.kind) {
        case BrushObject::Kind::Null:
            return Brush::none();
        case BrushObject::Kind::Solid:
            return Brush::solid(nt::toPixel(b.colour));
        case BrushObject::Kind::Pattern:
            if (b.pattern) return Brush{Brush::Kind::Pattern, 0, b.pattern};
            return Brush::solid(nt::toPixel(b.colour));
        case BrushObject::Kind::Hatched:
            break;
    }
    // Between the hatch lines the background colour, or nothing in the transparent mode.
    QImage tile(8, 8, QImage::Format_ARGB32);
    const Pixel back = dc_.bkMode == 1 ? 0 : nt::toPixel(dc_.bkColour);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, hatchOn(b.hatch, x, y) ? nt::toPixel(b.colour) : back);
    return Brush{Brush::Kind::Pattern, 0, std::make_shared<const PatternBrush>(PatternBrush{tile})};
}

void Player::fillFigures(const Figures& f, const BrushObject& brush) {
    if (f.empty() || brush.kind == BrushObject::Kind::Null) return;
    double top = kFar, bottom = -kFar, left = kFar, right = -kFar;
    for (const QPointF& p : f.points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
        left = std::min(left, p.x());
        right = std::max(right, p.x());
    }
    // Charged for the rows and columns it can touch inside the clip.
    const double rows = std::max(0.0, std::min(bottom, double(target_.clipBottom()) + 1) -
                                          std::max(top, double(target_.clipTop())));
    const double cols = std::clamp(right - left, 0.0, double(image_.width()));
    charge(rows * (cols + double(f.points.size())) + double(f.points.size()) * kWorkPerPoint);
    if (overBudget()) return;
    fillPolygons(target_, surfaceBrush(brush), f.points, f.counts, dc_.fillRule);
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
    Pen pen;
    pen.pixel = nt::toPixel(dc_.pen.colour);
    pen.width = static_cast<int>(std::lround(std::min(penPixels(), 100.0)));
    const int style = dc_.pen.style & 0xF;
    pen.style = style >= 1 && style <= 4 ? static_cast<PenStyle>(style) : PenStyle::Solid;
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
            // The segment's pixels and the pen's round end, which is as costly as it is large.
            charge((std::min(length, reach) + pen.width) * pen.width + kWorkPerSegment);
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

void Player::render(const Figures& fill, const Figures& stroke) {
    if (recording_) {
        appendToPath(fill.empty() ? stroke : fill);
        return;
    }
    prepareTarget();
    fillFigures(fill, dc_.brush);
    strokeFigures(stroke);
}

void Player::mappedPolyline(std::span<const QPointF> logical, bool closed, Figures& out) const {
    const QTransform t = toPixels();
    std::vector<QPointF> mapped;
    mapped.reserve(logical.size());
    for (const QPointF& p : logical) mapped.push_back(t.map(p));
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

std::vector<QPointF> Player::bezierPoints(QPointF p0, std::span<const QPointF> controls) const {
    std::vector<QPointF> out{p0};
    const QTransform t = toPixels();
    for (std::size_t i = 0; i + 3 <= controls.size(); i += 3) {
        const QPointF a = out.back(), b = controls[i], c = controls[i + 1], d = controls[i + 2];
        const double length = QLineF(t.map(a), t.map(b)).length() +
                              QLineF(t.map(b), t.map(c)).length() +
                              QLineF(t.map(c), t.map(d)).length();
        const int n = steps(length / 3, 2, 64);
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
        // The outline lies inside the box: its right and bottom sides one pixel in.
        const QRectF r = t.mapRect(box.normalized());
        const double inset = penPixels() <= 1 ? 1 : 0;
        const QPointF px[] = {r.topLeft(),
                              {r.right() - inset, r.top()},
                              {r.right() - inset, r.bottom() - inset},
                              {r.left(), r.bottom() - inset}};
        stroke = {};
        stroke.add(px, true);
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

void Player::ellipse(QRectF box) {
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

void Player::arc(ArcKind kind, QRectF box, QPointF start, QPointF end) {
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

void Player::fillPixelRects(std::span<const QRectF> rects, const BrushObject& brush) {
    prepareTarget();
    Figures f;
    for (const QRectF& r : rects) {
        const QPointF corners[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
        f.add(corners, true);
    }
    fillFigures(f, brush);
}

// ---- paths ----

void Player::beginPath() {
    path_ = {};
    recording_ = true;
    figureOpen_ = false;
}

void Player::abortPath() {
    path_ = {};
    recording_ = false;
}

void Player::closeFigure() {
    if (recording_ && !path_.closed.empty()) path_.closed.back() = true;
    figureOpen_ = false;
}

void Player::appendToPath(const Figures& f) {
    // A path longer than the whole file could describe is refused point by point.
    constexpr std::size_t kMaxPathPoints = std::size_t{1} << 24;
    if (path_.points.size() + f.points.size() > kMaxPathPoints) return;
    path_.points.insert(path_.points.end(), f.points.begin(), f.points.end());
    path_.counts.insert(path_.counts.end(), f.counts.begin(), f.counts.end());
    path_.closed.insert(path_.closed.end(), f.closed.begin(), f.closed.end());
}

void Player::drawPath(bool stroke, bool fill) {
    recording_ = false;
    prepareTarget();
    if (fill) fillFigures(path_, dc_.brush);
    if (stroke) strokeFigures(path_);
    path_ = {};
}

void Player::selectClipPath(Combine mode) {
    recording_ = false;
    combineClip(clipFromPolygons(path_.points, path_.counts, dc_.fillRule, image_.height()), mode);
    path_ = {};
}

// ---- clipping ----

void Player::intersectClip(QRectF logical) {
    const QRectF r = toPixels().mapRect(logical.normalized());
    combineClip(clipOfPixelRects(std::span(&r, 1)), Combine::And);
}

void Player::excludeClip(QRectF logical) {
    const QRectF r = toPixels().mapRect(logical.normalized());
    combineClip(clipOfPixelRects(std::span(&r, 1)), Combine::Diff);
}

void Player::combineClip(const Clip& shape, Combine mode) {
    if (mode < Combine::And || mode > Combine::Copy) return;
    charge(shape ? double(shape->rows.size()) * 4 : 0);
    mf::combineClip(dc_.clip, shape, mode, image_.width(), image_.height());
    if (dc_.meta)
        mf::combineClip(dc_.clip, dc_.meta, Combine::And, image_.width(), image_.height());
}

void Player::offsetClip(QPointF logical) {
    const QTransform t = toPixels();
    const QPointF by = t.map(logical) - t.map(QPointF(0, 0));
    if (!std::isfinite(by.x()) || !std::isfinite(by.y())) return;
    const auto whole = [](double v) { return std::int64_t(std::clamp(std::round(v), -1e9, 1e9)); };
    charge(dc_.clip ? double(dc_.clip->rows.size()) : 0);
    // Only the clip moves; the meta region stays where it is.
    Clip moved = dc_.clip;
    mf::offsetClip(moved, whole(by.x()), whole(by.y()), image_.width(), image_.height());
    combineClip(moved, Combine::Copy);
}

void Player::setMetaRegion() {
    if (dc_.clip) dc_.meta = dc_.clip;
}

void Player::skip(const std::string& name) {
    if (stats_) ++stats_->skipped[name];
}

}  // namespace nt::mf
