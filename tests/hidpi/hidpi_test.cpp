// At scale 2 the canvas shows each picture pixel as a sharp 2 x 2 block, the pointer lands on
// the picture pixel under it and the tool pictures come at the screen's density.
#include <cstdlib>

#include <QIcon>

#include "mainwindow/WindowFixture.h"

namespace {

TEST_F(WindowTest, ScaleTwoKeepsPixelsSharpAndPointerOnTheRightPixel) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
    chooseTool(nt::kPencil);
    drag(Qt::LeftButton, {10, 12}, {10, 15});  // a stroke down column 10 from row 12
    EXPECT_EQ(picture(10, 12), 0x000000u);
    EXPECT_NE(picture(11, 12), 0x000000u);
    EXPECT_NE(picture(10, 11), 0x000000u);

    const QImage shown = w->SrcDc->grab().toImage();
    ASSERT_EQ(shown.size(), 2 * w->SrcDc->size());
    const QRgb ink = qRgb(0, 0, 0), paper = shown.pixel(40, 40);
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(shown.pixel(20 + dx, 24 + dy), ink);
    EXPECT_EQ(shown.pixel(22, 24), paper);  // no smoothing into the neighbours
    EXPECT_EQ(shown.pixel(19, 25), paper);

    const QIcon icon = w->Command1[nt::kPencil]->icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(64, 64)));
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_SCALE_FACTOR", "2", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
