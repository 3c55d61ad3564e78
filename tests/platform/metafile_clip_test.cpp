// Clip shapes as span lists: building them and combining them as the RGN_ modes do.

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/metafile/ClipRegion.h"

namespace nt::mf {
namespace {

constexpr int kW = 20, kH = 10;

bool inside(const Clip& clip, int x, int y) {
    if (!clip) return true;
    for (const auto& [a, b] : clip->row(y))
        if (a <= x && x <= b) return true;
    return false;
}

Clip box(double l, double t, double r, double b) {
    const QRectF rect(QPointF(l, t), QPointF(r, b));
    return clipFromRects(std::span(&rect, 1), kH);
}

TEST(ClipRegion, RectanglesCoverTheirPixelsAndUnite) {
    const QRectF rects[] = {{2, 1, 4, 3}, {4, 1, 4, 3}, {10, 5, 2, 2}};
    const Clip c = clipFromRects(rects, kH);
    EXPECT_TRUE(inside(c, 2, 1));
    EXPECT_TRUE(inside(c, 7, 3));  // the two first ones join into 2..7
    EXPECT_FALSE(inside(c, 8, 3));
    EXPECT_FALSE(inside(c, 2, 4));
    EXPECT_TRUE(inside(c, 11, 6));
    ASSERT_EQ(c->row(2).size(), 1u);  // merged, not two touching spans
}

TEST(ClipRegion, CombineModesFollowTheirSetOperations) {
    struct Case {
        Combine mode;
        bool onlyFirst, both, onlySecond, neither;
    } cases[] = {
        {Combine::And, false, true, false, false}, {Combine::Or, true, true, true, false},
        {Combine::Xor, true, false, true, false},  {Combine::Diff, true, false, false, false},
        {Combine::Copy, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        Clip clip = box(0, 0, 10, 10);
        const Clip saved = clip;  // a saved state sharing the clip
        combineClip(clip, box(5, 0, 15, 10), c.mode, kW, kH);
        EXPECT_EQ(inside(clip, 2, 5), c.onlyFirst);
        EXPECT_EQ(inside(clip, 7, 5), c.both);
        EXPECT_EQ(inside(clip, 12, 5), c.onlySecond);
        EXPECT_EQ(inside(clip, 17, 5), c.neither);
        EXPECT_TRUE(inside(saved, 2, 5));  // the shared one is unchanged
        EXPECT_FALSE(inside(saved, 12, 5));
    }
}

TEST(ClipRegion, NoClipIsTheWholePictureAndBoundsFollowTheShape) {
    Clip clip;
    EXPECT_EQ(clipBounds(clip, kW, kH), QRect(0, 0, kW, kH));
    combineClip(clip, box(3, 2, 9, 6), Combine::Diff, kW, kH);
    EXPECT_TRUE(inside(clip, 0, 0));
    EXPECT_FALSE(inside(clip, 4, 3));
    combineClip(clip, box(0, 0, 5, 4), Combine::And, kW, kH);
    EXPECT_EQ(clipBounds(clip, kW, kH), QRect(0, 0, 5, 4));
    EXPECT_FALSE(inside(clip, 0, 5));
}

// Random rectangles: fractional, flipped, empty, off the picture and far outside it.
std::vector<QRectF> randomRects(std::uint32_t& seed, int count) {
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    std::vector<QRectF> rects;
    for (int i = 0; i < count; ++i) {
        const auto at = [&] { return next(4) == 0 ? next(2) ? 3e9 : -3e9 : next(120) / 4.0 - 5; };
        rects.emplace_back(QPointF(at(), at()), QPointF(at(), at()));
    }
    return rects;
}

// Spans in a row are sorted, and apart: touching ones are one span.
void expectSeparateSpans(const Clip& clip) {
    for (const auto& row : clip->rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            EXPECT_LE(row[i].first, row[i].second);
            if (i > 0) {
                EXPECT_GT(row[i].first, row[i - 1].second + 1);
            }
        }
}

TEST(ClipRegion, RectanglesGiveTheSpansOfTheirPolygons) {
    // Rectangles are built as bands; the same rectangles as polygons go through the polygon
    // fill's scan: both give the same spans, row for row.
    std::uint32_t seed = 7;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const std::vector<QRectF> rects = randomRects(seed, 1 + round % 9);
        std::vector<QPointF> points;
        std::vector<int> counts;
        for (const QRectF& given : rects) {
            const QRectF r = given.normalized();
            points.insert(points.end(),
                          {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
            counts.push_back(4);
        }
        const Clip fromRects = clipFromRects(rects, kH);
        const Clip fromPolygons = clipFromPolygons(points, counts, FillRule::Winding, kH);
        EXPECT_EQ(fromRects->top, fromPolygons->top);
        EXPECT_EQ(fromRects->rows, fromPolygons->rows);
    }
    // A coordinate that is no number: no pixels, as the fill draws none.
    const QRectF withNan[] = {{1, 1, 4, 4}, {0, 0, qQNaN(), 2}};
    EXPECT_EQ(clipSpanCount(*clipFromRects(withNan, kH)), 0);
}

TEST(ClipRegion, CombiningMatchesTheSetOperationPixelByPixel) {
    std::uint32_t seed = 11;
    for (int round = 0; round < 200; ++round) {
        for (const Combine mode : {Combine::And, Combine::Or, Combine::Xor, Combine::Diff}) {
            SCOPED_TRACE(testing::Message() << round << " mode " << static_cast<int>(mode));
            const Clip a = clipFromRects(randomRects(seed, 1 + round % 6), kH);
            const Clip b = clipFromRects(randomRects(seed, 1 + round % 5), kH);
            Clip c = a;
            combineClip(c, b, mode, kW, kH);
            expectSeparateSpans(c);
            for (int y = -1; y <= kH; ++y)
                for (int x = -25; x < kW + 25; ++x) {
                    const bool p = inside(a, x, y), q = inside(b, x, y);
                    const bool want = mode == Combine::And   ? p && q
                                      : mode == Combine::Or  ? p || q
                                      : mode == Combine::Xor ? p != q
                                                             : p && !q;
                    ASSERT_EQ(inside(c, x, y), want) << x << "," << y;
                }
        }
    }
}

}  // namespace
}  // namespace nt::mf
