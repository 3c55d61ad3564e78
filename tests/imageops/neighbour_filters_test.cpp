#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "imageops/NeighbourFilters.h"
#include "imageops/Pictures.h"
#include "surface/Limits.h"

using namespace nt;
using namespace nt::test;

namespace {

int channel(Colour c, int ch) {
    return static_cast<int>((c >> (8 * ch)) & 0xFF);
}
Colour fromChannels(const int v[3]) {
    return rgb(v[0], v[1], v[2]);
}
int near(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// The definitions, pixel by pixel from a snapshot, in the defined visiting order.
QImage blurByDefinition(const QImage& in) {
    QImage out = in.copy();
    for (int x = 1; x < in.width() - 1; ++x)
        for (int y = 1; y < in.height() - 1; ++y) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) sum += channel(at(in, x + dx, y + dy), ch);
                v[ch] = std::min(near(sum / 9.0), 255);
            }
            reinterpret_cast<Pixel*>(out.scanLine(y))[x] = toPixel(fromChannels(v));
        }
    return out;
}

QImage sharpenByDefinition(const QImage& in, float k) {
    QImage out = in.copy();
    for (int x = 1; x < in.width() - 1; ++x)
        for (int y = 1; y < in.height() - 1; ++y) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                const int cur = channel(at(in, x, y), ch);
                const int prev = channel(at(in, x - 1, y - 1), ch);
                v[ch] = std::clamp(near((cur - prev) * static_cast<double>(k) + cur), 0, 255);
            }
            reinterpret_cast<Pixel*>(out.scanLine(y))[x] = toPixel(fromChannels(v));
        }
    return out;
}

QImage waveByDefinition(const QImage& in) {
    QImage out = in.copy();
    for (int x = 0; x < in.width(); ++x)
        for (int y = 0; y < in.height(); ++y) {
            const int tx = near(x + std::cos(y));
            const int ty = near(y + std::sin(x));
            if (tx < 0 || ty < 0 || tx >= in.width() || ty >= in.height()) continue;
            reinterpret_cast<Pixel*>(out.scanLine(ty))[tx] = rawAt(in, x, y);
        }
    return out;
}

QImage blurred(const QImage& in) {
    return applied(in, [](RasterTarget& t) { BlurImage(t); });
}
QImage sharpened(const QImage& in, float k) {
    return applied(in, [k](RasterTarget& t) { SharpenImage(t, k); });
}
QImage waved(const QImage& in) {
    return applied(in, [](RasterTarget& t) { WavePixels(t); });
}

QImage uniform(int w, int h, Colour c) {
    return makePicture(w, h, [c](int, int) { return c; });
}

}  // namespace

TEST(Blur, RoundsTheMeanOfNineToNearest) {
    // Centre sums 4 + 9q round down, 5 + 9q round up.
    const QImage down =
        makePicture(3, 3, [](int x, int y) { return x == 0 && y == 0 ? rgb(4, 13, 255) : 0u; });
    EXPECT_EQ(at(blurred(down), 1, 1), rgb(0, 1, 28));  // 4/9, 13/9, 255/9 = 28.33
    const QImage up =
        makePicture(3, 3, [](int x, int y) { return x == 2 && y == 2 ? rgb(5, 14, 248) : 0u; });
    EXPECT_EQ(at(blurred(up), 1, 1), rgb(1, 2, 28));  // 5/9, 14/9, 248/9 = 27.56
}

TEST(Blur, MatchesTheDefinitionAndKeepsTheBorderRing) {
    for (auto [w, h] : {std::pair{3, 3}, {4, 7}, {9, 5}, {kBandedWidth, kBandedHeight}}) {
        const QImage in = scrambled(w, h, static_cast<std::uint32_t>(w * h));
        EXPECT_EQ(blurred(in), blurByDefinition(in)) << w << "x" << h;
    }
}

TEST(Blur, ThreeTimesIsThreeSingleBlurs) {
    const QImage in = scrambled(kBandedWidth, kBandedHeight, 3);
    EXPECT_EQ(blurred(blurred(blurred(in))),
              blurByDefinition(blurByDefinition(blurByDefinition(in))));
}

TEST(Blur, TooSmallOrUniformPicturesStayAsTheyAre) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 9}, {9, 2}}) {
        const QImage in = scrambled(w, h);
        EXPECT_EQ(blurred(in), in);
    }
    const QImage flat = uniform(kBandedWidth, kBandedHeight, rgb(17, 130, 250));
    EXPECT_EQ(blurred(flat), flat);
}

TEST(Sharpen, ScalesTheDifferenceToTheUpperLeftNeighbour) {
    // (cur, prev) per channel: red (100, 50), green (10, 9), blue (11, 10).
    const QImage in = makePicture(
        3, 3, [](int x, int y) { return x == 0 && y == 0 ? rgb(50, 9, 10) : rgb(100, 10, 11); });
    // 100 + 50 * 1.2 = 160; 10 + 0.5 -> 10 and 11 + 0.5 -> 12 at k = 0.5 (ties to even).
    EXPECT_EQ(at(sharpened(in, 1.2f), 1, 1), rgb(160, 11, 12));
    EXPECT_EQ(at(sharpened(in, 0.5f), 1, 1), rgb(125, 10, 12));
    // A negative factor softens towards the neighbour.
    EXPECT_EQ(at(sharpened(in, -0.5f), 1, 1), rgb(75, 10, 10));
}

TEST(Sharpen, ClampsBothWays) {
    const QImage in = makePicture(
        3, 3, [](int x, int y) { return x == 0 && y == 0 ? rgb(200, 0, 0) : rgb(10, 250, 128); });
    EXPECT_EQ(at(sharpened(in, 1.0f), 1, 1), rgb(0, 255, 255));
    EXPECT_EQ(at(sharpened(in, 3.0e38f), 1, 1), rgb(0, 255, 255));
}

TEST(Sharpen, MatchesTheDefinitionAcrossBands) {
    for (float k : {1.2f, -0.7f, 2.5f}) {
        const QImage in = scrambled(kBandedWidth, kBandedHeight, 11);
        EXPECT_EQ(sharpened(in, k), sharpenByDefinition(in, k)) << k;
    }
}

TEST(Sharpen, ZeroFactorUniformOrTooSmallChangesNothing) {
    const QImage in = scrambled(6, 5);
    EXPECT_EQ(sharpened(in, 0.0f), in);
    EXPECT_EQ(sharpened(in, NAN), in);
    EXPECT_EQ(sharpened(in, INFINITY), in);
    const QImage flat = uniform(5, 5, rgb(3, 200, 90));
    EXPECT_EQ(sharpened(flat, 7.5f), flat);
    const QImage thin = scrambled(2, 5);
    EXPECT_EQ(sharpened(thin, 1.2f), thin);
}

TEST(Wave, CornerMovesRightAndKeepsItsOldColour) {
    const QImage in = scrambled(8, 8);
    const QImage out = waved(in);
    EXPECT_EQ(at(out, 1, 0), at(in, 0, 0));  // cos 0 = 1, sin 0 = 0
    EXPECT_EQ(at(out, 0, 0), at(in, 0, 0));  // no source lands on (0, 0)
}

TEST(Wave, LastWriteWins) {
    // (2, 2) goes to (2, 3) (cos 2 and sin 2 round to 0 and 1); (3, 3) comes later in
    // column order and also lands there (cos 3 -> -1, sin 3 -> 0).
    const QImage in = scrambled(8, 8, 4);
    EXPECT_EQ(at(waved(in), 2, 3), at(in, 3, 3));
}

TEST(Wave, MatchesTheDefinition) {
    for (auto [w, h] :
         {std::pair{1, 1}, {1, 9}, {9, 1}, {2, 2}, {13, 17}, {kBandedWidth, kBandedHeight}}) {
        const QImage in = scrambled(w, h, static_cast<std::uint32_t>(w + h));
        EXPECT_EQ(waved(in), waveByDefinition(in)) << w << "x" << h;
    }
}

TEST(Wave, NoRoundingTieForAnyCoordinateASurfaceCanHave) {
    // The filter rounds cos y and sin x once per row and column, which equals rounding
    // x + cos y only while no sum lands on a half.
    for (int v = 0; v < kMaxSide; ++v) {
        const double c = std::cos(v);
        const double s = std::sin(v);
        for (double p : {0.0, 1.0, static_cast<double>(kMaxSide - 1)}) {
            ASSERT_EQ(std::nearbyint(p + c) - p, std::nearbyint(c)) << v;
            ASSERT_EQ(std::nearbyint(p + s) - p, std::nearbyint(s)) << v;
        }
    }
}
