// The colour and brightness dialogs, their previews and their commands.
#include <algorithm>

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "Support.h"
#include "document/Formloading.h"
#include "globals/Globals.h"
#include "imageops/dialogs/ImageCommands.h"
#include "imageops/dialogs/frmBright.h"
#include "imageops/dialogs/frmRgb.h"

using namespace nt::test;

namespace {

constexpr int kAccepted = nt::GlobalSettings::kAccepted;
constexpr int kIdle = nt::GlobalSettings::kIdle;

// A 160 x 160 canvas, left half `left`, right half `right`: shrunk to a square of an even
// side, each half stays one clean colour.
std::unique_ptr<nt::Surface> halves(nt::Colour left, nt::Colour right) {
    auto canvas = std::make_unique<nt::Surface>(160, 160, left);
    paintRect(*canvas, 80, 0, 159, 159, right);
    return canvas;
}

nt::Colour shifted(nt::Colour c, int dr, int dg, int db) {
    auto ch = [](int v) { return std::clamp(v, 0, 255); };
    return nt::rgb(ch(nt::redOf(c) + dr), ch(nt::greenOf(c) + dg), ch(nt::blueOf(c) + db));
}

}  // namespace

TEST(RgbDialog, StartsAtZeroWithTheShrunkenCanvas) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(10, 20, 30));
    frmRgb dialog(*canvas);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmRgb"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("红/蓝/绿 调整"));
    const char* captions[] = {"红色:", "绿色:", "蓝色:"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog.lblrgb[i]->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(dialog.sbRgb[i]->orientation(), Qt::Horizontal);
        EXPECT_EQ(dialog.sbRgb[i]->minimum(), -100);
        EXPECT_EQ(dialog.sbRgb[i]->maximum(), 100);
        EXPECT_EQ(dialog.sbRgb[i]->singleStep(), 1);
        EXPECT_EQ(dialog.sbRgb[i]->value(), 0);
        EXPECT_EQ(dialog.lblValue[i]->text(), QStringLiteral("0"));
        EXPECT_EQ(dialog.findChild<QScrollBar*>(QStringLiteral("sbRgb(%1)").arg(i)),
                  dialog.sbRgb[i]);
    }
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    const nt::Surface& view = dialog.pView->surface();
    ASSERT_EQ(view.width(), 336);
    ASSERT_EQ(view.height(), 80);
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(200, 100, 0));
    EXPECT_EQ(colourAt(view, 39, 79), nt::rgb(200, 100, 0));
    EXPECT_EQ(colourAt(view, 40, 0), nt::rgb(10, 20, 30));
    EXPECT_EQ(shownAt(view, 79, 79), nt::rgb(10, 20, 30));
    // Beyond the square the box shows its own background.
    EXPECT_EQ(colourAt(view, 80, 0), colourAt(view, 335, 79));
    EXPECT_NE(colourAt(view, 80, 0), nt::rgb(10, 20, 30));
}

TEST(RgbDialog, EveryChangeRedrawsTheSquareAndShiftsTheRestAgain) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(10, 10, 10));
    frmRgb dialog(*canvas);
    const nt::Surface& view = dialog.pView->surface();
    const nt::Colour back = colourAt(view, 200, 40);

    dialog.sbRgb[0]->setValue(30);
    EXPECT_EQ(dialog.lblValue[0]->text(), QStringLiteral("30"));
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(230, 100, 0));
    EXPECT_EQ(colourAt(view, 79, 0), nt::rgb(40, 10, 10));
    EXPECT_EQ(colourAt(view, 200, 40), shifted(back, 30, 0, 0));

    dialog.sbRgb[2]->setValue(-100);
    EXPECT_EQ(dialog.lblValue[2]->text(), QStringLiteral("-100"));
    EXPECT_EQ(dialog.lblValue[0]->text(), QStringLiteral("30"));
    // The square comes from the canvas again, with all three amounts.
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(230, 100, 0));
    EXPECT_EQ(colourAt(view, 79, 79), nt::rgb(40, 10, 0));
    EXPECT_EQ(shownAt(view, 79, 79), nt::rgb(40, 10, 0));
    // The rest took the first change and now the second on top.
    EXPECT_EQ(colourAt(view, 200, 40), shifted(shifted(back, 30, 0, 0), 30, 0, -100));
}

TEST(RgbDialog, OkStoresTheThreeAmounts) {
    auto canvas = halves(0, 0);
    nt::globals().DialogResult = kIdle;
    frmRgb dialog(*canvas);
    dialog.show();
    dialog.sbRgb[0]->setValue(100);
    dialog.sbRgb[1]->setValue(-7);
    dialog.sbRgb[2]->setValue(55);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(nt::globals().DialogResult, kAccepted);
    EXPECT_EQ(nt::globals().AdjustRed, 100);
    EXPECT_EQ(nt::globals().AdjustGreen, -7);
    EXPECT_EQ(nt::globals().AdjustBlue, 55);
}

TEST(RgbDialog, CancelKeepsTheStoredAmounts) {
    auto canvas = halves(0, 0);
    nt::globals().AdjustRed = 12;
    nt::globals().DialogResult = kAccepted;
    frmRgb dialog(*canvas);
    dialog.show();
    dialog.sbRgb[0]->setValue(90);
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    EXPECT_EQ(nt::globals().AdjustRed, 12);
}

TEST(AdjustCommand, AppliesTheAcceptedAmountsToTheCanvas) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(10, 10, 10));
    auto answer = nt::test::answer<frmRgb>([](frmRgb* d) {
        d->sbRgb[0]->setValue(100);
        d->sbRgb[2]->setValue(-100);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    nt::runAdjustCommand(nullptr, *canvas);
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(colourAt(*canvas, 0, 0), nt::rgb(255, 100, 0));
    EXPECT_EQ(colourAt(*canvas, 159, 159), nt::rgb(110, 10, 0));
    EXPECT_EQ(shownAt(*canvas, 159, 159), nt::rgb(110, 10, 0));
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
}

TEST(AdjustCommand, ZeroAmountsCancelAndCloseBoxLeaveTheCanvas) {
    enum Way { OkAtZero, Cancel, CloseBox };
    for (Way way : {OkAtZero, Cancel, CloseBox}) {
        auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(1, 2, 3));
        const QImage before = canvas->Image().copy();
        auto answer = nt::test::answer<frmRgb>([way](frmRgb* d) {
            if (way == OkAtZero) {
                QTest::mouseClick(d->cmdOK, Qt::LeftButton);
                return;
            }
            d->sbRgb[1]->setValue(50);
            if (way == Cancel)
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
            else
                d->close();
        });
        nt::runAdjustCommand(nullptr, *canvas);
        EXPECT_TRUE(answer.seen());
        EXPECT_EQ(canvas->Image(), before) << way;
        EXPECT_EQ(nt::globals().DialogResult, kIdle);
    }
}

TEST(BrightDialog, StartsAtZeroWithTheShrunkenCanvas) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(10, 20, 30));
    frmBright dialog(*canvas);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmBright"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("亮度"));
    EXPECT_EQ(dialog.lblBrightness->text(), QStringLiteral("亮度"));
    EXPECT_EQ(dialog.sBar->orientation(), Qt::Vertical);
    EXPECT_EQ(dialog.sBar->minimum(), -100);
    EXPECT_EQ(dialog.sBar->maximum(), 100);
    EXPECT_FALSE(dialog.sBar->invertedAppearance()) << "minimum at the top";
    EXPECT_EQ(dialog.sBar->value(), 0);
    EXPECT_EQ(dialog.lblValue->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("取消"));
    const nt::Surface& view = dialog.pView->surface();
    ASSERT_EQ(view.width(), 130);
    ASSERT_EQ(view.height(), 130);
    // 160 columns into 130: the halves meet exactly between columns 64 and 65.
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(200, 100, 0));
    EXPECT_EQ(colourAt(view, 64, 129), nt::rgb(200, 100, 0));
    EXPECT_EQ(colourAt(view, 65, 0), nt::rgb(10, 20, 30));
    EXPECT_EQ(shownAt(view, 129, 129), nt::rgb(10, 20, 30));
}

TEST(BrightDialog, DraggingDownBrightensThePreview) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(10, 20, 30));
    frmBright dialog(*canvas);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const nt::Surface& view = dialog.pView->surface();
    // A press on the lower arrow moves the thumb down one step.
    const QRect bar = dialog.sBar->rect();
    QTest::mouseClick(dialog.sBar, Qt::LeftButton, {}, QPoint(bar.center().x(), bar.bottom() - 3));
    EXPECT_GT(dialog.sBar->value(), 0);
    dialog.sBar->setValue(100);
    EXPECT_EQ(dialog.lblValue->text(), QStringLiteral("100"));
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(255, 200, 100));
    EXPECT_EQ(colourAt(view, 129, 0), nt::rgb(110, 120, 130));
    // Each change starts again from the canvas rather than from the last preview.
    dialog.sBar->setValue(-100);
    EXPECT_EQ(dialog.lblValue->text(), QStringLiteral("-100"));
    EXPECT_EQ(colourAt(view, 0, 0), nt::rgb(100, 0, 0));
    EXPECT_EQ(shownAt(view, 129, 129), nt::rgb(0, 0, 0));
}

TEST(BrightDialog, OkAnswersSixAndStoresTheValue) {
    auto canvas = halves(0, 0);
    nt::globals().DialogResult = kIdle;
    frmBright dialog(*canvas);
    dialog.show();
    dialog.sBar->setValue(-42);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kBrightnessAccepted);
    EXPECT_EQ(nt::globals().BrightValue, -42);
}

TEST(BrightCommand, BrightensTheCanvasBehindTheBusyWindow) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(200, 100, 0));
    auto answer = nt::test::answer<frmBright>([](frmBright* d) {
        d->sBar->setValue(100);
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    nt::runBrightCommand(nullptr, *canvas);
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(colourAt(*canvas, 0, 0), nt::rgb(255, 200, 100));
    EXPECT_EQ(shownAt(*canvas, 159, 159), nt::rgb(255, 200, 100));
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    Formloading* busy = Formloading::Instance(nullptr);
    EXPECT_TRUE(busy->isVisible());
    busy->close();
}

TEST(BrightCommand, CancelLeavesTheCanvasAndTheValue) {
    auto canvas = halves(nt::rgb(200, 100, 0), nt::rgb(3, 4, 5));
    const QImage before = canvas->Image().copy();
    nt::globals().BrightValue = 9;
    auto answer = nt::test::answer<frmBright>([](frmBright* d) {
        d->sBar->setValue(60);
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    nt::runBrightCommand(nullptr, *canvas);
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(canvas->Image(), before);
    EXPECT_EQ(nt::globals().BrightValue, 9);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    // No busy window without OK: a fresh instance is not shown.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<Formloading*>(w) && w->isVisible());
}
