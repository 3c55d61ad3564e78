// The stretch dialog and the "拉伸(&S)" command.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Support.h"
#include "globals/Globals.h"
#include "imageops/dialogs/ImageCommands.h"
#include "imageops/dialogs/frmScale.h"

using namespace nt::test;

namespace {

constexpr int kAccepted = nt::GlobalSettings::kAccepted;
constexpr int kIdle = nt::GlobalSettings::kIdle;

// A 40 x 20 canvas: left half red, right half blue.
std::unique_ptr<nt::Surface> halves() {
    auto canvas = std::make_unique<nt::Surface>(40, 20, 0x0000FF);
    paintRect(*canvas, 20, 0, 39, 19, 0xFF0000);
    return canvas;
}

}  // namespace

TEST(ScaleDialog, StartsFromTheProposedSize) {
    nt::globals().NewCanvasWidth = 640;
    nt::globals().NewCanvasHeight = 480;
    frmScale dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmScale"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("图像拉伸"));
    EXPECT_EQ(dialog.lblWidth->text(), QStringLiteral("宽度:"));
    EXPECT_EQ(dialog.lblheight->text(), QStringLiteral("高度:"));
    EXPECT_EQ(dialog.txtWidth->text(), QStringLiteral("640"));
    EXPECT_EQ(dialog.txtHeight->text(), QStringLiteral("480"));
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("txtHeight")), dialog.txtHeight);
}

TEST(ScaleDialog, OkStoresTheSizeAndAccepts) {
    nt::globals().DialogResult = kIdle;
    frmScale dialog;
    dialog.show();
    dialog.txtWidth->setText(QStringLiteral("12.5"));
    dialog.txtHeight->setText(QStringLiteral("300px"));
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_EQ(nt::globals().DialogResult, kAccepted);
    EXPECT_EQ(nt::globals().NewCanvasWidth, 12);
    EXPECT_EQ(nt::globals().NewCanvasHeight, 300);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScaleDialog, EnterPressesOk) {
    nt::globals().DialogResult = kIdle;
    nt::globals().NewCanvasWidth = 30;
    nt::globals().NewCanvasHeight = 20;
    frmScale dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.txtWidth->setFocus();
    dialog.txtWidth->setText(QStringLiteral("13.5"));
    QTest::keyClick(dialog.txtWidth, Qt::Key_Return);
    EXPECT_EQ(nt::globals().DialogResult, kAccepted);
    EXPECT_EQ(nt::globals().NewCanvasWidth, 14);
    EXPECT_EQ(nt::globals().NewCanvasHeight, 20);
}

TEST(ScaleDialog, RefusedSizesShowNe12AndKeepTheDialogOpen) {
    const char* rows[][2] = {{"0", "10"}, {"10", "-5"}, {"abc", "10"}, {"40000", "10"}};
    for (const auto& r : rows) {
        nt::globals().DialogResult = kIdle;
        frmScale dialog;
        dialog.show();
        dialog.txtWidth->setText(QString::fromUtf8(r[0]));
        dialog.txtHeight->setText(QString::fromUtf8(r[1]));
        ErrorSeen seen;
        auto answer = nt::test::answer<errbox>(readAndClose(seen));
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        EXPECT_TRUE(answer.seen()) << r[0] << " x " << r[1];
        EXPECT_EQ(seen.code, QStringLiteral("错误代码:Ne12"));
        EXPECT_FALSE(seen.reason.isEmpty());
        EXPECT_EQ(nt::globals().DialogResult, kIdle);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.txtWidth->text(), QString::fromUtf8(r[0]))
            << "the text stays for correction";
    }
    // The values are stored at once, even when refused.
    EXPECT_EQ(nt::globals().NewCanvasWidth, 40000);
    EXPECT_EQ(nt::globals().NewCanvasHeight, 10);
}

TEST(ScaleDialog, CancelSetsTheIdleResult) {
    nt::globals().DialogResult = kAccepted;
    nt::globals().NewCanvasWidth = 77;
    frmScale dialog;
    dialog.show();
    dialog.txtWidth->setText(QStringLiteral("999"));
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    EXPECT_EQ(nt::globals().NewCanvasWidth, 77);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScaleCommand, StretchesTheCanvasToTheTypedSize) {
    auto canvas = halves();
    QString proposedWidth, proposedHeight;
    auto answer = nt::test::answer<frmScale>([&](frmScale* d) {
        proposedWidth = d->txtWidth->text();
        proposedHeight = d->txtHeight->text();
        d->txtWidth->setText(QStringLiteral("20"));
        d->txtHeight->setText(QStringLiteral("5"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(nt::runScaleCommand(nullptr, *canvas));
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(proposedWidth, QStringLiteral("40"));
    EXPECT_EQ(proposedHeight, QStringLiteral("20"));
    ASSERT_EQ(canvas->width(), 20);
    ASSERT_EQ(canvas->height(), 5);
    EXPECT_EQ(colourAt(*canvas, 0, 0), 0x0000FFu);
    EXPECT_EQ(colourAt(*canvas, 9, 4), 0x0000FFu);
    EXPECT_EQ(colourAt(*canvas, 10, 0), 0xFF0000u);
    EXPECT_EQ(shownAt(*canvas, 19, 4), 0xFF0000u);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
}

TEST(ScaleCommand, ARefusedSizeCanBeCorrectedBeforeOk) {
    auto canvas = halves();
    ErrorSeen seen;
    auto error = nt::test::answer<errbox>(readAndClose(seen));
    auto answer = nt::test::answer<frmScale>([&](frmScale* d) {
        d->txtWidth->setText(QStringLiteral("0"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);  // refused: the error window comes and goes
        d->txtWidth->setText(QStringLiteral("80"));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(nt::runScaleCommand(nullptr, *canvas));
    EXPECT_TRUE(error.seen());
    EXPECT_EQ(seen.code, QStringLiteral("错误代码:Ne12"));
    EXPECT_EQ(canvas->width(), 80);
    EXPECT_EQ(canvas->height(), 20);
}

TEST(ScaleCommand, CancelOrCloseBoxLeavesTheCanvas) {
    for (bool closeBox : {false, true}) {
        auto canvas = halves();
        const QImage before = canvas->Image().copy();
        auto answer = nt::test::answer<frmScale>([&](frmScale* d) {
            d->txtWidth->setText(QStringLiteral("5"));
            if (closeBox)
                d->close();
            else
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        });
        EXPECT_FALSE(nt::runScaleCommand(nullptr, *canvas));
        EXPECT_TRUE(answer.seen());
        EXPECT_EQ(canvas->Image(), before);
        EXPECT_EQ(nt::globals().DialogResult, kIdle);
    }
}

TEST(ScaleCommand, StretchToTheSameSizeKeepsThePicture) {
    auto canvas = halves();
    paintRect(*canvas, 3, 4, 3, 4, 0x123456);
    const QImage before = canvas->Image().copy();
    EXPECT_TRUE(nt::applyStretchCommand(nullptr, *canvas, 40, 20));
    EXPECT_EQ(canvas->Image(), before);
}

TEST(ScaleCommand, ASizeBeyondTheLimitIsReportedAndChangesNothing) {
    auto canvas = halves();
    const QImage before = canvas->Image().copy();
    ErrorSeen seen;
    auto error = nt::test::answer<errbox>(readAndClose(seen));
    EXPECT_FALSE(nt::applyStretchCommand(nullptr, *canvas, 30001, 30001));
    EXPECT_TRUE(error.seen());
    EXPECT_EQ(seen.code, QStringLiteral("错误代码:Ne12"));
    EXPECT_EQ(canvas->Image(), before);
}
