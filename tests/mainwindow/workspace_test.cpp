// The workspace on the real window: layout, the 18-pixel scroll rule, scrolling, the grips
// and their drags, the minimised window and the corner button.
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "StartedWindow.h"
#include "imageops/dialogs/frmScale.h"
#include "surface/Limits.h"
#include "surface/SystemColours.h"

namespace {

class Workspace : public StartedWindow {
  protected:
    QSize workspace() const { return w->pHolder->size(); }
    QSize canvasSize() { return {canvas().width(), canvas().height()}; }
    nt::PictureBox* grip(int i) const { return w->pGrip[static_cast<size_t>(i)]; }

    // A real resize of the window that lands on the same size: the layout runs again.
    void relayout() {
        const QSize s = w->size();
        w->resize(s.width() + 1, s.height());
        w->resize(s);
    }
    // The canvas takes this size the way a user gives it one: by dragging the corner grip.
    void setCanvas(int width, int height) {
        dragGrip(1, {{width - canvas().width(), height - canvas().height()}});
        ASSERT_EQ(canvasSize(), QSize(width, height));
    }
    // Press inside grip i at (3, 3), then move by each step in turn (offsets from the grip's
    // place at that moment, the way a pointer moving on would arrive), then release.
    void dragGrip(int i, const std::vector<QPoint>& steps, std::vector<QString>* texts = nullptr) {
        const QPoint inside(3, 3);
        QTest::mousePress(grip(i), Qt::LeftButton, {}, inside);
        for (QPoint step : steps) {
            QTest::mouseMove(grip(i), inside + step);
            if (texts) texts->push_back(w->statusText(3));
        }
        QTest::mouseRelease(grip(i), Qt::LeftButton, {}, inside + steps.back());
    }
    void hover(QWidget* target, QPoint p) {
        QMouseEvent e(QEvent::MouseMove, p, target->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    // The shown state the bar would have with its parent on screen.
    static bool shown(const QScrollBar* bar) { return !bar->isHidden(); }
};

TEST_F(Workspace, BarsAndCornerButtonFollowTheWindowSize) {
    w->resize(900, 600);
    const QSize ws = workspace();
    EXPECT_EQ(w->pHolder->pos(), QPoint(96, 43));
    EXPECT_EQ(ws, w->centralWidget()->size() - QSize(96, 43));
    EXPECT_EQ(w->pTools->height(), ws.height() + 2);
    EXPECT_EQ(w->vBar->geometry(), QRect(ws.width() - 18, 0, 18, ws.height() - 18));
    EXPECT_EQ(w->hBar->geometry(), QRect(0, ws.height() - 18, ws.width() - 18, 18));
    EXPECT_EQ(w->pSpacer->geometry(), QRect(ws.width() - 18, ws.height() - 18, 18, 18));
    EXPECT_EQ(w->pSpacer->text(), QStringLiteral("S"));
    EXPECT_EQ(w->pSpacer->toolTip(), QStringLiteral("拉伸"));
    for (QScrollBar* bar : {w->vBar, w->hBar}) {
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 10);
    }
    EXPECT_EQ(w->vBar->orientation(), Qt::Vertical);
    EXPECT_EQ(w->hBar->orientation(), Qt::Horizontal);
    w->resize(1100, 700);
    EXPECT_EQ(w->vBar->x(), workspace().width() - 18);
    EXPECT_EQ(w->hBar->y(), workspace().height() - 18);
}

TEST_F(Workspace, BarsAppearExactlyWhenTheCanvasDoesNotFit) {
    const QSize ws = workspace();
    // 18 pixels narrower and lower than the workspace: maxima 0, both bars off and hidden.
    setCanvas(ws.width() - 18, ws.height() - 18);
    EXPECT_EQ(w->hBar->maximum(), 0);
    EXPECT_EQ(w->vBar->maximum(), 0);
    EXPECT_FALSE(w->hBar->isEnabled());
    EXPECT_FALSE(w->vBar->isEnabled());
    EXPECT_FALSE(shown(w->hBar));
    EXPECT_FALSE(shown(w->vBar));
    relayout();  // the window's own layout agrees
    EXPECT_FALSE(shown(w->hBar));
    EXPECT_FALSE(shown(w->vBar));
    // 17 narrower: maximum 1 and the bar shows; the height still fits.
    setCanvas(ws.width() - 17, ws.height() - 18);
    EXPECT_EQ(w->hBar->maximum(), 1);
    EXPECT_TRUE(w->hBar->isEnabled());
    EXPECT_TRUE(shown(w->hBar));
    EXPECT_FALSE(shown(w->vBar));
    relayout();
    EXPECT_EQ(w->hBar->maximum(), 1);
    EXPECT_TRUE(shown(w->hBar));
    setCanvas(ws.width() + 100, ws.height() + 50);
    EXPECT_EQ(w->hBar->maximum(), 118);
    EXPECT_EQ(w->vBar->maximum(), 68);
    EXPECT_TRUE(shown(w->hBar));
    EXPECT_TRUE(shown(w->vBar));
    // A smaller canvas needs no bars again.
    setCanvas(100, 100);
    EXPECT_FALSE(shown(w->hBar));
    EXPECT_FALSE(shown(w->vBar));
}

TEST_F(Workspace, ScrollingMovesTheCanvasButNotTheGrips) {
    setCanvas(2000, 1500);
    const QPoint right = grip(0)->pos();
    EXPECT_EQ(w->SrcDc->pos(), QPoint(3, 3));
    w->hBar->setValue(40);
    EXPECT_EQ(w->SrcDc->pos(), QPoint(-40, 3));
    w->vBar->setValue(25);
    EXPECT_EQ(w->SrcDc->pos(), QPoint(-40, -25));
    EXPECT_EQ(grip(0)->pos(), right);
    // An arrow moves 1 pixel, a click in the trough 10.
    w->hBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(w->SrcDc->x(), -41);
    w->vBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(w->SrcDc->y(), -35);
    // The canvas follows the thumb while it is still held.
    w->hBar->setSliderDown(true);
    w->hBar->setSliderPosition(300);
    EXPECT_EQ(w->SrcDc->x(), -300);
    w->hBar->setSliderDown(false);
}

TEST_F(Workspace, AShrinkingRangePullsTheValueAndTheCanvasBack) {
    const QSize ws = workspace();
    setCanvas(ws.width() + 200, ws.height() + 200);
    w->hBar->setValue(w->hBar->maximum());
    w->vBar->setValue(w->vBar->maximum());
    EXPECT_EQ(w->SrcDc->x(), -218);
    // 150 pixels more room: the maximum falls to 68 and the canvas comes back with it.
    w->resize(w->width() + 150, w->height() + 150);
    ASSERT_EQ(workspace(), ws + QSize(150, 150));
    EXPECT_EQ(w->hBar->value(), 68);
    EXPECT_EQ(w->SrcDc->pos(), QPoint(-68, -68));
    // Room for everything: value 0, canvas at the workspace's edge.
    setCanvas(50, 50);
    EXPECT_EQ(w->hBar->value(), 0);
    EXPECT_EQ(w->SrcDc->pos(), QPoint(0, 0));
}

TEST_F(Workspace, GripsSitAroundTheCanvas) {
    ASSERT_EQ(canvasSize(), QSize(280, 232));
    const QPoint expected[] = {{280, 113}, {280, 232}, {137, 232}, {137, 0}, {0, 0},
                               {0, 0},     {0, 232},   {0, 0},     {0, 113}, {0, 0}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(grip(i)->pos(), expected[i]) << "pGrip " << i;
        EXPECT_EQ(grip(i)->size(), QSize(6, 6));
        EXPECT_EQ(grip(i)->objectName(), QStringLiteral("pGrip(%1)").arg(i));
    }
    EXPECT_EQ(w->itouch->pos(), QPoint(280, 0));
    EXPECT_EQ(w->itouch->size(), QSize(6, 6));
    EXPECT_EQ(grip(0)->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(grip(1)->cursor().shape(), Qt::SizeFDiagCursor);
    EXPECT_EQ(grip(2)->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(grip(3)->cursor().shape(), Qt::ArrowCursor);
    // The whole box takes the pointer, also where it overlaps the canvas edge.
    EXPECT_EQ(w->pHolder->childAt(QPoint(281, 116)), grip(0));
    EXPECT_EQ(w->pHolder->childAt(QPoint(285, 118)), grip(0));
    // Grips 1 and 2 show grip 0's picture.
    EXPECT_EQ(grip(1)->surface().Image(), grip(0)->surface().Image());
    EXPECT_EQ(grip(2)->surface().Image(), grip(0)->surface().Image());
}

TEST_F(Workspace, RightGripResizesLiveAndKeepsThePicture) {
    canvas().Line(0, 0, 279, 231, 0x0000FF);  // a red diagonal
    const QImage before = canvas().Image().copy();
    const nt::Colour back = nt::plainColour(canvas().BackColor());
    std::vector<QString> texts;
    dragGrip(0, {{20, 0}, {50, 7}, {50, -3}}, &texts);
    EXPECT_EQ(texts,
              (std::vector<QString>{sizeText(300, 232), sizeText(350, 232), sizeText(400, 232)}));
    EXPECT_EQ(canvasSize(), QSize(400, 232));
    EXPECT_EQ(w->SrcDc->size(), QSize(400, 232));
    EXPECT_EQ(grip(0)->pos(), QPoint(400, 113));
    EXPECT_EQ(grip(1)->pos(), QPoint(400, 232));
    EXPECT_EQ(grip(2)->pos(), QPoint(197, 232));
    EXPECT_EQ(w->itouch->pos(), QPoint(400, 0));
    EXPECT_EQ(canvas().Image().copy(0, 0, 280, 232), before);
    EXPECT_EQ(nt::fromPixel(canvas().Image().pixel(350, 100)), back);
    // Shrinking cuts off; growing again shows the background, not the old picture.
    dragGrip(0, {{-200, 0}});
    EXPECT_EQ(canvasSize(), QSize(200, 232));
    dragGrip(0, {{60, 0}});
    EXPECT_EQ(canvasSize(), QSize(260, 232));
    EXPECT_EQ(nt::fromPixel(canvas().Image().pixel(230, 230)), back);
    EXPECT_EQ(canvas().Image().copy(0, 0, 200, 232), before.copy(0, 0, 200, 232));
}

TEST_F(Workspace, DragsStopAtOnePixel) {
    dragGrip(0, {{-1000, 0}});
    EXPECT_EQ(canvasSize(), QSize(1, 232));
    EXPECT_EQ(w->statusText(3), sizeText(1, 232));
    EXPECT_EQ(grip(0)->pos(), QPoint(1, 113));
    dragGrip(2, {{0, -5000}});
    EXPECT_EQ(canvasSize(), QSize(1, 1));
    EXPECT_EQ(grip(0)->pos(), QPoint(1, -2));  // (1 - 6) \ 2 truncates toward zero
    dragGrip(1, {{-10, -10}});
    EXPECT_EQ(canvasSize(), QSize(1, 1));
    dragGrip(1, {{9, 4}});
    EXPECT_EQ(canvasSize(), QSize(10, 5));
}

TEST_F(Workspace, CornerChangesBothAndBottomOnlyTheHeight) {
    dragGrip(1, {{20, 10}});
    EXPECT_EQ(canvasSize(), QSize(300, 242));
    EXPECT_EQ(w->statusText(3), sizeText(300, 242));
    dragGrip(2, {{50, 20}});
    EXPECT_EQ(canvasSize(), QSize(300, 262));
    EXPECT_EQ(grip(2)->pos(), QPoint(147, 262));
    EXPECT_EQ(grip(8)->pos(), QPoint(0, 128));
    EXPECT_EQ(grip(6)->pos(), QPoint(0, 262));
    // The markers do not drag.
    for (QWidget* marker : {static_cast<QWidget*>(grip(3)), static_cast<QWidget*>(w->itouch)}) {
        QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(marker, QPoint(43, 33));
        QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(43, 33));
        EXPECT_EQ(canvasSize(), QSize(300, 262));
    }
    // Fractions of a pixel count whole, truncated toward zero.
    QTest::mousePress(grip(0), Qt::LeftButton, {}, QPoint(3, 3));
    QMouseEvent fine(QEvent::MouseMove, QPointF(3.9, 3), grip(0)->mapToGlobal(QPointF(3.9, 3)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grip(0), &fine);
    QTest::mouseRelease(grip(0), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(canvasSize(), QSize(300, 262));
}

TEST_F(Workspace, OnlyTheLeftButtonDrags) {
    QTest::mousePress(grip(0), Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseMove(grip(0), QPoint(53, 3));
    QTest::mouseRelease(grip(0), Qt::RightButton, {}, QPoint(53, 3));
    EXPECT_EQ(canvasSize(), QSize(280, 232));
}

TEST_F(Workspace, GripDragsShowTheBarsWhenTheCanvasOutgrowsTheWorkspace) {
    const QSize ws = workspace();
    setCanvas(ws.width() - 30, 100);
    EXPECT_FALSE(shown(w->hBar));
    dragGrip(0, {{12, 0}});  // 18 narrower: still fits
    EXPECT_FALSE(shown(w->hBar));
    dragGrip(0, {{1, 0}});  // 17 narrower
    EXPECT_TRUE(shown(w->hBar));
    EXPECT_EQ(w->hBar->maximum(), 1);
}

TEST_F(Workspace, HoverChangesNoSizeButRefreshesTheBars) {
    const QSize ws = workspace();
    setCanvas(ws.width() + 50, 100);
    w->hBar->hide();
    w->vBar->show();  // disabled, so it goes again
    hover(grip(0), QPoint(2, 2));
    EXPECT_TRUE(shown(w->hBar));
    EXPECT_FALSE(shown(w->vBar));
    EXPECT_EQ(canvasSize(), QSize(ws.width() + 50, 100));
}

TEST_F(Workspace, DragsStopAtTheProjectLimit) {
    setCanvas(static_cast<int>(nt::kMaxSide) - 10, 20);
    dragGrip(0, {{40, 0}});
    EXPECT_EQ(canvasSize(), QSize(static_cast<int>(nt::kMaxSide), 20));
    EXPECT_EQ(w->statusText(3), sizeText(static_cast<int>(nt::kMaxSide), 20));
    EXPECT_EQ(w->hBar->maximum(), static_cast<int>(nt::kMaxSide) - workspace().width() + 18);
}

TEST_F(Workspace, AMinimisedOrTinyWindowRaisesNothing) {
    setCanvas(1500, 1200);
    const QRect vBar = w->vBar->geometry();
    w->showMinimized();
    QTest::qWait(20);
    relayout();
    w->showNormal();
    QTest::qWait(20);
    // Too low or too narrow for the workspace: the bars keep their places.
    w->setMinimumSize(1, 1);
    w->resize(600, 90);
    ASSERT_LT(w->centralWidget()->height(), 43 + 18);
    EXPECT_EQ(w->vBar->geometry(), vBar);
    w->resize(110, 300);
    ASSERT_LT(w->centralWidget()->width(), 96 + 18);
    EXPECT_EQ(w->vBar->geometry(), vBar);
    w->resize(1000, 640);
    EXPECT_EQ(w->vBar->geometry(), vBar);
    EXPECT_EQ(w->hBar->y(), workspace().height() - 18);
    EXPECT_EQ(w->hBar->maximum(), 1500 - workspace().width() + 18);
    EXPECT_EQ(canvasSize(), QSize(1500, 1200));
}

TEST_F(Workspace, CornerButtonStretchesTheCanvas) {
    canvas().Line(0, 0, 140, 0, 0x0000FF);  // two red rows over the left half
    canvas().Line(0, 1, 140, 1, 0x0000FF);
    ModalSequence answers({[](QWidget* m) {
        auto* d = qobject_cast<frmScale*>(m);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->txtWidth->text(), QStringLiteral("280"));
        EXPECT_EQ(d->txtHeight->text(), QStringLiteral("232"));
        d->txtWidth->setText(QStringLiteral("1400"));
        d->txtHeight->setText(QStringLiteral("116"));
        d->cmdOK->click();
    }});
    QTest::mouseClick(w->pSpacer, Qt::LeftButton);
    ASSERT_TRUE(answers.finished());
    EXPECT_EQ(canvasSize(), QSize(1400, 116));
    EXPECT_EQ(w->statusText(3), sizeText(1400, 116));
    EXPECT_EQ(grip(0)->pos(), QPoint(1400, 55));
    EXPECT_EQ(w->hBar->maximum(), 1400 - workspace().width() + 18);
    EXPECT_TRUE(shown(w->hBar));
    // The red rows became one row five times as long.
    EXPECT_EQ(nt::fromPixel(canvas().Image().pixel(600, 0)), 0x0000FFu);
    EXPECT_NE(nt::fromPixel(canvas().Image().pixel(800, 0)), 0x0000FFu);
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);

    ModalSequence cancel({[](QWidget* m) { qobject_cast<frmScale*>(m)->cmdCancel->click(); }});
    QTest::mouseClick(w->pSpacer, Qt::LeftButton);
    ASSERT_TRUE(cancel.finished());
    EXPECT_EQ(canvasSize(), QSize(1400, 116));
}

}  // namespace
