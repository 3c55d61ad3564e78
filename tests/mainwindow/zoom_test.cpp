// The view's zoom: the mapping between screen and picture pixels, the magnified and reduced
// painting, and on the real window the keys, the wheel, drawing, the selection, the
// workspace and the grid at several levels; at 100 % nothing differs from an unzoomed window.
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QWheelEvent>

#include "StartedWindow.h"
#include "mainwindow/ViewRendering.h"
#include "mainwindow/ViewZoom.h"

namespace {

constexpr nt::Colour kBlack = 0x000000;
constexpr int k12_5 = 0, k50 = 2, k100 = 3, k200 = 4, k300 = 5, k400 = 6, k1600 = 10;

nt::ViewZoom at(int level) {
    nt::ViewZoom z;
    z.setLevel(level);
    return z;
}

TEST(ViewZoom, LevelsMapScreenToPicturePixelsAndBack) {
    struct Case {
        int level;
        const char* percent;
        QPointF screen, picture;
        QRect pictureRect, screenRect;
    };
    const Case cases[] = {
        // 100 % passes every position on unchanged, fractions too.
        {k100, "100", {10.75, -3.5}, {10.75, -3.5}, {5, 6, 7, 8}, {5, 6, 7, 8}},
        {k200, "200", {7.9, 8}, {3, 4}, {5, 6, 1, 1}, {10, 12, 2, 2}},
        {k300, "300", {8.99, 9}, {2, 3}, {1, 0, 2, 1}, {3, 0, 6, 3}},
        {k400, "400", {-1, 3.99}, {-1, 0}, {2, 2, 3, 3}, {8, 8, 12, 12}},
        {k50, "50", {3.5, 4}, {7, 8}, {3, 3, 2, 2}, {1, 1, 2, 2}},
        // 12.5 %: a screen pixel covers 8 x 8 picture pixels, a partly covered one shows.
        {k12_5, "12.5", {1, 2.5}, {8, 20}, {7, 0, 10, 1}, {0, 0, 3, 1}},
        {12, "3200", {64, 95}, {2, 2}, {1, 1, 1, 1}, {32, 32, 32, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        const nt::ViewZoom z = at(c.level);
        EXPECT_EQ(z.percentText(), QString::fromLatin1(c.percent));
        EXPECT_EQ(z.toPicture(c.screen), c.picture);
        EXPECT_EQ(z.toScreen(c.pictureRect), c.screenRect);
    }
    EXPECT_EQ(at(k12_5).toScreen(QSize(10001, 8)), QSize(1251, 1));
    EXPECT_EQ(at(k400).toScreen(QSize(280, 232)), QSize(1120, 928));
    // A screen length back in whole picture pixels, never below one.
    EXPECT_EQ(at(k400).pictureLength(1127), 281);
    EXPECT_EQ(at(k400).pictureLength(2), 1);
    EXPECT_EQ(at(k12_5).pictureLength(1252), 10016);
    nt::ViewZoom z;
    EXPECT_TRUE(z.identity());
    EXPECT_FALSE(z.setLevel(k100));
    EXPECT_TRUE(z.setLevel(99));
    EXPECT_EQ(z.level(), nt::ViewZoom::kLevelCount - 1);
    EXPECT_TRUE(z.setLevel(-5));
    EXPECT_EQ(z.level(), 0);
}

TEST(ViewZoom, FitTakesTheLargestLevelAtWhichTheWholePictureFits) {
    EXPECT_EQ(nt::ViewZoom::fitLevel({280, 232}, {880, 560}), k200);       // 840 x 696 is too high
    EXPECT_EQ(nt::ViewZoom::fitLevel({4000, 3000}, {880, 560}), k12_5);    // 500 x 375
    EXPECT_EQ(nt::ViewZoom::fitLevel({1000, 1000}, {500, 500}), k50);      // exactly 500 fits
    EXPECT_EQ(nt::ViewZoom::fitLevel({10, 10}, {880, 560}), 12);           // 3200 %
    EXPECT_EQ(nt::ViewZoom::fitLevel({30000, 30000}, {880, 560}), k12_5);  // fits at none
}

QImage rgb(int w, int h, QRgb fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

TEST(ViewRendering, MagnifiesNearestPixelWithAnOptionalGrid) {
    QImage picture = rgb(4, 3, qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    QImage out;
    // Screen pixels 3..10 x 2..7 at 3x: picture pixels 1..3 x 0..2.
    nt::magnifyInto(picture, 3, QRect(3, 2, 8, 6), false, out);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool black = (3 + x) / 3 == 1 && (2 + y) / 3 == 1;
            EXPECT_EQ(out.pixel(x, y), black ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                << x << "," << y;
        }
    nt::magnifyInto(picture, 4, QRect(0, 0, 16, 12), true, out);
    // The first row and column of every picture pixel are lines: darker on white, lighter on
    // black; the rest shows the pixel.
    EXPECT_LT(qGray(out.pixel(8, 1)), 200);
    EXPECT_LT(qGray(out.pixel(9, 0)), 200);
    EXPECT_EQ(out.pixel(9, 1), qRgb(255, 255, 255));
    EXPECT_GT(qGray(out.pixel(4, 5)), 60);
    EXPECT_EQ(out.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(7, 7), qRgb(0, 0, 0));
}

TEST(ViewRendering, ReductionsAreMeansKeptUpToDateWhereThePictureChanged) {
    QImage picture = rgb(17, 9, qRgb(0, 0, 0));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; x += 2) picture.setPixel(x, y, qRgb(200, 100, 40));
    nt::ReductionCache cache;
    const QImage& half = cache.reduced(picture, 1, QRect(0, 0, 9, 5));
    ASSERT_EQ(half.size(), QSize(9, 5));
    EXPECT_EQ(half.pixel(0, 0), qRgb(100, 50, 20));
    EXPECT_EQ(half.pixel(8, 4), qRgb(200, 100, 40));  // the odd last column and row alone
    const QImage& eighth = cache.reduced(picture, 3, QRect(0, 0, 3, 2));
    ASSERT_EQ(eighth.size(), QSize(3, 2));
    EXPECT_EQ(eighth.pixel(0, 0), qRgb(100, 50, 20));
    // A changed pixel shows once its tiles are marked, in every reduction.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) picture.setPixel(x, y, qRgb(255, 255, 255));
    EXPECT_EQ(cache.reduced(picture, 3, QRect(0, 0, 1, 1)).pixel(0, 0), qRgb(100, 50, 20));
    cache.invalidate(QRect(0, 0, 8, 8));
    EXPECT_EQ(cache.reduced(picture, 3, QRect(0, 0, 1, 1)).pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(cache.reduced(picture, 1, QRect(0, 0, 1, 1)).pixel(0, 0), qRgb(255, 255, 255));
    // Shown at once from samples, then made tile by tile.
    nt::ReductionCache quick;
    EXPECT_EQ(quick.shown(picture, 2, QRect(2, 0, 1, 1)).pixel(2, 0), qRgb(200, 100, 40));
    ASSERT_TRUE(quick.pending());
    EXPECT_EQ(quick.refine(picture, 1000), QRect(0, 0, 5, 3));
    EXPECT_FALSE(quick.pending());
    EXPECT_EQ(quick.shown(picture, 2, QRect(2, 0, 1, 1)).pixel(2, 0), qRgb(100, 50, 20));
}

class Zoom : public StartedWindow {
  protected:
    void zoomTo(int level) { w->setZoomLevel(level, QPointF(0, 0)); }
    QImage shown() { return w->SrcDc->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A wheel turn over the canvas.
    void ctrlWheel(QPoint inHolder, int delta) {
        const QPoint local = w->SrcDc->mapFrom(w->pHolder, inHolder);
        QWheelEvent e(local, w->SrcDc->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->SrcDc, &e);
    }
    // 2000 x 1500, the way a user gets it: by dragging the corner grip.
    void setCanvasBig() {
        QTest::mousePress(w->pGrip[1], Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(w->pGrip[1],
                         QPoint(3 + 2000 - canvas().width(), 3 + 1500 - canvas().height()));
        QTest::mouseRelease(w->pGrip[1], Qt::LeftButton, {}, QPoint(3, 3));
        ASSERT_EQ(canvas().width(), 2000);
    }
    // The picture pixel under a workspace position.
    QPointF pictureUnder(QPoint inHolder) {
        return w->zoom().toPicture(QPointF(inHolder - w->SrcDc->pos()));
    }
    void activate() {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
};

TEST_F(Zoom, ToolsDrawInPicturePixelsAtEveryLevel) {
    struct Case {
        int level;
        QPoint from, to;           // screen
        QPoint first, last, past;  // picture: the line's ends and the pixel after it
    };
    const Case cases[] = {
        {k400, {41, 43}, {83, 43}, {10, 10}, {19, 10}, {20, 10}},
        {k300, {30, 62}, {59, 62}, {10, 20}, {18, 20}, {19, 20}},
        {k1600, {160, 490}, {335, 495}, {10, 30}, {19, 30}, {20, 30}},
        {k50, {5, 20}, {25, 20}, {10, 40}, {49, 40}, {50, 40}},
        {k12_5, {2, 6}, {12, 6}, {16, 48}, {95, 48}, {96, 48}},
    };
    chooseTool(nt::kLine);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        zoomTo(c.level);
        const nt::Colour back = picture(c.past.x(), c.past.y());
        drag(Qt::LeftButton, c.from, c.to);
        EXPECT_EQ(picture(c.first.x(), c.first.y()), kBlack);
        EXPECT_EQ(picture(c.last.x(), c.last.y()), kBlack);
        EXPECT_EQ(picture(c.past.x(), c.past.y()), back);        // the end point stays undrawn
        EXPECT_EQ(picture(c.first.x(), c.first.y() + 1), back);  // one picture pixel thick
    }
    // The status bar shows picture positions.
    zoomTo(k400);
    hover({41, 43});
    EXPECT_EQ(w->statusText(2), QStringLiteral("10,10"));
}

TEST_F(Zoom, SelectionAndCloneMarkerSitOnTheirPicturePixels) {
    chooseTool(nt::kSelect);
    zoomTo(k400);
    drag(Qt::LeftButton, {40, 20}, {83, 61});
    const QRectF area = w->shpSelect->area();
    EXPECT_EQ(area.topLeft(), QPointF(10, 5));
    EXPECT_EQ(w->shpSelect->geometry(), QRect(QPoint(40, 20), QPoint(4 * (area.right() + 1) - 1,
                                                                     4 * (area.bottom() + 1) - 1)));
    // The zoom moves the outline with the picture; 100 % puts it back exactly.
    zoomTo(k200);
    EXPECT_EQ(w->shpSelect->pos(), QPoint(20, 10));
    zoomTo(k100);
    EXPECT_EQ(w->shpSelect->geometry(), QRect(10, 5, static_cast<int>(area.width()) + 1,
                                              static_cast<int>(area.height()) + 1));
}

TEST_F(Zoom, ShowsMagnifiedAndReducedAndAt100PercentExactlyTheScreenImage) {
    canvas().Line(0, 0, 279, 231, 0x0000FF);
    canvas().Line(10, 5, 10, 6, kBlack);
    const QImage before = shown();
    EXPECT_EQ(before, canvas().screen());
    zoomTo(k400);
    QImage big = shown();
    ASSERT_EQ(big.size(), QSize(1120, 928));
    EXPECT_EQ(nt::fromPixel(big.pixel(43, 23)), kBlack);
    EXPECT_EQ(nt::fromPixel(big.pixel(40, 20)), kBlack);
    EXPECT_EQ(big.pixel(39, 20), canvas().screen().pixel(9, 5));
    zoomTo(k12_5);
    shown();
    // Shown from samples at first, made properly between events.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->SrcDc->refining(); }, 5000));
    const QImage small = shown();
    ASSERT_EQ(small.size(), QSize(35, 29));
    // A reduction is display only: the picture keeps every pixel.
    EXPECT_EQ(nt::fromPixel(canvas().Image().pixel(10, 5)), kBlack);
    EXPECT_NE(small.pixel(10, 8), before.pixel(0, 231));  // a mean over the diagonal
    EXPECT_EQ(small.pixel(0, 28), before.pixel(0, 231));
    // Drawing while reduced shows at once.
    canvas().Line(0, 100, 279, 100, kBlack);
    canvas().Line(0, 101, 279, 101, kBlack);
    shown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->SrcDc->refining(); }, 5000));
    const QImage after = shown();
    EXPECT_NE(after.pixel(20, 12), small.pixel(20, 12));
    zoomTo(k100);
    EXPECT_EQ(shown(), canvas().screen());
}

TEST_F(Zoom, KeysStepAboutTheCentreAndTheMenuFollows) {
    activate();
    setCanvasBig();
    EXPECT_EQ(w->statusText(3), sizeText(2000, 1500));
    QLabel* field = w->sbarZoom;
    EXPECT_EQ(field->text(), QStringLiteral("缩放:100%"));
    const QPoint centre = w->viewCentre().toPoint();
    const QPointF under = pictureUnder(centre);
    QTest::keyClick(w.get(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("缩放:200%"));
    QTest::keyClick(w.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("缩放:300%"));
    EXPECT_EQ(pictureUnder(centre), under);
    QTest::keyClick(w.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("缩放:200%"));
    EXPECT_EQ(pictureUnder(centre), under);
    QTest::keyClick(w.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("缩放:100%"));
    EXPECT_EQ(w->SrcDc->size(), QSize(2000, 1500));
    // The size text stays the picture's.
    EXPECT_EQ(w->statusText(3), sizeText(2000, 1500));
    w->mnuFit->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("缩放:25%"));
    EXPECT_FALSE(w->hBar->isVisible());
    EXPECT_FALSE(w->vBar->isVisible());
    for (int i = 0; i < 20; ++i) w->mnuZoomOut->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("缩放:12.5%"));
    for (int i = 0; i < 20; ++i) w->mnuZoomIn->trigger();
    EXPECT_EQ(field->text(), QStringLiteral("缩放:3200%"));
    // The menu sits after the canvas menu.
    const QList<QAction*> bar = w->menuBar()->actions();
    EXPECT_EQ(bar.indexOf(w->mnuView->menuAction()), bar.indexOf(w->mnuImage->menuAction()) + 1);
}

TEST_F(Zoom, CtrlWheelKeepsThePicturePixelUnderThePointer) {
    setCanvasBig();
    w->hBar->setValue(300);
    w->vBar->setValue(200);
    const QPoint pointer(413, 257);
    const QPointF under = pictureUnder(pointer);
    for (int notch : {120, 120, 120, -120, 120, 120}) {
        ctrlWheel(pointer, notch);
        EXPECT_EQ(pictureUnder(pointer), under) << w->zoom().percentText().toStdString();
    }
    EXPECT_EQ(w->zoom().percentText(), QStringLiteral("600"));  // five notches in, one out
    // Half notches add up; a wheel without Ctrl zooms nothing.
    ctrlWheel(pointer, -60);
    EXPECT_EQ(w->zoom().level(), 7);
    ctrlWheel(pointer, -60);
    EXPECT_EQ(w->zoom().level(), k400);
    QWheelEvent plain(pointer, w->pHolder->mapToGlobal(pointer), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->pHolder, &plain);
    EXPECT_EQ(w->zoom().level(), k400);
}

TEST_F(Zoom, WorkspaceCountsScreenPixelsAt400Percent) {
    zoomTo(k400);
    const QSize ws = w->pHolder->size();
    EXPECT_EQ(w->SrcDc->size(), QSize(1120, 928));
    EXPECT_EQ(w->hBar->maximum(), 1120 - ws.width() + 18);
    EXPECT_EQ(w->vBar->maximum(), 928 - ws.height() + 18);
    EXPECT_TRUE(w->hBar->isEnabled());
    // Handles on the zoomed edges, 6 x 6 screen pixels.
    EXPECT_EQ(w->pGrip[0]->geometry(), QRect(1120, 461, 6, 6));
    EXPECT_EQ(w->pGrip[1]->pos(), QPoint(1120, 928));
    EXPECT_EQ(w->pGrip[2]->pos(), QPoint(557, 928));
    EXPECT_EQ(w->itouch->pos(), QPoint(1120, 0));
    // A drag by 42 screen pixels makes the canvas 10 picture pixels wider and 3 lower; the
    // handle comes back to the new edge.
    QTest::mousePress(w->pGrip[1], Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(w->pGrip[1], QPoint(45, 16));
    QTest::mouseRelease(w->pGrip[1], Qt::LeftButton, {}, QPoint(45, 16));
    EXPECT_EQ(QSize(canvas().width(), canvas().height()), QSize(290, 235));
    EXPECT_EQ(w->statusText(3), sizeText(290, 235));
    EXPECT_EQ(w->pGrip[1]->pos(), QPoint(1160, 940));
    EXPECT_EQ(w->hBar->maximum(), 1160 - ws.width() + 18);
    // The 18-pixel rule on the zoomed size: a canvas 18 screen pixels narrower than the
    // workspace needs no bar, one wider does.
    zoomTo(k200);
    const int fitting = (ws.width() - 18) / 2;
    QTest::mousePress(w->pGrip[0], Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(w->pGrip[0], QPoint(3 + 2 * fitting - 580, 3));
    QTest::mouseRelease(w->pGrip[0], Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(canvas().width(), fitting);
    EXPECT_FALSE(w->hBar->isEnabled());
    QTest::mousePress(w->pGrip[0], Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(w->pGrip[0], QPoint(5, 3));
    QTest::mouseRelease(w->pGrip[0], Qt::LeftButton, {}, QPoint(5, 3));
    ASSERT_EQ(canvas().width(), fitting + 1);
    EXPECT_TRUE(w->hBar->isEnabled());
    // Scrolling moves the canvas by screen pixels.
    zoomTo(k1600);
    EXPECT_EQ(w->hBar->maximum(), 16 * (fitting + 1) - ws.width() + 18);
    w->hBar->setValue(1000);
    EXPECT_EQ(w->SrcDc->x(), -1000);
}

TEST_F(Zoom, GridShowsFrom400PercentWhenTurnedOn) {
    activate();
    EXPECT_FALSE(w->mnuGrid->isEnabled());
    zoomTo(k400);
    ASSERT_TRUE(w->mnuGrid->isEnabled());
    const QImage plain = shown();
    QTest::keyClick(w.get(), Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_TRUE(w->mnuGrid->isChecked());
    EXPECT_TRUE(w->SrcDc->gridShown());
    const QImage grid = shown();
    EXPECT_NE(grid.pixel(40, 41), plain.pixel(40, 41));  // each pixel's first column
    EXPECT_NE(grid.pixel(41, 40), plain.pixel(41, 40));  // and first row
    EXPECT_EQ(grid.pixel(41, 41), plain.pixel(41, 41));
    // Below 400 % the grid goes, and the item cannot be used; it comes back with the zoom.
    zoomTo(k300);
    EXPECT_FALSE(w->mnuGrid->isEnabled());
    EXPECT_FALSE(w->SrcDc->gridShown());
    EXPECT_EQ(shown().pixel(30, 31), shown().pixel(31, 31));
    zoomTo(k1600);
    EXPECT_TRUE(w->SrcDc->gridShown());
    w->mnuGrid->trigger();
    EXPECT_FALSE(w->SrcDc->gridShown());
    // The picture never takes the grid.
    EXPECT_EQ(canvas().Image(), canvas().screen());
}

}  // namespace
