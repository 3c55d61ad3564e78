// Polygon fill with both rules, clip span lists and binary raster operations of the target.
#include <gtest/gtest.h>

#include "surface/Shapes.h"

using namespace nt;

namespace {

constexpr Pixel kBack = 0xFFFFFFFFu;
constexpr Pixel kPaint = 0xFF00FF00u;

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBack);
    return image;
}

int painted(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == kPaint;
    return n;
}

TEST(FillPolygons, FillsPixelCentresInsideWithTheLeftAndTopEdges) {
    QImage image = blank(20, 20);
    RasterTarget t(image, nullptr);
    const QPointF box[] = {{2, 3}, {10, 3}, {10, 8}, {2, 8}};
    const int counts[] = {4};
    fillPolygons(t, Brush::solid(kPaint), box, counts, FillRule::Alternate);
    EXPECT_EQ(painted(image), 8 * 5);  // columns 2..9, rows 3..7
    EXPECT_EQ(image.pixel(2, 3), kPaint);
    EXPECT_EQ(image.pixel(10, 7), kBack);
    EXPECT_EQ(image.pixel(9, 8), kBack);
}

TEST(FillPolygons, RulesDifferWhereFiguresOverlap) {
    // Two squares drawn the same way round: overlapping part winds twice.
    const QPointF squares[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10},
                               {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const int counts[] = {4, 4};
    for (const auto& [rule, overlap] :
         {std::pair{FillRule::Alternate, kBack}, std::pair{FillRule::Winding, kPaint}}) {
        QImage image = blank(20, 20);
        RasterTarget t(image, nullptr);
        fillPolygons(t, Brush::solid(kPaint), squares, counts, rule);
        EXPECT_EQ(image.pixel(7, 7), overlap);
        EXPECT_EQ(image.pixel(2, 2), kPaint);
        EXPECT_EQ(image.pixel(12, 12), kPaint);
    }
}

TEST(FillPolygons, HugeAndNonFiniteCoordinatesStayCheapAndSafe) {
    QImage image = blank(8, 8);
    RasterTarget t(image, nullptr);
    const QPointF huge[] = {{-1e30, -1e30}, {1e30, -1e30}, {0, 1e30}};
    const QPointF nan[] = {{0, 0}, {std::nan(""), 4}, {4, 4}};
    const int counts[] = {3};
    fillPolygons(t, Brush::solid(kPaint), nan, counts, FillRule::Winding);
    EXPECT_EQ(painted(image), 0);
    fillPolygons(t, Brush::solid(kPaint), huge, counts, FillRule::Winding);
    EXPECT_EQ(painted(image), 64);
    const int tooMany[] = {4};  // more points than given: nothing
    image.fill(kBack);
    fillPolygons(t, Brush::solid(kPaint), huge, tooMany, FillRule::Winding);
    EXPECT_EQ(painted(image), 0);
}

TEST(RasterTargetClip, SpansAndRectangleLimitEveryWrite) {
    QImage image = blank(10, 4);
    RasterTarget t(image, nullptr);
    ClipSpans spans;
    spans.top = 1;
    spans.rows = {{{1, 2}, {5, 6}}, {}};
    t.setClipSpans(&spans);
    t.setClip(0, 0, 5, 3);
    for (int y = 0; y < 4; ++y) t.span(y, 0, 9, kPaint);
    EXPECT_EQ(painted(image), 3);  // row 1: 1, 2 and 5 (6 is outside the rectangle)
    EXPECT_EQ(image.pixel(5, 1), kPaint);
    EXPECT_EQ(image.pixel(6, 1), kBack);
}

TEST(RasterTargetRop2, CombinesPenAndDestinationBitwise) {
    QImage image = blank(1, 1);
    image.setPixel(0, 0, 0xFF0F0F0Fu);
    RasterTarget t(image, nullptr);
    struct Case {
        int rop2;
        Pixel result;
    } cases[] = {{1, 0xFF000000u}, {16, 0xFFFFFFFFu}, {11, 0xFF0F0F0Fu}, {6, 0xFFF0F0F0u},
                 {7, 0xFF0FF00Fu}, {9, 0xFF000F00u},  {15, 0xFF0FFF0Fu}, {13, 0xFF00FF00u}};
    for (const Case& c : cases) {
        image.setPixel(0, 0, 0xFF0F0F0Fu);
        t.setRop2(c.rop2);
        t.pixel(0, 0, kPaint);
        EXPECT_EQ(image.pixel(0, 0), c.result) << c.rop2;
    }
}

}  // namespace
