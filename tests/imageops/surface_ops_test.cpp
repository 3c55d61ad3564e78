#include <gtest/gtest.h>

#include "imageops/Geometry.h"
#include "imageops/Pictures.h"
#include "imageops/PointFilters.h"
#include "imageops/SurfaceOps.h"
#include "surface/Limits.h"

using namespace nt;
using namespace nt::test;

TEST(SurfaceOps, FilterReachesThePictureAndTheScreen) {
    Surface s(9, 7);
    s.setPicture(scrambled(9, 7), true);
    const QImage before = s.Image().copy();
    applyToSurface(s, [](RasterTarget& t) { InvertColors(t); });
    EXPECT_EQ(at(s.Image(), 3, 4), at(before, 3, 4) ^ 0xFFFFFFu);
    EXPECT_EQ(s.screen(), s.Image());
}

TEST(SurfaceOps, StretchCanvasTakesTheNewSize) {
    Surface s(40, 30);
    s.setPicture(scrambled(40, 30), true);
    const QImage expected = StretchImage(s.Image(), 25, 50);
    StretchCanvas(s, 25, 50);
    EXPECT_EQ(s.width(), 25);
    EXPECT_EQ(s.height(), 50);
    EXPECT_EQ(s.Image(), expected);
    EXPECT_EQ(s.screen(), expected);
}

TEST(SurfaceOps, RefusedStretchLeavesTheCanvasAlone) {
    Surface s(8, 8);
    s.setPicture(scrambled(8, 8), true);
    const QImage before = s.Image().copy();
    EXPECT_THROW(StretchCanvas(s, 30001, 8), SurfaceSizeError);
    EXPECT_EQ(s.Image(), before);
}

TEST(SurfaceOps, FrameUsesTheCanvasLineWidth) {
    // At width 3 every ring is wider: ring 0 reaches row 0, ring 1 rows 0 .. 1.
    Surface s(20, 16, 0xFFFFFF);
    s.DrawWidth = 3;
    DrawFrame(s, 0, rgb(255, 0, 0));
    EXPECT_EQ(at(s.Image(), 5, 0), rgb(255, 0, 0));
    EXPECT_EQ(at(s.Image(), 5, 1), 0xFFFFFFu);
    DrawFrame(s, 1, rgb(255, 0, 0));
    EXPECT_EQ(at(s.Image(), 1, 1), rgb(255, 0, 0));
    EXPECT_EQ(at(s.Image(), 2, 2), 0xFFFFFFu);
    EXPECT_EQ(at(s.Image(), 18, 14), rgb(255, 0, 0));
}
