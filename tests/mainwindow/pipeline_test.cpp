// The pointer pipeline on the real window: the common steps of press, move and release, and
// the final pixels of the shape tools for both buttons.
#include <cmath>

#include <QImageReader>

#include "WindowFixture.h"
#include "document/tipbox.h"

namespace {

constexpr nt::Colour kBlack = 0x000000, kRed = 0x0000FF;

struct Button {
    Qt::MouseButton button;
    nt::Colour colour;
};
const Button kButtons[] = {{Qt::LeftButton, kBlack}, {Qt::RightButton, kRed}};

class Pipeline : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        back = picture(0, 0);
    }
    // The picture as it stands, for before/after comparisons.
    QImage snapshot() { return canvas().Image().copy(); }
    nt::Colour back = 0;
};

TEST_F(Pipeline, PressWritesThePictureBeforeThePressToUndoBmp) {
    chooseTool(nt::kLine);
    drag(Qt::LeftButton, {10, 10}, {60, 10});
    const QImage before = snapshot();
    // A pencil press at width 5 draws a dot at once; the undo image must not contain it.
    chooseTool(nt::kPencil);
    w->cboDW->setCurrentIndex(4);
    press(Qt::LeftButton, {100, 100});
    EXPECT_EQ(picture(100, 100), kBlack);
    w->undoImage().flush();
    EXPECT_EQ(w->undoImage().latest(), before);
    QImage onDisk(QDir(work.path()).filePath("undo.bmp"));
    ASSERT_FALSE(onDisk.isNull());
    EXPECT_EQ(onDisk.convertToFormat(QImage::Format_RGB32), before);
    release(Qt::LeftButton, {100, 100});
}

TEST_F(Pipeline, ButtonChoosesTheDrawingColourAndMiddleKeepsThePrevious) {
    chooseTool(nt::kLine);
    drag(Qt::RightButton, {10, 20}, {50, 20});
    EXPECT_EQ(canvas().ForeColor, kRed);
    drag(Qt::MiddleButton, {10, 30}, {50, 30});
    EXPECT_EQ(canvas().ForeColor, kRed);
    EXPECT_EQ(picture(20, 30), kRed);
    drag(Qt::LeftButton, {10, 40}, {50, 40});
    EXPECT_EQ(canvas().ForeColor, kBlack);
    drag(Qt::MiddleButton, {10, 50}, {50, 50});
    EXPECT_EQ(picture(20, 50), kBlack);
}

TEST_F(Pipeline, PressStateAndPersistenceAcrossTheStroke) {
    chooseTool(nt::kRectangle);
    canvas().FillStyle = 0;
    press(Qt::LeftButton, {30, 40});
    EXPECT_TRUE(w->state.IsDrawing);
    EXPECT_EQ(w->state.StartX, 30);
    EXPECT_EQ(w->state.StartY, 40);
    EXPECT_FALSE(canvas().AutoRedraw());
    EXPECT_EQ(canvas().FillStyle, 1);
    moveTo({70, 80});
    release(Qt::LeftButton, {70, 80});
    EXPECT_FALSE(w->state.IsDrawing);
    EXPECT_TRUE(canvas().AutoRedraw());
    EXPECT_EQ(canvas().FillStyle, 1);
}

TEST_F(Pipeline, RubberBandPreviewsReachTheScreenOnlyAndEraseEachOther) {
    chooseTool(nt::kLine);
    press(Qt::LeftButton, {10, 100});
    moveTo({200, 100});
    EXPECT_EQ(screen(150, 100), kBlack);
    EXPECT_EQ(picture(150, 100), back);
    moveTo({10, 200});  // the next preview repaints the first one away
    EXPECT_EQ(screen(150, 100), back);
    EXPECT_EQ(screen(10, 150), kBlack);
    release(Qt::LeftButton, {10, 200});
    EXPECT_EQ(picture(10, 150), kBlack);
    EXPECT_EQ(picture(150, 100), back);
    EXPECT_EQ(canvas().screen(), canvas().Image());
}

TEST_F(Pipeline, PencilPressDrawsItsFirstDabThroughTheMoveHandler) {
    chooseTool(nt::kPencil);
    w->cboDW->setCurrentIndex(2);  // width 3: a zero-length stroke still leaves a dot
    press(Qt::RightButton, {50, 60});
    EXPECT_EQ(picture(50, 60), kRed);
    EXPECT_EQ(w->statusText(2), QStringLiteral("50,60"));
    moveTo({90, 60});
    EXPECT_EQ(picture(70, 60), kRed);  // freehand strokes are permanent at once
    EXPECT_EQ(w->state.StartX, 90);
    release(Qt::RightButton, {90, 60});
}

TEST_F(Pipeline, StatusPanelFollowsThePointerWithOrWithoutButton) {
    hover({12, 34});
    EXPECT_EQ(w->statusText(2), QStringLiteral("12,34"));
    EXPECT_FALSE(w->state.IsDrawing);
    EXPECT_EQ(canvas().Image(), canvas().screen());
    w->SrcDc_MouseMove(0, 0, 12.5, 7);
    EXPECT_EQ(w->statusText(2), QStringLiteral("12.5,7"));
}

TEST_F(Pipeline, ReleaseEnablesCutAndCopyExactlyWhenASelectionShows) {
    EXPECT_FALSE(w->mnuCut->isEnabled());
    chooseTool(nt::kLine);  // choosing a tool hides the selection, so show it afterwards
    w->shpSelect->setArea(QRectF(5, 5, 20, 20));
    w->shpSelect->show();
    drag(Qt::LeftButton, {100, 100}, {120, 100});
    EXPECT_TRUE(w->mnuCut->isEnabled());
    EXPECT_TRUE(w->mnuCopy->isEnabled());
    w->shpSelect->hide();
    drag(Qt::LeftButton, {100, 110}, {120, 110});
    EXPECT_FALSE(w->mnuCut->isEnabled());
    EXPECT_FALSE(w->mnuCopy->isEnabled());
}

TEST_F(Pipeline, SelectToolShowsTheHintOnMovesAndTheReleaseHidesIt) {
    chooseTool(nt::kSelect);
    hover({40, 40});
    tipbox* hint = tipbox::Instance(w.get());
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->Label7->text(),
              QStringLiteral("选择一个区域,按Del可删除或可在菜单栏里选择功能"));
    press(Qt::LeftButton, {40, 40});
    release(Qt::LeftButton, {40, 40});
    EXPECT_FALSE(hint->isVisible());
}

// ---- final pixels of the shape tools, for both buttons ----

class Shapes : public Pipeline, public ::testing::WithParamInterface<Button> {
  protected:
    nt::Colour ink() const { return GetParam().colour; }
    void dragShape(int tool, QPoint from, QPoint to) {
        chooseTool(tool);
        drag(GetParam().button, from, to, QPoint((from.x() + to.x()) / 2, from.y()));
    }
};

TEST_P(Shapes, LineDrawsFromThePressPointWithoutItsEnd) {
    dragShape(nt::kLine, {40, 40}, {100, 40});
    EXPECT_EQ(picture(40, 40), ink());
    EXPECT_EQ(picture(99, 40), ink());
    EXPECT_EQ(picture(100, 40), back);
    EXPECT_EQ(picture(70, 41), back);
}

TEST_P(Shapes, RectanglesIncludeBothCorners) {
    dragShape(nt::kRectangle, {40, 40}, {100, 80});
    EXPECT_EQ(picture(40, 40), ink());
    EXPECT_EQ(picture(100, 80), ink());
    EXPECT_EQ(picture(70, 80), ink());
    EXPECT_EQ(picture(70, 60), back);
    dragShape(nt::kFilledRectangle, {140, 40}, {200, 80});
    EXPECT_EQ(picture(170, 60), ink());
    EXPECT_EQ(picture(200, 80), ink());
    EXPECT_EQ(picture(201, 80), back);
}

TEST_P(Shapes, CircleIsCentredOnThePressAndPassesThroughTheRelease) {
    dragShape(nt::kCircle, {100, 100}, {130, 140});  // radius 50
    EXPECT_EQ(picture(150, 100), ink());
    EXPECT_EQ(picture(50, 100), ink());
    EXPECT_EQ(picture(100, 50), ink());
    EXPECT_EQ(picture(100, 100), back);
    EXPECT_EQ(picture(157, 100), back);
    dragShape(nt::kFilledCircle, {200, 100}, {200, 130});
    EXPECT_EQ(picture(200, 100), ink());
    EXPECT_EQ(picture(215, 115), ink());
}

TEST_P(Shapes, EllipseIsInscribedInTheDraggedBox) {
    dragShape(nt::kEllipse, {40, 40}, {140, 100});
    EXPECT_EQ(picture(90, 40), ink());
    EXPECT_EQ(picture(40, 70), ink());
    EXPECT_EQ(picture(90, 70), back);
    EXPECT_EQ(picture(40, 40), back);
    dragShape(nt::kFilledEllipse, {150, 120}, {250, 200});
    EXPECT_EQ(picture(200, 160), ink());
    EXPECT_EQ(picture(150, 120), back);
}

TEST_P(Shapes, RoundedRectangleHasRoundCorners) {
    dragShape(nt::kRoundRect, {40, 40}, {140, 100});
    EXPECT_EQ(picture(90, 40), ink());
    EXPECT_EQ(picture(40, 70), ink());
    EXPECT_EQ(picture(40, 40), back);
    EXPECT_EQ(picture(90, 70), back);
    dragShape(nt::kFilledRoundRect, {150, 120}, {250, 200});
    EXPECT_EQ(picture(200, 160), ink());
    EXPECT_EQ(picture(150, 120), back);
}

TEST_P(Shapes, StarLinesKeepEveryRay) {
    chooseTool(nt::kStarLines);
    press(GetParam().button, {100, 100});
    moveTo({200, 100});
    moveTo({100, 200});
    release(GetParam().button, {100, 200});
    EXPECT_EQ(picture(150, 100), ink());
    EXPECT_EQ(picture(100, 150), ink());
}

TEST_P(Shapes, FreeCurveIsClosedBackToItsStart) {
    chooseTool(nt::kFreeCurve);
    press(GetParam().button, {20, 20});
    moveTo({120, 20});
    moveTo({120, 120});
    release(GetParam().button, {120, 120});
    EXPECT_EQ(picture(70, 20), ink());
    EXPECT_EQ(picture(120, 70), ink());
    EXPECT_EQ(picture(70, 70), ink());  // the closing diagonal
}

TEST_P(Shapes, PolygonChainsItsEdgesUntilADoubleClick) {
    chooseTool(nt::kPolygon);
    const Qt::MouseButton b = GetParam().button;
    press(b, {20, 20});
    release(b, {80, 20});
    EXPECT_EQ(picture(50, 20), ink());
    press(b, {80, 80});  // joins the last vertex (80, 20) to the press point
    EXPECT_EQ(picture(80, 50), ink());
    release(b, {20, 80});
    EXPECT_EQ(picture(50, 80), ink());
    EXPECT_EQ(w->state.LastX, 20);
    QTest::mouseDClick(w->SrcDc, b, {}, {20, 80});
    release(b, {20, 80});
    EXPECT_FALSE(w->state.PolyStarted);
    press(b, {150, 150});  // a new chain starts with a dot, not a line from (20, 80)
    release(b, {150, 150});
    EXPECT_EQ(picture(85, 115), back);
}

INSTANTIATE_TEST_SUITE_P(BothButtons, Shapes, ::testing::ValuesIn(kButtons), [](const auto& info) {
    return std::string(info.param.button == Qt::LeftButton ? "Left" : "Right");
});

TEST_F(Pipeline, EllipseDraggedBackwardsEqualsTheForwardOne) {
    chooseTool(nt::kEllipse);
    drag(Qt::LeftButton, {40, 40}, {140, 100});
    const QImage forward = snapshot();
    canvas().Cls();
    drag(Qt::LeftButton, {140, 100}, {40, 40});
    EXPECT_EQ(snapshot(), forward);
}

TEST_F(Pipeline, DoubleClickWithTheLineDrawsTheSecondReleaseFromTheFirstPress) {
    chooseTool(nt::kLine);
    press(Qt::LeftButton, {10, 10});
    release(Qt::LeftButton, {10, 10});
    QTest::mouseDClick(w->SrcDc, Qt::LeftButton, {}, {10, 10});
    release(Qt::LeftButton, {60, 10});  // as if the pointer slipped before the last release
    EXPECT_EQ(picture(40, 10), kBlack);
    EXPECT_FALSE(w->state.IsDrawing);
}

// ---- hostile input ----

TEST_F(Pipeline, PointerFarOutsideTheCanvasNeitherCrashesNorDraws) {
    for (int tool : {nt::kPencil, nt::kLine, nt::kCircle, nt::kFilledEllipse, nt::kPolygon,
                     nt::kFilledRoundRect, nt::kFreeCurve}) {
        w->Command1_Click(tool);
        w->SrcDc_MouseDown(1, 0, -1e9, 3e9);
        w->SrcDc_MouseMove(1, 0, 1e12, -1e12);
        w->SrcDc_MouseMove(1, 0, std::nan(""), INFINITY);
        w->SrcDc_MouseUp(1, 0, 5e8, 5e8);
        EXPECT_FALSE(w->state.IsDrawing);
        EXPECT_TRUE(canvas().AutoRedraw());
    }
    EXPECT_EQ(canvas().screen(), canvas().Image());
}

TEST_F(Pipeline, ReleasesWithoutPressesAndNoToolLeaveAConsistentState) {
    w->SrcDc_MouseUp(1, 0, 10, 10);
    w->SrcDc_MouseUp(2, 0, 20, 20);
    EXPECT_FALSE(w->state.IsDrawing);
    w->state.CurTool = nt::kNoTool;
    const QImage before = snapshot();
    drag(Qt::LeftButton, {10, 10}, {100, 100});
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(w->state.IsDrawing);
    EXPECT_EQ(w->statusText(2), QStringLiteral("100,100"));
    w->state.CurTool = 99;  // out of range counts as no tool
    drag(Qt::RightButton, {10, 10}, {100, 100});
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Pipeline, RapidDoubleClicksLeaveEveryStrokeFinished) {
    for (int tool : {nt::kPolygon, nt::kLine, nt::kPencil, nt::kFilledCircle}) {
        w->Command1_Click(tool);
        for (int i = 0; i < 5; ++i) {
            press(Qt::LeftButton, {50 + i, 50});
            release(Qt::LeftButton, {50 + i, 50});
            QTest::mouseDClick(w->SrcDc, Qt::LeftButton, {}, {50 + i, 50});
            release(Qt::LeftButton, {50 + i, 50});
        }
        EXPECT_FALSE(w->state.IsDrawing);
        EXPECT_FALSE(w->state.PolyStarted);
        EXPECT_EQ(canvas().screen(), canvas().Image());
    }
}

}  // namespace
