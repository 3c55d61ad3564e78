#include <gtest/gtest.h>

#include "imageops/Geometry.h"
#include "imageops/Pictures.h"
#include "surface/Blit.h"
#include "surface/Limits.h"

using namespace nt;
using namespace nt::test;

namespace {

QImage flipped(const QImage& in, int mode) {
    return applied(in, [mode](RasterTarget& t) { FlipCanvas(t, static_cast<std::int16_t>(mode)); });
}
QImage mirrored(const QImage& in) {
    return applied(in, [](RasterTarget& t) { MirrorHalf(t); });
}

// Pixel (x, y) of the result comes from from(x, y).
template <class From>
void expectMapping(const QImage& in, const QImage& out, From from) {
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const auto [fx, fy] = from(x, y);
            ASSERT_EQ(at(out, x, y), at(in, fx, fy)) << x << "," << y;
        }
}

}  // namespace

TEST(Flip, EachModeIsTheExactMirror) {
    // Odd and even sizes, and a picture big enough to be split between threads.
    for (auto [w, h] :
         {std::pair{1, 1}, {3, 2}, {4, 5}, {kBandedWidth, kBandedHeight}, {700, 402}}) {
        const QImage in = scrambled(w, h, static_cast<std::uint32_t>(w));
        const int W = w, H = h;
        expectMapping(in, flipped(in, 0), [W](int x, int y) { return std::pair{W - 1 - x, y}; });
        expectMapping(in, flipped(in, 1), [H](int x, int y) { return std::pair{x, H - 1 - y}; });
        for (int both : {2, 7, -1})
            expectMapping(in, flipped(in, both), [W, H](int x, int y) {
                return std::pair{W - 1 - x, H - 1 - y};
            });
    }
}

TEST(Flip, TwiceRestoresAndBothIsTheTwoOthers) {
    const QImage in = scrambled(7, 6);
    for (int mode : {0, 1, 2}) EXPECT_EQ(flipped(flipped(in, mode), mode), in);
    EXPECT_EQ(flipped(in, 2), flipped(flipped(in, 0), 1));
}

TEST(Mirror, RightHalfBecomesTheLeftHalfMirrored) {
    for (auto [w, h] : {std::pair{10, 3}, {11, 3}, {kBandedWidth, kBandedHeight}}) {
        const QImage in = scrambled(w, h);
        const int W = w;
        expectMapping(in, mirrored(in), [W](int x, int y) {
            return std::pair{x <= (W - 1) / 2 ? x : W - 1 - x, y};
        });
    }
}

TEST(Mirror, NarrowPicturesAndRepeats) {
    const QImage one = scrambled(1, 4);
    EXPECT_EQ(mirrored(one), one);
    const QImage two = scrambled(2, 4);
    expectMapping(two, mirrored(two), [](int, int y) { return std::pair{0, y}; });
    const QImage in = scrambled(9, 5);
    EXPECT_EQ(mirrored(mirrored(in)), mirrored(in));
}

TEST(Stretch, SameSizeKeepsThePicture) {
    const QImage in = scrambled(13, 7);
    EXPECT_EQ(StretchImage(in, 13, 7), in);
}

TEST(Stretch, HalvingAveragesAreas) {
    // 2 x 2 blocks of one colour shrink to that colour; a block of two colours to their mean.
    const QImage blocks =
        makePicture(6, 4, [](int x, int y) { return rgb(40 * (x / 2), 90 * (y / 2), 200); });
    const QImage half = StretchImage(blocks, 3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(at(half, x, y), rgb(40 * x, 90 * y, 200));
    const QImage stripes =
        makePicture(2, 1, [](int x, int) { return x == 0 ? rgb(0, 0, 0) : rgb(200, 100, 50); });
    EXPECT_EQ(at(StretchImage(stripes, 1, 1), 0, 0), rgb(100, 50, 25));
}

TEST(Stretch, SplittingTheRowsChangesNothing) {
    // Enlarging and shrinking to sizes big enough to be shared between threads.
    const QImage in = scrambled(97, 61);
    for (auto [w, h] : {std::pair{kBandedWidth, kBandedHeight}, {640, 420}}) {
        QImage whole(w, h, QImage::Format_RGB32);
        RasterTarget t(whole, nullptr);
        stretchRect(t, 0, 0, w, h, in, 0, 0, in.width(), in.height(), StretchMode::Halftone);
        EXPECT_EQ(StretchImage(in, w, h), whole) << w << "x" << h;
        EXPECT_EQ(StretchImage(whole, 97, 61), [&] {
            QImage back(97, 61, QImage::Format_RGB32);
            RasterTarget b(back, nullptr);
            stretchRect(b, 0, 0, 97, 61, whole, 0, 0, w, h, StretchMode::Halftone);
            return back;
        }());
    }
}

TEST(Stretch, RefusesSizesBeyondTheLimitBeforeAllocating) {
    const QImage in = scrambled(4, 4);
    EXPECT_THROW(StretchImage(in, 0, 5), SurfaceSizeError);
    EXPECT_THROW(StretchImage(in, 5, -5), SurfaceSizeError);
    EXPECT_THROW(StretchImage(in, static_cast<int>(kMaxSide) + 1, 1), SurfaceSizeError);
    EXPECT_THROW(StretchImage(in, 20000, 20000), SurfaceSizeError);
}
