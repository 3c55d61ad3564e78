// The tools on a bare surface, without a window.
#include <gtest/gtest.h>

#include "mainwindow/tools/FreehandTool.h"
#include "mainwindow/tools/PolygonTool.h"
#include "mainwindow/tools/ShapeTool.h"
#include "mainwindow/tools/ToolSet.h"

namespace {

using namespace nt::tools;
constexpr nt::Colour kWhite = 0xFFFFFF, kInk = 0x123456, kOld = 0x00FF00;

class ToolOnSurface : public ::testing::Test {
  protected:
    nt::Surface canvas{200, 150, kWhite};
    nt::DrawingState state;
    ToolContext ctx{canvas, state};

    nt::Colour picture(int x, int y) const { return nt::fromPixel(canvas.Image().pixel(x, y)); }
    nt::Colour screen(int x, int y) const { return nt::fromPixel(canvas.screen().pixel(x, y)); }
    // What the pipeline does around a tool's press.
    void pressAt(Tool& t, double x, double y) {
        canvas.ForeColor = kInk;
        state.StartX = x;
        state.StartY = y;
        state.IsDrawing = true;
        t.press(ctx, {1, 0, x, y});
        canvas.setAutoRedraw(false);
        canvas.FillStyle = 1;
    }
    void releaseAt(Tool& t, double x, double y) {
        canvas.FillStyle = 1;
        canvas.setAutoRedraw(true);
        t.release(ctx, {1, 0, x, y});
        state.IsDrawing = false;
        canvas.Refresh();
    }
};

TEST_F(ToolOnSurface, ShapeMovePreviewsOnTheScreenAndReleaseDrawsIntoThePicture) {
    ShapeTool box(Shape::Box);
    pressAt(box, 10, 10);
    box.move(ctx, {1, 0, 50, 40});
    EXPECT_EQ(screen(30, 10), kInk);
    EXPECT_EQ(picture(30, 10), kWhite);
    box.move(ctx, {1, 0, 20, 20});
    EXPECT_EQ(screen(30, 10), kWhite);  // the move repainted the older preview away
    releaseAt(box, 60, 50);
    EXPECT_EQ(picture(60, 30), kInk);
    EXPECT_EQ(picture(20, 20), kWhite);
}

TEST_F(ToolOnSurface, FilledShapesFillWithTheDrawingColourEvenWithoutAMove) {
    for (Shape s : {Shape::FilledCircle, Shape::FilledEllipse, Shape::FilledRoundRect}) {
        canvas.Cls();
        canvas.FillColor = kOld;  // left over from an earlier stroke
        ShapeTool tool(s);
        pressAt(tool, 40, 40);
        releaseAt(tool, 100, 100);
        const int inside = s == Shape::FilledCircle ? 45 : 70;
        EXPECT_EQ(picture(inside, inside), kInk) << static_cast<int>(s);
    }
}

TEST_F(ToolOnSurface, HollowShapesLeaveTheInsideAlone) {
    for (Shape s : {Shape::Circle, Shape::Ellipse, Shape::RoundRect, Shape::Box}) {
        canvas.Cls();
        canvas.FillColor = kOld;
        canvas.FillStyle = 0;
        ShapeTool tool(s);
        pressAt(tool, 40, 40);
        tool.move(ctx, {1, 0, 100, 100});
        releaseAt(tool, 100, 100);
        EXPECT_EQ(picture(70, 70), kWhite) << static_cast<int>(s);
    }
}

TEST_F(ToolOnSurface, RectangleReleasedAtThePressPointIsOnePixel) {
    ShapeTool box(Shape::Box);
    pressAt(box, 30, 30);
    releaseAt(box, 30, 30);
    EXPECT_EQ(picture(30, 30), kInk);
    EXPECT_EQ(picture(31, 30), kWhite);
    EXPECT_EQ(picture(30, 31), kWhite);
}

TEST_F(ToolOnSurface, PencilAdvancesThePressPointAndStarLinesKeepIt) {
    FreehandTool pencil(FreehandTool::Kind::Pencil);
    pressAt(pencil, 10, 10);
    pencil.move(ctx, {1, 0, 50, 10});
    EXPECT_EQ(picture(30, 10), kInk);  // at once in the picture
    EXPECT_EQ(state.StartX, 50);
    EXPECT_TRUE(canvas.AutoRedraw());
    FreehandTool star(FreehandTool::Kind::StarLines);
    pressAt(star, 100, 100);
    star.move(ctx, {1, 0, 150, 100});
    star.move(ctx, {1, 0, 100, 140});
    EXPECT_EQ(state.StartX, 100);
    EXPECT_EQ(picture(120, 100), kInk);
    EXPECT_EQ(picture(100, 120), kInk);
}

TEST_F(ToolOnSurface, FreeCurveRemembersItsStartAndClosesAtTheRelease) {
    FreehandTool curve(FreehandTool::Kind::FreeCurve);
    pressAt(curve, 10, 100);
    EXPECT_EQ(state.CurveX0, 10);
    EXPECT_EQ(state.CurveY0, 100);
    curve.move(ctx, {1, 0, 60, 100});
    curve.move(ctx, {1, 0, 60, 20});
    releaseAt(curve, 60, 20);
    EXPECT_EQ(picture(35, 60), kInk);  // on the closing line from (10, 100) to (60, 20)
}

TEST_F(ToolOnSurface, PolygonPressDrawsIntoThePictureEvenWithPersistenceOff) {
    PolygonTool poly;
    pressAt(poly, 20, 20);
    EXPECT_TRUE(state.PolyStarted);
    EXPECT_EQ(picture(20, 20), kInk);
    poly.move(ctx, {1, 0, 80, 20});
    EXPECT_EQ(screen(50, 20), kInk);
    EXPECT_EQ(picture(50, 20), kWhite);
    canvas.setAutoRedraw(false);  // as a second press with the first button still held leaves it
    pressAt(poly, 20, 80);        // joins (20, 20) to (20, 80)
    EXPECT_EQ(picture(20, 50), kInk);
}

TEST(ToolSetTable, FamiliesAndWhatIsBuilt) {
    ToolSet set;
    EXPECT_EQ(set.at(nt::kNoTool), nullptr);
    EXPECT_EQ(set.at(nt::kToolCount), nullptr);
    for (int i = 0; i < nt::kToolCount; ++i) {
        ASSERT_NE(set.at(i), nullptr);
        const bool dab =
            i == nt::kPencil || i == nt::kAirbrush || i == nt::kMagicPen || i == nt::kEraser;
        EXPECT_EQ(set.at(i)->movesOnPress(), dab) << i;
    }
    EXPECT_EQ(ToolSet::familyOf(nt::kGradient), Family::TwoPoint);
    EXPECT_EQ(ToolSet::familyOf(nt::kEraser), Family::Dab);
    EXPECT_EQ(ToolSet::familyOf(nt::kPicker), Family::SingleClick);
    EXPECT_EQ(ToolSet::familyOf(nt::kText), Family::Region);
}

}  // namespace
