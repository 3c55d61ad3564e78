#include "platform/metafile/Player.h"
#include "platform/metafile/PlayerInternal.h"

// Filling figures with the selected brush (solid, hatched, pattern), and regions as rectangles.

namespace nt::mf {

namespace {

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

void Player::fillFigures(const Figures& f, const BrushObject& brush, PolygonSampling sampling) {
    if (f.empty() || brush.kind == BrushObject::Kind::Null) return;
    double top = kFar, bottom = -kFar, left = kFar, right = -kFar;
    for (const QPointF& p : f.points) {
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
        left = std::min(left, p.x());
        right = std::max(right, p.x());
    }
    // Charged for the rows and columns it can touch inside the clip, and for every edge
    // crossing a row there: those are sorted row by row.
    const double clipTop = target_.clipTop(), clipBottom = double(target_.clipBottom()) + 1;
    const double rows = std::max(0.0, std::min(bottom, clipBottom) - std::max(top, clipTop));
    const double cols = std::clamp(right - left, 0.0, double(image_.width()));
    double crossings = 0;
    std::size_t start = 0;
    for (const int n : f.counts) {
        for (int i = 0; i < n; ++i) {
            const double a = f.points[start + i].y(), b = f.points[start + (i + 1) % n].y();
            crossings += std::max(
                0.0, std::min(std::max(a, b), clipBottom) - std::max(std::min(a, b), clipTop) + 1);
        }
        start += static_cast<std::size_t>(n);
    }
    charge(rows * cols + crossings * kWorkPerCrossing + double(f.points.size()) * kWorkPerPoint);
    if (overBudget()) return;
    fillPolygons(target_, surfaceBrush(brush), f.points, f.counts, dc_.fillRule, sampling);
}

void Player::render(const Figures& fill, const Figures& stroke) {
    if (overBudget()) return;
    if (recording_) {
        appendToPath(fill.empty() ? stroke : fill);
        return;
    }
    prepareTarget();
    // GDI fills a shape's pixels by their corners, its vertices rounded to whole pixels.
    fillFigures(fill, dc_.brush, PolygonSampling::Corners);
    strokeFigures(stroke);
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

}  // namespace nt::mf
