// Workspace arithmetic: scroll-bar rule, handle places and handle drags.
#include <gtest/gtest.h>

#include "document/Workspace.h"

using namespace nt;

TEST(WorkspaceLayout, FollowsTheClientAreaAndSkipsAMinimisedWindow) {
    const auto l = layoutWorkspace(QSize(1000, 700), 20);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->workspace, QSize(904, 637));
    EXPECT_EQ(l->toolBoxHeight, 639);
    EXPECT_EQ(l->verticalBar, QRect(886, 0, 18, 619));
    EXPECT_EQ(l->horizontalBar, QRect(0, 619, 886, 18));
    EXPECT_EQ(l->cornerButton, QRect(886, 619, 18, 18));
    EXPECT_FALSE(layoutWorkspace(QSize(0, 0), 20));
    EXPECT_FALSE(layoutWorkspace(QSize(100, 60), 20));
}

TEST(ScrollRanges, TheEighteenPixelRule) {
    const QSize ws(500, 400);
    const struct {
        QSize canvas;
        int h, v;
        bool hOn, vOn;
    } rows[] = {
        {{400, 300}, -82, -82, false, false},
        {{482, 300}, 0, -82, false, false},  // exactly 18 narrower: disabled
        {{483, 300}, 1, -82, true, false},   // 17 narrower: shown
        {{800, 383}, 318, 1, true, true},
        {{30000, 30000}, 29518, 29618, true, true},
    };
    for (const auto& r : rows) {
        const ScrollRanges s = scrollRanges(r.canvas, ws);
        EXPECT_EQ(s.horizontalMax, r.h);
        EXPECT_EQ(s.verticalMax, r.v);
        EXPECT_EQ(s.horizontalEnabled(), r.hOn);
        EXPECT_EQ(s.verticalEnabled(), r.vOn);
    }
    EXPECT_EQ(scrollRanges(QSize(100000, 1), QSize(10, 10)).horizontalMax,
              32767);  // kept in 16 bits
}

TEST(Grips, PlacedFromTheCanvasSizeAlone) {
    GripPositions start = initialGrips();
    start[3] = QPoint(9, 0);
    start[6] = QPoint(0, 9);
    start[5] = QPoint(0, 0);
    const GripPositions g = layoutGrips(QSize(800, 500), start);
    EXPECT_EQ(g[0], QPoint(800, 247));
    EXPECT_EQ(g[1], QPoint(800, 500));
    EXPECT_EQ(g[2], QPoint(397, 500));
    EXPECT_EQ(g[3], QPoint(397, 0));
    EXPECT_EQ(g[kTouchGrip], QPoint(800, 0));
    EXPECT_EQ(g[6], QPoint(0, 500));
    EXPECT_EQ(g[8], QPoint(0, 247));
    const GripPositions tiny = layoutGrips(QSize(1, 1), g);
    EXPECT_EQ(tiny[0], QPoint(1, -2));  // (1 - 6) \ 2 truncates toward zero
    EXPECT_EQ(tiny[2], QPoint(-2, 1));
}

TEST(Grips, DragChangesOnlyTheSidesItsHandleOwns) {
    const QSize canvas(800, 500);
    EXPECT_EQ(dragGrip(0, QPoint(800, 247), 50.9, 30, canvas), QSize(850, 500));
    EXPECT_EQ(dragGrip(0, QPoint(800, 247), -50.9, 0, canvas), QSize(750, 500));
    EXPECT_EQ(dragGrip(0, QPoint(800, 247), -5000, 0, canvas), QSize(1, 500));
    EXPECT_EQ(dragGrip(1, QPoint(800, 500), 10, -20, canvas), QSize(810, 480));
    EXPECT_EQ(dragGrip(1, QPoint(800, 500), -900, -900, canvas), QSize(1, 1));
    EXPECT_EQ(dragGrip(2, QPoint(397, 500), 77, 12, canvas), QSize(800, 512));
    for (int other : {3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_EQ(dragGrip(other, QPoint(0, 0), 40, 40, canvas), canvas);
    EXPECT_EQ(dragGrip(0, QPoint(800, 247), std::nan(""), 0, canvas), canvas);
}
