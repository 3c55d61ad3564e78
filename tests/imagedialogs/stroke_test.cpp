// The frame dialog and the "相框(&F)" command.
#include <algorithm>

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Support.h"
#include "globals/Globals.h"
#include "imageops/dialogs/ImageCommands.h"
#include "imageops/dialogs/frmStroke.h"

using namespace nt::test;

namespace {

constexpr int kAccepted = nt::GlobalSettings::kAccepted;
constexpr int kIdle = nt::GlobalSettings::kIdle;
constexpr nt::Colour kRed = 0x0000FF;
constexpr nt::Colour kWhite = 0xFFFFFF;

// How far pixel (x, y) lies from the nearest edge: 1 for the outermost ring.
int ringOf(int x, int y, int w, int h) {
    return std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y)) + 1;
}

// Runs the command with the width typed and the colour chosen.
void runFrame(nt::Surface& canvas, const QString& width, nt::Colour colour) {
    auto answer = nt::test::answer<frmStroke>([&](frmStroke* d) {
        d->chooseColour = [colour](QWidget*, nt::Colour) { return colour; };
        d->txtWidth->setText(width);
        d->pColor_Click();
        QTest::mouseClick(d->cmdok, Qt::LeftButton);
    });
    nt::runStrokeCommand(nullptr, canvas);
    EXPECT_TRUE(answer.seen());
}

}  // namespace

TEST(StrokeDialog, StartsFromWidthOneAndBlack) {
    frmStroke dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmStroke"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("图像边框"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("边框宽度:"));
    EXPECT_EQ(dialog.lblColor->text(), QStringLiteral("边框颜色:"));
    EXPECT_EQ(dialog.txtWidth->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.pColor->surface().BackColor(), 0u);
    EXPECT_EQ(colourAt(dialog.pColor->surface(), 2, 2), 0u);
    EXPECT_EQ(dialog.cmdok->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog.cmdok->isDefault());
}

TEST(StrokeDialog, WidthBoxBecomesOneWhenLeftReadingZero) {
    frmStroke dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const struct {
        const char* typed;
        const char* after;
    } rows[] = {{"0", "1"}, {"abc", "1"}, {"", "1"}, {"-3", "-3"}, {"7", "7"}, {"0.4", "0.4"}};
    for (const auto& r : rows) {
        dialog.txtWidth->setFocus();
        ASSERT_TRUE(dialog.txtWidth->hasFocus());
        dialog.txtWidth->setText(QString::fromUtf8(r.typed));
        dialog.cmdCancel->setFocus();  // the box loses the focus
        EXPECT_EQ(dialog.txtWidth->text(), QString::fromUtf8(r.after)) << r.typed;
    }
}

TEST(StrokeDialog, SwatchTakesTheChosenColourAndKeepsItOnCancel) {
    frmStroke dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    nt::Colour offered = 0x123456;
    std::optional<nt::Colour> answer = 0x00FF00;
    int asked = 0;
    dialog.chooseColour = [&](QWidget* owner, nt::Colour start) {
        EXPECT_EQ(owner, &dialog);
        offered = start;
        ++asked;
        return answer;
    };
    QTest::mouseClick(dialog.pColor, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(offered, 0u) << "the dialog starts from the swatch's colour";
    EXPECT_EQ(dialog.pColor->surface().BackColor(), 0x00FF00u);
    EXPECT_EQ(shownAt(dialog.pColor->surface(), 1, 1), 0x00FF00u);
    answer.reset();  // cancelled: silently nothing
    QTest::mouseClick(dialog.pColor, Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dialog.pColor->surface().BackColor(), 0x00FF00u);
    QTest::mouseClick(dialog.pColor, Qt::RightButton);
    EXPECT_EQ(asked, 2) << "only the left button clicks";
}

TEST(StrokeDialog, OkStoresWidthAndColour) {
    nt::globals().DialogResult = kIdle;
    frmStroke dialog;
    dialog.show();
    dialog.chooseColour = [](QWidget*, nt::Colour) { return nt::Colour{0xABCDEF}; };
    dialog.pColor_Click();
    dialog.txtWidth->setText(QStringLiteral("2.5"));
    QTest::mouseClick(dialog.cmdok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(nt::globals().DialogResult, kAccepted);
    EXPECT_EQ(nt::globals().FrameWidth, 2);
    EXPECT_EQ(nt::globals().FrameColor, 0xABCDEFu);
}

TEST(StrokeDialog, AWidthTooLargeToMatterIsRefusedAndTheDialogStays) {
    nt::globals().DialogResult = kIdle;
    nt::globals().FrameWidth = 5;
    frmStroke dialog;
    dialog.show();
    dialog.txtWidth->setText(QStringLiteral("1e12"));
    ErrorSeen seen;
    auto error = nt::test::answer<errbox>(readAndClose(seen));
    QTest::mouseClick(dialog.cmdok, Qt::LeftButton);
    EXPECT_TRUE(error.seen());
    EXPECT_FALSE(seen.reason.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
    EXPECT_EQ(nt::globals().FrameWidth, 5);
}

TEST(StrokeDialog, CancelAndEscapeSetTheIdleResult) {
    for (bool escape : {false, true}) {
        nt::globals().DialogResult = kAccepted;
        nt::globals().FrameWidth = 9;
        frmStroke dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.txtWidth->setText(QStringLiteral("4"));
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(nt::globals().DialogResult, kIdle);
        EXPECT_EQ(nt::globals().FrameWidth, 9);
    }
}

TEST(StrokeCommand, PaintsTheOutermostRingsInTheChosenColour) {
    for (int n : {1, 3}) {
        nt::Surface canvas(100, 80, kWhite);
        runFrame(canvas, QString::number(n), kRed);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) {
                const nt::Colour want = ringOf(x, y, 100, 80) <= n ? kRed : kWhite;
                ASSERT_EQ(colourAt(canvas, x, y), want) << "n " << n << " at " << x << "," << y;
            }
        EXPECT_EQ(shownAt(canvas, 99, 79), kRed);
        EXPECT_EQ(nt::globals().DialogResult, kIdle);
    }
}

TEST(StrokeCommand, NegativeOrZeroWidthDrawsNothingVisible) {
    for (const char* width : {"-2", "0.2"}) {
        nt::Surface canvas(30, 20, kWhite);
        const QImage before = canvas.Image().copy();
        runFrame(canvas, QString::fromUtf8(width), kRed);
        EXPECT_EQ(canvas.Image(), before) << width;
    }
}

TEST(StrokeCommand, FollowsTheCanvasLineWidth) {
    nt::Surface canvas(40, 30, kWhite);
    canvas.DrawWidth = 3;
    runFrame(canvas, QStringLiteral("1"), kRed);
    // Ring 0 now reaches into the picture, so a width-1 frame is wider than one pixel.
    EXPECT_EQ(colourAt(canvas, 1, 15), kRed);
    EXPECT_EQ(colourAt(canvas, 20, 1), kRed);
    EXPECT_EQ(colourAt(canvas, 20, 15), kWhite);
}

TEST(StrokeCommand, CancelLeavesTheCanvas) {
    nt::Surface canvas(30, 20, kWhite);
    const QImage before = canvas.Image().copy();
    auto answer = nt::test::answer<frmStroke>([](frmStroke* d) {
        d->txtWidth->setText(QStringLiteral("5"));
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    nt::runStrokeCommand(nullptr, canvas);
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(canvas.Image(), before);
    EXPECT_EQ(nt::globals().DialogResult, kIdle);
}
