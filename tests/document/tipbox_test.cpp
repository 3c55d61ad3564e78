#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include "document/tipbox.h"

namespace {

const QString kClone = QStringLiteral("请按Alt+鼠标左键,定义新克隆的范围");
const QString kText =
    QStringLiteral("请先在上方主面板选择文字样式,然后单击需要放置文字的区域开始设置");

// A pointer movement with no button held, as the window system delivers it.
void hover(QWidget* w, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

class TipboxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner.resize(300, 200);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }
    QWidget owner;
};

}  // namespace

TEST(TipboxPlace, TwoHundredAndThreeHundredTwipsFromTheScreenCorner) {
    EXPECT_EQ(tipbox::placeFor(QPoint(0, 0), 96, 96), QPoint(13, 20));
    EXPECT_EQ(tipbox::placeFor(QPoint(0, 0), 144, 144), QPoint(20, 30));
    EXPECT_EQ(tipbox::placeFor(QPoint(1920, 0), 96, 96), QPoint(1933, 20));
}

TEST_F(TipboxTest, ShowsTheHintAndHidesWhenThePointerTouchesIt) {
    tipbox::ShowHint(&owner, kClone);
    tipbox* tip = tipbox::Instance(&owner);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tip));
    EXPECT_EQ(tip->Label7->text(), kClone);
    EXPECT_TRUE(tip->isVisible());
    // The offscreen platform activates every window it shows; a real one keeps the owner
    // active, so that the canvas keeps the keyboard.
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        EXPECT_NE(QApplication::activeWindow(), tip);
    }
    EXPECT_TRUE(tip->windowFlags() & Qt::FramelessWindowHint);

    hover(tip->Label7, QPoint(3, 3));
    EXPECT_FALSE(tip->isVisible());

    // Picking the tool again shows it again; the same instance keeps the last hint.
    tipbox::ShowHint(&owner, kText);
    EXPECT_EQ(tipbox::Instance(&owner), tip);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Label7->text(), kText);
    hover(tip->Image1, QPoint(2, 2));
    EXPECT_FALSE(tip->isVisible());

    tipbox::ShowHint(&owner, kClone);
    hover(tip, QPoint(1, 1));
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(tip->Label7->text(), kClone);
}

TEST_F(TipboxTest, CanvasMovesPlaceItOnlyWhileVisibleAndReleasesHideIt) {
    tipbox::ShowHint(&owner, kClone);
    tipbox* tip = tipbox::Instance(&owner);
    QScreen* screen = owner.screen();
    const QPoint spot = tipbox::placeFor(
        screen->geometry().topLeft(), screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
    tip->move(spot + QPoint(150, 90));
    tipbox::CanvasMouseMove();
    EXPECT_EQ(tip->pos(), spot);

    tipbox::CanvasMouseUp();
    EXPECT_FALSE(tip->isVisible());
    tip->move(spot + QPoint(150, 90));
    tipbox::CanvasMouseMove();  // hidden: stays where it is
    EXPECT_EQ(tip->pos(), spot + QPoint(150, 90));
    EXPECT_FALSE(tip->isVisible());
}
