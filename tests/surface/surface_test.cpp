// Persistence, refresh bookkeeping, pixel reads and writes, text, colours and limits.
#include <cmath>
#include <limits>
#include <set>

#include <gtest/gtest.h>
#include <QFontMetricsF>

#include "surface/Gdi.h"
#include "surface/Limits.h"
#include "surface/Rounding.h"
#include "surface/Surface.h"
#include "surface/SystemColours.h"
#include "surface/Text.h"

using namespace nt;

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kBlue = rgb(0, 0, 255);

Colour screenAt(const Surface& s, int x, int y) {
    return fromPixel(reinterpret_cast<const Pixel*>(s.screen().constScanLine(y))[x]);
}
Colour imageAt(const Surface& s, int x, int y) {
    return fromPixel(reinterpret_cast<const Pixel*>(s.Image().constScanLine(y))[x]);
}

}  // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        std::int64_t out;
    } rows[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.49, 0}, {1.5000001, 2}, {-0.5, 0}};
    for (const auto& r : rows) EXPECT_EQ(roundHalfEven64(r.in), r.out) << r.in;
}

TEST(Rounding, NonFiniteAndHugeValuesAreTamed) {
    EXPECT_EQ(roundHalfEven64(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(roundHalfEven64(std::numeric_limits<double>::infinity()), kCoordLimit);
    EXPECT_EQ(roundHalfEven64(-1e12), -kCoordLimit);
    EXPECT_EQ(roundCoord(1e12), static_cast<int>(kCoordLimit));
}

TEST(Rounding, IntegerDivisionRoundsTheDividendThenTruncates) {
    EXPECT_EQ(intDiv(10.5, 2), 5);  // 10 / 2
    EXPECT_EQ(intDiv(11.5, 2), 6);  // 12 / 2
    EXPECT_EQ(intDiv(-7, 2), -3);   // toward zero
    EXPECT_EQ(intDiv(7, 0), 0);
}

TEST(Limits, RefusesBadSizesBeforeAllocating) {
    EXPECT_FALSE(checkSurfaceSize(1, 1));
    EXPECT_FALSE(checkSurfaceSize(6000, 4000));
    EXPECT_TRUE(checkSurfaceSize(0, 10));
    EXPECT_TRUE(checkSurfaceSize(10, -1));
    EXPECT_TRUE(checkSurfaceSize(kMaxSide + 1, 1));
    EXPECT_TRUE(checkSurfaceSize(kMaxSide, kMaxSide));  // sides fine, pixel count not
    EXPECT_THROW(Surface(100000, 100000), SurfaceSizeError);
    EXPECT_THROW(Surface(0, 5), SurfaceSizeError);
    Surface s(4, 4);
    EXPECT_THROW(s.resize(-1, 4), SurfaceSizeError);
    EXPECT_EQ(s.width(), 4);  // a refused resize leaves the surface as it was
}

TEST(SystemColours, TranslateOnlyKnownReferences) {
    EXPECT_EQ(translateColour(0x123456), 0x123456u);
    EXPECT_TRUE(translateColour(kSysWindow).has_value());
    EXPECT_TRUE(translateColour(kSysButtonFace).has_value());
    EXPECT_FALSE(translateColour(0x80000040u).has_value());
    EXPECT_FALSE(translateColour(0x01000000u).has_value());
    Colour out = 7;
    EXPECT_NE(OleTranslateColor(0x02000000u, nullptr, &out), 0);
    EXPECT_EQ(out, 7u);  // a failed translation leaves the output alone
    EXPECT_EQ(OleTranslateColor(kBlue, nullptr, &out), 0);
    EXPECT_EQ(out, kBlue);
}

TEST(Persistence, ScreenOnlyDrawingGoesAwayAtRefresh) {
    Surface s(20, 10, kWhite);
    s.setAutoRedraw(false);
    s.PSet(3, 4, kRed);
    EXPECT_EQ(screenAt(s, 3, 4), kRed);
    EXPECT_EQ(imageAt(s, 3, 4), kWhite);
    s.Refresh();
    EXPECT_EQ(screenAt(s, 3, 4), kWhite);
}

TEST(Persistence, PersistentDrawingShowsAtOnceAndSurvivesRefresh) {
    Surface s(20, 10, kWhite);
    s.setAutoRedraw(false);
    s.PSet(5, 5, kBlue);  // a preview that the persistent stroke partly covers
    s.setAutoRedraw(true);
    s.PSet(7, 2, kRed);
    EXPECT_EQ(screenAt(s, 7, 2), kRed);
    EXPECT_EQ(imageAt(s, 7, 2), kRed);
    s.Refresh();
    EXPECT_EQ(screenAt(s, 7, 2), kRed);
    EXPECT_EQ(screenAt(s, 5, 5), kWhite);
}

TEST(Persistence, RefreshRepaintsOnlyWhatDiffers) {
    Surface s(300, 200, kWhite);
    QRect repainted;
    s.setScreenListener([&](const QRect& r) { repainted = repainted.united(r); });
    s.setAutoRedraw(false);
    s.PSet(10, 20, kRed);
    s.PSet(30, 25, kRed);
    repainted = QRect();
    s.Refresh();
    EXPECT_EQ(repainted, QRect(QPoint(10, 20), QPoint(30, 25)));
    repainted = QRect();
    s.Refresh();  // nothing differs any more
    EXPECT_TRUE(repainted.isNull());
}

TEST(DeviceContext, FollowsPersistenceAtTheTimeItIsTaken) {
    Surface s(8, 8, kWhite);
    s.setAutoRedraw(false);
    const Dc screenDc = hDC(s);
    SetPixel(screenDc, 1, 1, kRed);
    EXPECT_EQ(GetPixel(screenDc, 1, 1), kRed);
    s.setAutoRedraw(true);
    EXPECT_EQ(GetPixel(hDC(s), 1, 1), kWhite);
    EXPECT_EQ(s.Point(1, 1), kWhite);
}

TEST(PixelAccess, OutsideReadsNoColourAndWritesAreDropped) {
    Surface s(5, 3, kWhite);
    const Dc dc = hDC(s);
    EXPECT_EQ(GetPixel(dc, -1, 0), kNoColour);
    EXPECT_EQ(GetPixel(dc, 5, 0), kNoColour);
    EXPECT_EQ(GetPixel(dc, 0, 3), kNoColour);
    EXPECT_EQ(s.Point(4.6, 0), kNoColour);  // rounds to 5
    EXPECT_EQ(s.Point(4.4, 0), kWhite);
    EXPECT_EQ(SetPixel(dc, 7, 1, kRed), kNoColour);
    EXPECT_EQ(SetPixel(dc, 4, 2, kRed), kRed);
    EXPECT_EQ(s.Point(4, 2), kRed);
    EXPECT_EQ(s.Point(std::nan(""), 1e300), kNoColour);
}

TEST(Surface, SystemColourBackgroundIsTranslated) {
    Surface s(2, 2, kSysWindow);
    EXPECT_EQ(s.Point(0, 0), *translateColour(kSysWindow));
}

TEST(Surface, ResizeKeepsTheTopLeftAndFillsWithBackColour) {
    Surface s(4, 3, kWhite);
    s.PSet(3, 2, kRed);
    s.setBackColor(kBlue);
    s.resize(6, 2);
    EXPECT_EQ(s.width(), 6);
    EXPECT_EQ(s.height(), 2);
    EXPECT_EQ(s.Point(3, 1), kWhite);
    EXPECT_EQ(s.Point(5, 0), kBlue);
    s.resize(4, 3);
    EXPECT_EQ(s.Point(3, 2), kBlue);  // what a shrink cut off does not come back
    EXPECT_EQ(screenAt(s, 5 - 2, 2), kBlue);
}

TEST(Surface, PictureTakesItsSizeOrDrawsAtTheTopLeft) {
    QImage pic(3, 2, QImage::Format_RGB32);
    pic.fill(toPixel(kRed));
    Surface s(5, 5, kWhite);
    s.setPicture(pic, false);
    EXPECT_EQ(s.width(), 5);
    EXPECT_EQ(s.Point(2, 1), kRed);
    EXPECT_EQ(s.Point(3, 1), kWhite);
    s.setPicture(pic, true);
    EXPECT_EQ(s.width(), 3);
    EXPECT_EQ(s.height(), 2);
    EXPECT_EQ(screenAt(s, 2, 1), kRed);
    s.setPicture(QImage(), true);  // clearing keeps the size
    EXPECT_EQ(s.width(), 3);
    EXPECT_EQ(s.Point(0, 0), kWhite);
}

TEST(Surface, ClsClearsBothImagesToBackColour) {
    Surface s(4, 4, kWhite);
    s.PSet(1, 1, kRed);
    s.setAutoRedraw(false);
    s.PSet(2, 2, kRed);
    s.setBackColor(kBlue);
    s.Cls();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(screenAt(s, x, y), kBlue);
            EXPECT_EQ(imageAt(s, x, y), kBlue);
        }
}

TEST(Text, PaintsOnlyGlyphsInTheTextColour) {
    Surface s(120, 40, kWhite);
    s.ForeColor = kRed;
    s.Font.size = 12;
    ASSERT_TRUE(TextOutA(hDC(s), 2, 2, QStringLiteral("画W")));
    int red = 0, other = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const Colour c = s.Point(x, y);
            if (c == kRed)
                ++red;
            else if (c != kWhite)
                ++other;
        }
    EXPECT_GT(red, 20);   // the CJK glyph rendered, not an empty box
    EXPECT_EQ(other, 0);  // no antialiasing, no background box
    for (int x = 0; x < 120; ++x) EXPECT_EQ(s.Point(x, 0), kWhite) << "top-left is at (2, 2)";
}

// The underline runs under the whole text, trailing spaces and however long, up to the
// surface's edge, as one band as thick as the font's underline, whatever faces draw the glyphs.
TEST(Text, UnderlineSpansTheWholeTextAsOneBand) {
    const struct {
        QString text;
        int width;
    } cases[] = {{QStringLiteral("Underline text here  "), 400},
                 {QStringLiteral("中文你好中文"), 400},
                 {QStringLiteral("Norvaly 中文 text 字"), 400},  // runs of two faces
                 {QString(100000, QChar(0x6C38)), 300}};
    for (const auto& c : cases) {
        const std::string name = c.text.left(20).toStdString();
        Surface plain(c.width, 60, kWhite), underlined(c.width, 60, kWhite);
        plain.Font.size = underlined.Font.size = 16;
        plain.Font.name = underlined.Font.name = QStringLiteral("DejaVu Sans");
        underlined.Font.underline = true;
        TextOutA(hDC(plain), 5, 5, c.text);
        TextOutA(hDC(underlined), 5, 5, c.text);
        // Where only the underline put ink.
        int left = c.width, right = -1;
        std::set<int> rows;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < c.width; ++x)
                if (plain.Point(x, y) != underlined.Point(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    rows.insert(y);
                }
        const int end = std::min(5 + static_cast<int>(plain.TextWidth(c.text)), c.width);
        EXPECT_LE(left, 6) << name;
        EXPECT_GE(right, end - 2) << name;
        EXPECT_LE(right, end + 1) << name;
        const double thickness = QFontMetricsF(makeFont(underlined.Font)).lineWidth();
        ASSERT_FALSE(rows.empty()) << name;
        EXPECT_EQ(static_cast<double>(rows.size()), std::max(1.0, std::round(thickness))) << name;
        EXPECT_EQ(*rows.rbegin() - *rows.begin() + 1, static_cast<int>(rows.size())) << name;
    }
}

TEST(Text, PrintAdvancesToTheNextLine) {
    Surface s(100, 100, kWhite);
    s.Font.size = 9;  // 12 pixels at 96 dpi
    s.CurrentX = 5;
    s.CurrentY = 5;
    s.Print(QStringLiteral("ab"));
    EXPECT_EQ(s.CurrentX, 0);
    EXPECT_GE(s.CurrentY, 5 + 12);
    EXPECT_LE(s.CurrentY, 5 + 20);
}

TEST(PatternBrush, SelectAndRestore) {
    Surface s(4, 4, kWhite);
    const Dc dc = hDC(s);
    HBRUSH pattern = CreatePatternBrush(QImage(2, 2, QImage::Format_RGB32));
    ASSERT_TRUE(pattern);
    EXPECT_FALSE(CreatePatternBrush(QImage()));
    HBRUSH previous = SelectObject(dc, pattern);
    EXPECT_FALSE(previous);
    EXPECT_EQ(s.brush().kind, Brush::Kind::Pattern);
    SelectObject(dc, previous);
    EXPECT_EQ(s.brush().kind, Brush::Kind::None);  // FillStyle 1: hollow
    EXPECT_TRUE(DeleteObject(pattern));
    EXPECT_FALSE(pattern);
}

// A copy kept from each slot's patches matches the picture after every kind of change, whether
// whole pictures are kept aside or not; kept aside, taking a patch leaves the picture unshared.
TEST(Surface, PatchesKeepEachSlotsCopyInStepWithEveryKindOfChange) {
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "keeping copies" : "sharing the picture");
        Surface s(30, 20, kWhite);
        if (keep) s.keepCopies();
        QImage copy, other;
        const auto update = [&] {
            s.takeChanges(0).applyTo(copy);
            EXPECT_EQ(copy, s.Image());
        };
        update();
        s.takeChanges(1).applyTo(other);
        s.PSet(3, 4, kRed);  // persistent drawing
        s.setAutoRedraw(false);
        s.PSet(9, 9, kBlue);  // a screen-only preview is no change of the picture
        s.setAutoRedraw(true);
        const QImage untouched = copy;  // shares the old pixels: applying must not write them
        const ImagePatch drawn = s.takeChanges(0);
        EXPECT_FALSE(drawn.wholePicture());
        drawn.applyTo(copy);
        EXPECT_EQ(copy, s.Image());
        EXPECT_EQ(fromPixel(untouched.pixel(3, 4)), kWhite);
        s.setBackColor(kBlue);
        s.Cls();
        const QImage cleared = s.Image().copy();
        const ImagePatch afterCls = s.takeChanges(0);
        EXPECT_EQ(s.Image().isDetached(), keep);
        s.PSet(1, 1, kRed);  // after the patch was taken: not part of it
        afterCls.applyTo(copy);
        EXPECT_EQ(copy, cleared);
        update();
        s.resize(12, 40);
        update();
        QImage pic(5, 5, QImage::Format_RGB32);
        pic.fill(toPixel(kRed));
        s.setPicture(pic, true);
        s.PSet(2, 2, kBlue);
        update();
        // The other slot, last taken before all that, catches up in one patch.
        s.takeChanges(1).applyTo(other);
        EXPECT_EQ(other, s.Image());
    }
}

TEST(BitBlt, NegativeExtentsCopyTheNormalisedRectangleWithoutMirroring) {
    // GDI (checked with Wine): an extent of -n covers origin - n + 1 .. origin on both the
    // destination and the source, and the pixels keep their order.
    auto colourAt = [](int x, int y) { return rgb(10 + 30 * x, 20 + 40 * y, 7); };
    Surface src(6, 4, kWhite);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) SetPixel(hDC(src), x, y, colourAt(x, y));
    const struct {
        int x, y, w, h, sx, sy;
    } calls[] = {
        {5, 3, -3, -2, 4, 2},  // both negative
        {5, 2, -3, 2, 4, 1},   // width only
        {3, 3, 3, -2, 2, 2},   // height only
        {3, 2, 3, 2, 2, 1},    // the same copy written with positive extents
    };
    for (const auto& c : calls) {
        Surface dst(8, 6, kWhite);
        EXPECT_TRUE(BitBlt(hDC(dst), c.x, c.y, c.w, c.h, hDC(src), c.sx, c.sy, SRCCOPY));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 3 && x <= 5 && y >= 2 && y <= 3;
                EXPECT_EQ(GetPixel(hDC(dst), x, y), inside ? colourAt(x - 1, y - 1) : kWhite)
                    << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
    // Zero extents still copy nothing.
    Surface dst(8, 6, kWhite);
    BitBlt(hDC(dst), 5, 3, 0, -2, hDC(src), 4, 2, SRCCOPY);
    BitBlt(hDC(dst), 5, 3, -3, 0, hDC(src), 4, 2, SRCCOPY);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(hDC(dst), x, y), kWhite);
}
