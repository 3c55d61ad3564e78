// The fill, airbrush, magic pen, eraser, picker and gradient on a bare surface, through a
// plain stand-in for the window's palette and option lists.
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "imageops/Random.h"
#include "mainwindow/tools/DabTools.h"
#include "mainwindow/tools/GradientTool.h"
#include "mainwindow/tools/SingleClickTools.h"
#include "mainwindow/tools/ToolSet.h"
#include "surface/SystemColours.h"

namespace {

using namespace nt::tools;
using nt::Colour;
constexpr Colour kWhite = 0xFFFFFF, kInk = 0x123456, kOld = 0x00FF00, kRed = 0x0000FF,
                 kBlue = 0xFF0000, kMagenta = 0xFF00FF;

// The palette and options as plain values.
class PlainEnvironment : public ToolEnvironment {
  public:
    Colour colours[3] = {0, kInk, kRed};  // [1] and [2] are the palette's
    FillMode fill = FillMode::Colour;
    QImage pattern;
    nt::Surface brush{32, 30, kMagenta};
    nt::Surface work{32, 30, kMagenta};
    int eraser = 10;
    EraserShape shape = EraserShape::Square;
    GradientDirection direction = GradientDirection::Horizontal;
    nt::UniformRandom generator;
    QRectF selection, marker;
    bool selectionShown = false, markerShown = false;

    Colour paletteColour(int which) const override { return colours[which]; }
    void setPaletteColour(int which, Colour c) override { colours[which] = c; }
    FillMode fillMode() const override { return fill; }
    const QImage& fillPattern() const override { return pattern; }
    const nt::Surface& brushPicture() const override { return brush; }
    nt::Surface& brushWork() override { return work; }
    int eraserSize() const override { return eraser; }
    EraserShape eraserShape() const override { return shape; }
    GradientDirection gradientDirection() const override { return direction; }
    nt::UniformRandom& random() override { return generator; }
    QRectF selectionArea() const override { return selection; }
    void showSelection(const QRectF& area) override {
        selection = area;
        selectionShown = true;
    }
    QRectF cloneMarker() const override { return marker; }
    void showCloneMarker(const QRectF& area) override {
        marker = area;
        markerShown = true;
    }
    void moveCloneMarker(double left, double top) override { marker.moveTo(left, top); }
    void showTextDialog() override {}
    bool textShadow() const override { return false; }
};

QImage imageOf(int w, int h, std::initializer_list<Colour> colours) {
    QImage img(w, h, QImage::Format_RGB32);
    auto it = colours.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, nt::toPixel(*it++));
    return img;
}

class PaintTool : public ::testing::Test {
  protected:
    nt::Surface canvas{120, 100, kWhite};
    nt::DrawingState state;
    PlainEnvironment env;
    ToolContext ctx{canvas, state, &env};

    Colour picture(int x, int y) const { return nt::fromPixel(canvas.Image().pixel(x, y)); }
    Colour screen(int x, int y) const { return nt::fromPixel(canvas.screen().pixel(x, y)); }
    void put(int x, int y, Colour c) { nt::SetPixel(nt::Dc{&canvas, true}, x, y, c); }
    // What the pipeline does around a tool's press, including the dab tools' first move.
    void pressAt(Tool& t, double x, double y, int button = 1) {
        canvas.ForeColor = env.colours[button == 2 ? 2 : 1];
        state.StartX = x;
        state.StartY = y;
        state.IsDrawing = true;
        if (t.movesOnPress()) t.move(ctx, {button, 0, x, y});
        t.press(ctx, {button, 0, x, y});
        canvas.setAutoRedraw(false);
        canvas.FillStyle = 1;
    }
    void releaseAt(Tool& t, double x, double y, int button = 1) {
        canvas.FillStyle = 1;
        canvas.setAutoRedraw(true);
        t.release(ctx, {button, 0, x, y});
        state.IsDrawing = false;
        canvas.Refresh();
    }
    void click(Tool& t, double x, double y, int button = 1) {
        pressAt(t, x, y, button);
        releaseAt(t, x, y, button);
    }
    std::set<std::pair<int, int>> pixelsOf(Colour c) const {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (picture(x, y) == c) found.insert({x, y});
        return found;
    }
};

// ---- fill ----

TEST_F(PaintTool, FillTakesExactlyTheFourConnectedAreaOfTheStartColour) {
    // A one-pixel line whose run is broken by a colour one step away, and a pixel touching
    // the run only at a corner.
    for (int x = 10; x <= 50; ++x) put(x, 20, kOld);
    put(30, 20, 0x00FE00);
    put(51, 21, kOld);
    FillTool fill;
    click(fill, 15, 20);
    for (int x = 10; x < 30; ++x) EXPECT_EQ(picture(x, 20), kInk) << x;
    EXPECT_EQ(picture(30, 20), 0x00FE00u);
    EXPECT_EQ(picture(31, 20), kOld);
    EXPECT_EQ(picture(51, 21), kOld);
    EXPECT_EQ(picture(15, 19), kWhite);
    EXPECT_EQ(picture(15, 21), kWhite);
    EXPECT_EQ(pixelsOf(kInk).size(), 20u);
    EXPECT_EQ(canvas.FillColor, kInk);
}

TEST_F(PaintTool, FillWithTheRegionsOwnColourChangesNothing) {
    FillTool fill;
    canvas.Line(0, 50, 119, 50, kInk);
    const QImage before = canvas.Image().copy();
    env.colours[2] = kInk;
    click(fill, 5, 50, 2);
    EXPECT_EQ(canvas.Image(), before);
}

TEST_F(PaintTool, PatternFillIsTiledFromTheCanvasOriginNotFromThePress) {
    env.fill = FillMode::Pattern;
    env.pattern = imageOf(3, 2, {0x000001, 0x000002, 0x000003, 0x000004, 0x000005, 0x000006});
    canvas.Line(60, 0, 60, 100, kOld);  // the fill stops at this line
    FillTool fill;
    click(fill, 37, 23);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(picture(x, y), static_cast<Colour>(1 + x % 3 + 3 * (y % 2))) << x << "," << y;
    EXPECT_EQ(picture(60, 10), kOld);
    EXPECT_EQ(picture(61, 10), kWhite);
    // The pattern was selected for this fill only.
    EXPECT_EQ(canvas.selectedPattern(), nullptr);
    canvas.FillStyle = 0;
    EXPECT_EQ(canvas.brush().kind, nt::Brush::Kind::Solid);
}

TEST_F(PaintTool, PatternFillFollowsOnlyTheExactColourAlongAOnePixelLine) {
    env.fill = FillMode::Pattern;
    env.pattern = imageOf(2, 2, {kRed, kBlue, kBlue, kRed});
    for (int y = 10; y <= 40; ++y) put(70, y, kOld);
    put(70, 25, 0x00FF01);
    FillTool fill;
    click(fill, 70, 12);
    for (int y = 10; y < 25; ++y) EXPECT_EQ(picture(70, y), (70 + y) % 2 == 0 ? kRed : kBlue) << y;
    EXPECT_EQ(picture(70, 26), kOld);
    EXPECT_EQ(picture(69, 12), kWhite);
    EXPECT_EQ(picture(71, 12), kWhite);
}

TEST_F(PaintTool, PatternModeWithoutAPatternFillsWithTheDrawingColour) {
    env.fill = FillMode::Pattern;  // env.pattern stays null: the library was empty
    FillTool fill;
    click(fill, 5, 5);
    EXPECT_EQ(pixelsOf(kInk).size(), 120u * 100u);
}

TEST_F(PaintTool, FillGoesIntoThePictureEvenAfterAnUnmatchedPress) {
    canvas.setAutoRedraw(false);
    FillTool fill;
    pressAt(fill, 5, 5);
    canvas.Refresh();
    EXPECT_EQ(picture(100, 90), kInk);
}

// ---- airbrush ----

TEST(AirbrushOffsets, RunFromMinusFiveToTenTimesTheWidthMinusSix) {
    const float below1 = static_cast<float>(nt::UniformRandom::kOne - 1) / nt::UniformRandom::kOne;
    for (int w : {1, 2, 7, 100}) {
        EXPECT_EQ(AirbrushTool::offset(0.0f, w), -5) << w;
        EXPECT_EQ(AirbrushTool::offset(below1, w), 10 * w - 6) << w;
    }
    EXPECT_EQ(AirbrushTool::offset(0.5f, 1), 0);
    EXPECT_EQ(AirbrushTool::offset(0.25f, 2), 0);
}

TEST_F(PaintTool, WideAirbrushDotsLeanToTheLowerRight) {
    canvas.DrawWidth = 3;
    AirbrushTool airbrush;
    for (int i = 0; i < 20; ++i) {
        pressAt(airbrush, 40, 40);
        releaseAt(airbrush, 40, 40);
    }
    // Dots of width 3 centred at -5 .. +24 cover -6 .. +25 around the pointer.
    int right = 0, left = 0;
    for (const auto& [x, y] : pixelsOf(kInk)) {
        EXPECT_GE(x, 34);
        EXPECT_LE(x, 65);
        EXPECT_GE(y, 34);
        EXPECT_LE(y, 65);
        (x > 40 ? right : left)++;
    }
    EXPECT_GT(right, 2 * left);
}

// ---- magic pen ----

TEST_F(PaintTool, MagicPenStampsTheRecolouredBrushCentredWithMagentaTransparent) {
    env.brush.setPicture(imageOf(5, 3,
                                 {0, kMagenta, kOld, kMagenta, 0,  //
                                  kMagenta, 0, 0, 0, kMagenta,     //
                                  0x000001, kMagenta, 0, kMagenta, 0x000001}),
                         true);
    canvas.Line(0, 0, 119, 99, kBlue, nt::BoxMode::Filled);
    MagicPenTool pen;
    pressAt(pen, 20, 30, 2);  // colour 2 is red
    releaseAt(pen, 20, 30, 2);
    // Left = 20 - 5 \ 2 = 18, top = 30 - 3 \ 2 = 29.
    const QImage expected = imageOf(5, 3,
                                    {kRed, kBlue, kOld, kBlue, kRed,  //
                                     kBlue, kRed, kRed, kRed, kBlue,  //
                                     0x000001, kBlue, kRed, kBlue, 0x000001});
    EXPECT_EQ(canvas.Image().copy(18, 29, 5, 3), expected);
    EXPECT_EQ(pixelsOf(kBlue).size(), 120u * 100u - 9u);
}

TEST_F(PaintTool, MagicPenWithoutALoadedBrushDrawsNothing) {
    MagicPenTool pen;
    pressAt(pen, 50, 50);
    pen.move(ctx, {1, 0, 60, 55});
    releaseAt(pen, 60, 55);
    EXPECT_EQ(pixelsOf(kWhite).size(), 120u * 100u);
}

// ---- eraser ----

class Eraser : public PaintTool {
  protected:
    void SetUp() override {
        canvas.setBackColor(kOld);
        canvas.Line(0, 0, 119, 99, kInk, nt::BoxMode::Filled);
    }
    EraserTool eraser;
};

TEST_F(Eraser, OddSizeHalvesWithTruncation) {
    env.eraser = 7;  // 7 \ 2 = 3: the box runs from 47 to 54
    pressAt(eraser, 50, 50);
    releaseAt(eraser, 50, 50);
    EXPECT_EQ(picture(47, 47), kOld);
    EXPECT_EQ(picture(54, 54), kOld);
    EXPECT_EQ(picture(46, 50), kInk);
    EXPECT_EQ(picture(55, 50), kInk);
}

TEST_F(Eraser, RoundTakesTheSizeAsRadius) {
    env.shape = EraserShape::Round;
    pressAt(eraser, 50, 50);
    releaseAt(eraser, 50, 50);
    for (auto [x, y] : {std::pair{40, 50}, {60, 50}, {50, 40}, {50, 60}, {57, 57}, {43, 43}})
        EXPECT_EQ(picture(x, y), kOld) << x << "," << y;
    for (auto [x, y] : {std::pair{38, 50}, {62, 50}, {50, 62}, {59, 59}, {41, 41}})
        EXPECT_EQ(picture(x, y), kInk) << x << "," << y;
}

// ---- colour picker ----

TEST_F(PaintTool, PickerTakesColourOneOrTwoContinuouslyFromThePicture) {
    put(10, 10, kOld);
    put(20, 10, kBlue);
    put(30, 10, kInk);
    PickerTool picker;
    pressAt(picker, 10, 10, 1);
    EXPECT_EQ(env.colours[1], kOld);
    picker.move(ctx, {1, 0, 20, 10});
    EXPECT_EQ(env.colours[1], kBlue);
    picker.move(ctx, {3, 0, 30, 10});  // both buttons held: nothing
    EXPECT_EQ(env.colours[1], kBlue);
    EXPECT_EQ(env.colours[2], kRed);
    picker.move(ctx, {1, 0, 500, 10});  // off the canvas: kept
    EXPECT_EQ(env.colours[1], kBlue);
    // A screen-only preview is not picked up.
    canvas.Line(0, 30, 50, 30, kMagenta);
    picker.move(ctx, {1, 0, 5, 30});
    EXPECT_EQ(env.colours[1], kWhite);
    releaseAt(picker, 5, 30);
    pressAt(picker, 30, 10, 2);
    EXPECT_EQ(env.colours[2], kInk);
    EXPECT_EQ(env.colours[1], kWhite);
    releaseAt(picker, 30, 10, 2);
    EXPECT_EQ(pixelsOf(kWhite).size(), 120u * 100u - 3u);  // draws nothing
}

// ---- gradient ----

TEST(GradientHelpers, TranslateAndStoreColours) {
    EXPECT_EQ(TranslateColor(0x00123456), 0x00123456u);
    EXPECT_EQ(TranslateColor(0x8000000F), nt::plainColour(0x8000000F));
    EXPECT_EQ(TranslateColor(0x01000000), 0x0000FFFFu);
    EXPECT_EQ(TranslateColor(0x800000FF), 0x0000FFFFu);  // no such system colour
    nt::TRIVERTEX v;
    v.alpha = 7;
    SetVertexColor(v, 0x00FF8001);
    EXPECT_EQ(v.red, 0x0100);
    EXPECT_EQ(v.green, 0x8000);
    EXPECT_EQ(v.blue, 0xFF00);
    EXPECT_EQ(v.alpha, 0);
}

class Gradient : public PaintTool {
  protected:
    GradientTool gradient;
    void SetUp() override {
        env.colours[1] = kRed;
        env.colours[2] = kBlue;
    }
};

TEST_F(Gradient, LeftToRightRunsFromColourOneAtThePressToColourTwo) {
    pressAt(gradient, 10, 10, 2);  // whichever button: colour 1 is at the press side
    releaseAt(gradient, 110, 30, 2);
    EXPECT_EQ(picture(10, 20), kRed);
    EXPECT_EQ(picture(109, 10), nt::rgb(2, 0, 252));  // (255 * 1 + 0 * 99) / 100 -> 2
    EXPECT_EQ(picture(60, 29), nt::rgb(127, 0, 127));
    EXPECT_EQ(picture(110, 20), kWhite);  // right and bottom edges are outside
    EXPECT_EQ(picture(60, 30), kWhite);
    EXPECT_EQ(picture(9, 20), kWhite);
}

TEST_F(Gradient, UntranslatableColourBecomesYellow) {
    env.colours[1] = 0x7F000000;
    env.colours[2] = 0x7F000000;
    pressAt(gradient, 0, 0);
    releaseAt(gradient, 20, 20);
    EXPECT_EQ(picture(10, 10), 0x00FFFFu);
}

TEST(PaintToolsWithoutEnvironment, DoNothing) {
    nt::Surface canvas(20, 20, kWhite);
    nt::DrawingState state;
    ToolContext ctx{canvas, state};
    const QImage before = canvas.Image().copy();
    FillTool().press(ctx, {1, 0, 5, 5});
    AirbrushTool().move(ctx, {1, 0, 5, 5});
    MagicPenTool().move(ctx, {1, 0, 5, 5});
    EraserTool().move(ctx, {1, 0, 5, 5});
    PickerTool().press(ctx, {1, 0, 5, 5});
    GradientTool().release(ctx, {1, 0, 15, 15});
    EXPECT_EQ(canvas.Image(), before);
}

}  // namespace
