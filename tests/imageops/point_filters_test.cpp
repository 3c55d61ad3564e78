#include <algorithm>

#include <gtest/gtest.h>

#include "imageops/Pictures.h"
#include "imageops/PointFilters.h"

using namespace nt;
using namespace nt::test;

namespace {

int clampChannel(int v) {
    return std::clamp(v, 0, 255);
}

// Checks every pixel of `out` against f(original colour), alpha included.
template <class F>
void expectEachPixel(const QImage& in, const QImage& out, F f) {
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            ASSERT_EQ(rawAt(out, x, y), toPixel(f(at(in, x, y)))) << "at " << x << "," << y;
        }
}

QImage onePixel(Colour c) {
    return makePicture(1, 1, [c](int, int) { return c; });
}

}  // namespace

TEST(PointFilters, InvertEveryPixelWhateverTheWidth) {
    // Widths around the four-pixel vector step catch a dropped or doubled tail.
    for (int w : {1, 3, 4, 5, 7, 9}) {
        const QImage in = scrambled(w, 3, static_cast<std::uint32_t>(w));
        expectEachPixel(in, applied(in, [](RasterTarget& t) { InvertColors(t); }),
                        [](Colour c) { return c ^ 0xFFFFFFu; });
    }
}

TEST(PointFilters, InvertCoversBothHalvesOfALargePicture) {
    const QImage in = scrambled(kBandedWidth, kBandedHeight);
    expectEachPixel(in, applied(in, [](RasterTarget& t) { InvertColors(t); }),
                    [](Colour c) { return c ^ 0xFFFFFFu; });
}

TEST(PointFilters, GreyTruncatesTheMean) {
    EXPECT_EQ(at(applied(onePixel(rgb(1, 1, 2)), [](RasterTarget& t) { GrayScale(t); }), 0, 0),
              rgb(1, 1, 1));
    const QImage in = scrambled(kBandedWidth, kBandedHeight, 5);
    expectEachPixel(in, applied(in, [](RasterTarget& t) { GrayScale(t); }), [](Colour c) {
        const int g = (redOf(c) + greenOf(c) + blueOf(c)) / 3;
        return rgb(g, g, g);
    });
}

TEST(PointFilters, RemoveChannel) {
    const QImage white = onePixel(0xFFFFFF);
    auto removed = [](QImage img, int channel) {
        return applied(std::move(img), [channel](RasterTarget& t) {
            RemoveChannel(t, static_cast<std::int16_t>(channel));
        });
    };
    EXPECT_EQ(at(removed(white, 0), 0, 0), rgb(0, 255, 255));
    EXPECT_EQ(at(removed(white, 1), 0, 0), rgb(255, 0, 255));
    EXPECT_EQ(at(removed(white, 2), 0, 0), rgb(255, 255, 0));
    EXPECT_EQ(at(removed(removed(removed(white, 0), 1), 2), 0, 0), rgb(0, 0, 0));
    EXPECT_EQ(at(removed(white, 3), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(at(removed(white, -1), 0, 0), 0xFFFFFFu);
}

TEST(PointFilters, BrightnessClampsBothWays) {
    const QImage p = onePixel(rgb(200, 100, 0));
    auto bright = [&](int v) {
        return at(
            applied(p, [v](RasterTarget& t) { AdjustBrightness(t, static_cast<std::int16_t>(v)); }),
            0, 0);
    };
    EXPECT_EQ(bright(100), rgb(255, 200, 100));
    EXPECT_EQ(bright(-100), rgb(100, 0, 0));
    EXPECT_EQ(bright(0), rgb(200, 100, 0));
    // Amounts far outside a byte saturate instead of wrapping.
    EXPECT_EQ(bright(32767), rgb(255, 255, 255));
    EXPECT_EQ(bright(-32768), rgb(0, 0, 0));
    EXPECT_EQ(bright(300), rgb(255, 255, 255));
}

TEST(PointFilters, RgbShiftsEachChannelOnItsOwn) {
    auto shifted = [](Colour c, int dr, int dg, int db) {
        return at(applied(onePixel(c),
                          [&](RasterTarget& t) {
                              AdjustRgb(t, static_cast<std::int16_t>(dr),
                                        static_cast<std::int16_t>(dg),
                                        static_cast<std::int16_t>(db));
                          }),
                  0, 0);
    };
    EXPECT_EQ(shifted(rgb(200, 100, 0), 100, 0, 0), rgb(255, 100, 0));
    EXPECT_EQ(shifted(rgb(10, 10, 10), 0, 0, -100), rgb(10, 10, 0));

    const QImage in = scrambled(kBandedWidth, kBandedHeight, 9);
    expectEachPixel(in, applied(in, [](RasterTarget& t) { AdjustRgb(t, 37, -64, 255); }),
                    [](Colour c) {
                        return rgb(clampChannel(redOf(c) + 37), clampChannel(greenOf(c) - 64),
                                   clampChannel(blueOf(c) + 255));
                    });
}
