#include <algorithm>

#include <gtest/gtest.h>

#include "imageops/Decorate.h"
#include "imageops/Pictures.h"
#include "surface/Shapes.h"

using namespace nt;
using namespace nt::test;

namespace {

QImage framed(const QImage& in, const Pen& pen, int n) {
    return applied(in, [&](RasterTarget& t) { DrawFrame(t, pen, n); });
}
// Every ring i = 0 .. n as the definition draws it, none skipped.
QImage framedRingByRing(const QImage& in, const Pen& pen, int n) {
    return applied(in, [&](RasterTarget& t) {
        for (int i = 0; i <= n; ++i)
            drawBoxOutline(t, pen, i - 1, i - 1, t.width() - i, t.height() - i);
    });
}

Pen redPen(int width = 1, PenStyle style = PenStyle::Solid) {
    Pen p;
    p.pixel = toPixel(rgb(255, 0, 0));
    p.width = width;
    p.style = style;
    return p;
}

QImage laid(const QImage& in, const QImage& picture, StretchMode mode) {
    return applied(in, [&](RasterTarget& t) { LayPicture(t, picture, mode); });
}

const Colour kMagenta = rgb(255, 0, 255);

}  // namespace

TEST(Frame, PaintsTheNOutermostRingsAtWidthOne) {
    const QImage in = scrambled(100, 80);
    for (int n : {1, 3}) {
        const QImage out = framed(in, redPen(), n);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inFrame = std::min({x, y, 99 - x, 79 - y}) < n;
                ASSERT_EQ(at(out, x, y), inFrame ? rgb(255, 0, 0) : at(in, x, y))
                    << n << ": " << x << "," << y;
            }
    }
}

TEST(Frame, ZeroOrNegativeWidthDrawsNothingVisible) {
    const QImage in = scrambled(10, 8);
    EXPECT_EQ(framed(in, redPen(), 0), in);
    EXPECT_EQ(framed(in, redPen(), -4), in);
    EXPECT_EQ(framed(in, redPen(5), -4), in);
}

TEST(Frame, EqualsDrawingEveryRing) {
    // Past the middle the rings turn inside out; far out they miss the picture entirely,
    // which is why they may be skipped.
    const QImage in = scrambled(20, 9);
    for (const Pen& pen : {redPen(), redPen(1, PenStyle::Dash), redPen(3), redPen(100)})
        for (int n : {2, 7, 15, 200})
            EXPECT_EQ(framed(in, pen, n), framedRingByRing(in, pen, n)) << pen.width << " " << n;
}

TEST(Frame, HugeWidthFillsThePictureAtOnce) {
    const QImage out = framed(scrambled(30, 20), redPen(), 2147483647);
    EXPECT_EQ(out, makePicture(30, 20, [](int, int) { return rgb(255, 0, 0); }));
}

TEST(LayPicture, ReplacesAllButMagenta) {
    const QImage canvas = scrambled(8, 6);
    const QImage solid = scrambled(8, 6, 99);
    EXPECT_EQ(laid(canvas, solid, StretchMode::Halftone), solid);
    const QImage allMagenta = makePicture(3, 5, [](int, int) { return kMagenta; });
    EXPECT_EQ(laid(canvas, allMagenta, StretchMode::Halftone), canvas);
    EXPECT_EQ(laid(canvas, QImage(), StretchMode::Halftone), canvas);
}

TEST(LayPicture, StretchesToTheCanvasSize) {
    const QImage canvas = scrambled(8, 6);
    // Left half see-through, right half blue, doubled to the canvas size.
    const QImage picture =
        makePicture(2, 1, [](int x, int) { return x == 0 ? kMagenta : rgb(0, 0, 255); });
    const QImage out = laid(canvas, picture, StretchMode::Nearest);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(at(out, x, y), x < 4 ? at(canvas, x, y) : rgb(0, 0, 255));
}

TEST(LayPicture, BlendedEdgesOfMagentaArePainted) {
    const QImage canvas = makePicture(3, 1, [](int, int) { return rgb(0, 255, 0); });
    const QImage picture =
        makePicture(2, 1, [](int x, int) { return x == 0 ? kMagenta : rgb(255, 255, 255); });
    const QImage out = laid(canvas, picture, StretchMode::Halftone);
    EXPECT_EQ(at(out, 0, 0), rgb(0, 255, 0));
    EXPECT_NE(at(out, 1, 0), rgb(0, 255, 0));  // half magenta, half white: painted
    EXPECT_EQ(at(out, 2, 0), rgb(255, 255, 255));
}

TEST(LayPicture, LargeCanvasMatchesOneWholeStretch) {
    // Laid in slices on two threads; the reference stretches the picture in one piece.
    const QImage canvas = scrambled(kBandedWidth, kBandedHeight);
    const QImage picture = makePicture(37, 23, [](int x, int y) {
        return (x + y) % 3 ? rgb(255, 0, 255) : rgb(x * 6, y * 11, 90);
    });
    for (StretchMode mode : {StretchMode::Nearest, StretchMode::Halftone}) {
        QImage stretched(kBandedWidth, kBandedHeight, QImage::Format_RGB32);
        RasterTarget s(stretched, nullptr);
        stretchRect(s, 0, 0, kBandedWidth, kBandedHeight, picture, 0, 0, 37, 23, mode);
        QImage expected = canvas.copy();
        for (int y = 0; y < kBandedHeight; ++y)
            for (int x = 0; x < kBandedWidth; ++x)
                if (at(stretched, x, y) != kMagenta)
                    reinterpret_cast<Pixel*>(expected.scanLine(y))[x] = rawAt(stretched, x, y);
        EXPECT_EQ(laid(canvas, picture, mode), expected);
    }
}
