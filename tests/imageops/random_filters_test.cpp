#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "imageops/Pictures.h"
#include "imageops/RandomFilters.h"

using namespace nt;
using namespace nt::test;

namespace {

int channel(Colour c, int ch) {
    return static_cast<int>((c >> (8 * ch)) & 0xFF);
}
int near(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// The definitions, one draw at a time in column-major order from a copy of the generator.
QImage noiseByDefinition(const QImage& in, int a, UniformRandom& random) {
    QImage out = in.copy();
    const int s = 2 * a + 1;
    for (int x = 0; x < in.width(); ++x)
        for (int y = 0; y < in.height(); ++y) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                const double r = random.next();
                v[ch] = std::clamp(near(channel(at(in, x, y), ch) + (s * r - a)), 0, 255);
            }
            reinterpret_cast<Pixel*>(out.scanLine(y))[x] = toPixel(rgb(v[0], v[1], v[2]));
        }
    return out;
}

QImage diffuseByDefinition(const QImage& in, UniformRandom& random) {
    QImage out = in.copy();
    for (int x = 2; x < in.width() - 2; ++x)
        for (int y = 2; y < in.height() - 2; ++y) {
            const double d = 2.0 * random.next() - 2.0;
            reinterpret_cast<Pixel*>(out.scanLine(y))[x] = rawAt(in, near(x + d), near(y + d));
        }
    return out;
}

QImage noisy(const QImage& in, int a, UniformRandom& random) {
    return applied(in, [&](RasterTarget& t) { AddNoise(t, static_cast<std::int16_t>(a), random); });
}
QImage diffused(const QImage& in, UniformRandom& random) {
    return applied(in, [&](RasterTarget& t) { DiffuseImage(t, random); });
}

// A generator state from which draw number `ahead` (0 = the next one) is exactly
// bits / 2^24: found by walking the sequence from the fixed start.
std::uint64_t stateBeforeDraw(std::uint32_t bits, int ahead) {
    std::uint64_t recent[8] = {};  // the last states, by draw number modulo 8
    std::uint64_t s = UniformRandom::kStartState;
    for (int n = 0;; ++n, s = UniformRandom::step(s)) {
        recent[n % 8] = s;
        if (n >= ahead && UniformRandom::bitsAt(s) == bits) return recent[(n - ahead) % 8];
    }
}

QImage grid(int w, int h) {
    return scrambled(w, h, 21);
}

}  // namespace

TEST(Noise, MatchesTheDefinitionAndUsesThreeDrawsPerPixel) {
    for (int a : {0, 16, 100, -7, 16383, -16384}) {
        for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {kBandedWidth, kBandedHeight}}) {
            const QImage in = scrambled(w, h, static_cast<std::uint32_t>(a + w));
            UniformRandom fast;
            fast.discard(12345);
            UniformRandom slow = fast;
            EXPECT_EQ(noisy(in, a, fast), noiseByDefinition(in, a, slow)) << a << " " << w;
            EXPECT_EQ(fast.state(), slow.state());
        }
    }
}

TEST(Noise, ZeroAmountAddsOneWhenTheDrawPassesAHalf) {
    // r = 1/2 exactly: near(c + 0.5) keeps an even c and raises an odd one.
    UniformRandom random;
    random.setState(stateBeforeDraw(UniformRandom::kOne / 2, 0));
    EXPECT_EQ(
        channel(
            at(noisy(makePicture(1, 1, [](int, int) { return rgb(10, 0, 0); }), 0, random), 0, 0),
            0),
        10);
    random.setState(stateBeforeDraw(UniformRandom::kOne / 2, 0));
    EXPECT_EQ(
        channel(
            at(noisy(makePicture(1, 1, [](int, int) { return rgb(11, 0, 0); }), 0, random), 0, 0),
            0),
        12);
}

TEST(Noise, StaysWithinTheAmountOnBlackAndWhite) {
    UniformRandom random;
    const int a = 20;
    const QImage black = noisy(makePicture(64, 64, [](int, int) { return 0u; }), a, random);
    const QImage white = noisy(makePicture(64, 64, [](int, int) { return 0xFFFFFFu; }), a, random);
    int lowest = 255, highest = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                EXPECT_LE(channel(at(black, x, y), ch), a + 1);
                EXPECT_GE(channel(at(white, x, y), ch), 255 - a);
                lowest = std::min(lowest, channel(at(white, x, y), ch));
                highest = std::max(highest, channel(at(black, x, y), ch));
            }
    // The spread really is used, not just clamped away.
    EXPECT_GE(highest, a - 2);
    EXPECT_LE(lowest, 255 - a + 2);
}

TEST(Diffuse, MatchesTheDefinitionAndDrawsOncePerCoveredPixel) {
    for (auto [w, h] : {std::pair{5, 5}, {6, 9}, {11, 7}, {kBandedWidth, kBandedHeight}}) {
        const QImage in = grid(w, h);
        UniformRandom fast;
        fast.discard(777);
        UniformRandom slow = fast;
        EXPECT_EQ(diffused(in, fast), diffuseByDefinition(in, slow)) << w << "x" << h;
        EXPECT_EQ(fast.state(), slow.state());
    }
}

TEST(Diffuse, TiesGoToTheEvenNeighbourOnEachAxis) {
    // Covered pixels of a 6 x 6 picture in draw order: (2,2) (2,3) (3,2) (3,3).
    const QImage in = grid(6, 6);
    struct Case {
        std::uint32_t bits;
        int draw, x, y, fromX, fromY;
    };
    const std::uint32_t quarter = UniformRandom::kOne / 4;
    for (const Case& c : {Case{quarter, 0, 2, 2, 0, 0},         // x - 1.5 and y - 1.5, both even
                          Case{quarter, 3, 3, 3, 2, 2},         // both odd
                          Case{quarter, 1, 2, 3, 0, 2},         // even x, odd y
                          Case{3 * quarter, 0, 2, 2, 2, 2},     // x - 0.5: even x stays
                          Case{3 * quarter, 2, 3, 2, 2, 2}}) {  // odd x moves
        UniformRandom random;
        random.setState(stateBeforeDraw(c.bits, c.draw));
        EXPECT_EQ(at(diffused(in, random), c.x, c.y), at(in, c.fromX, c.fromY))
            << c.bits << " draw " << c.draw;
    }
}

TEST(Diffuse, LeavesSmallAndUniformPicturesAloneAndKeepsATwoPixelBorder) {
    for (auto [w, h] : {std::pair{4, 9}, {9, 4}, {1, 1}}) {
        UniformRandom random;
        const QImage in = grid(w, h);
        EXPECT_EQ(diffused(in, random), in);
        EXPECT_EQ(random.state(), UniformRandom::kStartState);  // nothing drawn
    }
    UniformRandom random;
    const QImage flat = makePicture(40, 30, [](int, int) { return rgb(9, 99, 199); });
    EXPECT_EQ(diffused(flat, random), flat);

    const QImage in = grid(40, 30);
    const QImage out = diffused(in, random);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            if (x < 2 || y < 2 || x >= 38 || y >= 28) {
                ASSERT_EQ(at(out, x, y), at(in, x, y));
            }
        }
}
