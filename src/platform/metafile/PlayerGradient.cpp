#include <algorithm>
#include <array>
#include <cmath>

#include "platform/metafile/Player.h"

namespace nt::mf {

namespace {

// A vertex colour as floating channels 0..255.
std::array<double, 3> channels(const GradientVertex& v) {
    return {v.red / 256.0, v.green / 256.0, v.blue / 256.0};
}

Pixel toPixelColour(const std::array<double, 3>& c) {
    const auto byte = [](double v) { return Pixel(std::clamp(std::lround(v), 0L, 255L)); };
    return 0xFF000000u | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
}

}  // namespace

void Player::gradientFill(std::span<const GradientVertex> vertices,
                          std::span<const std::array<std::uint32_t, 3>> shapes, int mode) {
    // Each pixel weighs the vertex colours in floating point: measured at 35 times the cost
    // of a solid fill's pixel.
    constexpr double kWorkPerShadedPixel = 35;
    if (recording_ || !mapsFinitely()) return;
    prepareTarget();
    const QTransform t = toPixels();
    const auto at = [&](std::uint32_t i) { return t.map(vertices[i].point); };
    // Without a turn or a slant a rectangle is its own bounding box.
    const bool aligned = t.m12() == 0 && t.m21() == 0;
    for (const auto& shape : shapes) {
        const bool triangle = mode == 2;
        if (shape[0] >= vertices.size() || shape[1] >= vertices.size() ||
            (triangle && shape[2] >= vertices.size()))
            continue;
        // Corners in pixels, and for each pixel centre the weights of the vertex colours; a
        // pixel is filled when no weight is negative.
        std::array<QPointF, 3> p{at(shape[0]), at(shape[1]), {}};
        std::array<std::array<double, 3>, 3> colour{
            channels(vertices[shape[0]]), channels(vertices[shape[1]]), {}};
        QPolygonF outline;
        if (triangle) {
            p[2] = at(shape[2]);
            colour[2] = channels(vertices[shape[2]]);
            outline << p[0] << p[1] << p[2];
        } else {
            // A rectangle from one corner to the other, shaded across (mode 0) or down (1).
            const QPointF a = vertices[shape[0]].point, b = vertices[shape[1]].point;
            outline << t.map(a) << t.map(QPointF(b.x(), a.y())) << t.map(b)
                    << t.map(QPointF(a.x(), b.y()));
        }
        const QRectF box = outline.boundingRect().intersected(QRectF(image_.rect()));
        if (box.isEmpty()) continue;
        charge(box.width() * box.height() * kWorkPerShadedPixel + 1);
        if (overBudget()) return;
        // The rectangle's shading runs along one side: weight of the second colour.
        const QPointF side = triangle ? QPointF() : (mode == 0 ? outline[1] : outline[3]) - p[0];
        const double sideLength2 = side.x() * side.x() + side.y() * side.y();
        const double det = (p[1].x() - p[0].x()) * (p[2].y() - p[0].y()) -
                           (p[2].x() - p[0].x()) * (p[1].y() - p[0].y());
        if (triangle ? det == 0 : sideLength2 == 0) continue;
        const int top = int(std::floor(box.top())), bottom = int(std::ceil(box.bottom()));
        const int left = int(std::floor(box.left())), right = int(std::ceil(box.right()));
        for (int y = top; y < bottom; ++y) {
            target_.forEachVisible(y, left, right - 1, [&](std::int64_t x0, std::int64_t x1) {
                Pixel* row = target_.row(y);
                for (std::int64_t x = x0; x <= x1; ++x) {
                    const QPointF c(double(x) + 0.5, double(y) + 0.5);
                    std::array<double, 3> mixed{};
                    if (triangle) {
                        const QPointF d = c - p[0];
                        const double w1 =
                            (d.x() * (p[2].y() - p[0].y()) - (p[2].x() - p[0].x()) * d.y()) / det;
                        const double w2 =
                            ((p[1].x() - p[0].x()) * d.y() - d.x() * (p[1].y() - p[0].y())) / det;
                        const double w0 = 1 - w1 - w2;
                        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                        for (int k = 0; k < 3; ++k)
                            mixed[k] = w0 * colour[0][k] + w1 * colour[1][k] + w2 * colour[2][k];
                    } else {
                        if (!aligned && !outline.containsPoint(c, Qt::OddEvenFill)) continue;
                        const QPointF d = c - p[0];
                        const double w = std::clamp(
                            (d.x() * side.x() + d.y() * side.y()) / sideLength2, 0.0, 1.0);
                        for (int k = 0; k < 3; ++k)
                            mixed[k] = colour[0][k] + w * (colour[1][k] - colour[0][k]);
                    }
                    row[x] = toPixelColour(mixed);
                }
                target_.mark(y, int(x0), int(x1));
            });
        }
    }
}

}  // namespace nt::mf
