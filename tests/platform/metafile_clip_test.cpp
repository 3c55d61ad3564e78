// Clip shapes as span lists: building them and combining them as the RGN_ modes do.

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

}  // namespace
}  // namespace nt::mf
