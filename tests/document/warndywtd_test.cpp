#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "document/warndywtd.h"
#include "globals/Globals.h"
#include "support/ModalAnswer.h"

namespace {

constexpr nt::Colour kBack = 0x00336699;

// A canvas with something drawn on it.
std::unique_ptr<nt::Surface> drawnCanvas() {
    auto canvas = std::make_unique<nt::Surface>(40, 30, kBack);
    canvas->Line(2, 2, 30, 20, nt::Colour{0x000000FF}, nt::BoxMode::Filled);
    return canvas;
}

bool onlyBackground(const nt::Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (nt::fromPixel(s.Image().pixel(x, y)) != kBack ||
                nt::fromPixel(s.screen().pixel(x, y)) != kBack)
                return false;
    return true;
}

warndywtd* asDeleteWindow(QWidget* w) {
    auto* window = qobject_cast<warndywtd*>(w);
    EXPECT_NE(window, nullptr);
    return window;
}

}  // namespace

TEST(Warndywtd, DesignTextsAndDeleteHiddenUntilTheShredderIsClicked) {
    auto canvas = drawnCanvas();
    warndywtd window(*canvas);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("是否清空画布 - NorvalyTintora"));
    EXPECT_EQ(window.Label1->text(), QStringLiteral("是否真的要删除当前整个图片?"));
    EXPECT_EQ(window.Label2->text(),
              QStringLiteral("如果您要删除一个区域,请先选择一个区域,然后按Delete(删除)键"));
    EXPECT_EQ(window.Label3->text(), QStringLiteral("要删除,先点击下面左边的文件粉碎图标"));
    EXPECT_EQ(window.Command1->text(), QStringLiteral("取消"));
    EXPECT_EQ(window.Command2->text(), QStringLiteral("删除"));
    EXPECT_FALSE(window.Command2->isVisible());
    EXPECT_FALSE(window.Image3->isVisible());

    QTest::mouseClick(window.Image2, Qt::LeftButton);
    EXPECT_EQ(window.Label3->text(), QStringLiteral("然后点击右边的删除"));
    EXPECT_TRUE(window.Command2->isVisible());
    EXPECT_TRUE(window.Image3->isVisible());
    QTest::mouseClick(window.Image2, Qt::LeftButton);  // a repeat changes nothing further
    EXPECT_EQ(window.Label3->text(), QStringLiteral("然后点击右边的删除"));
    EXPECT_TRUE(window.Command2->isVisible());
    EXPECT_FALSE(onlyBackground(*canvas));
}

TEST(Warndywtd, TwoStepsClearTheCanvasAtItsSize) {
    auto canvas = drawnCanvas();
    nt::globals().DialogResult = nt::GlobalSettings::kAccepted;
    bool deleteReachableFirst = true;
    ModalAnswer answer([&](QWidget* w) {
        warndywtd* window = asDeleteWindow(w);
        if (!window) return w->close(), void();
        deleteReachableFirst = window->Command2->isVisible();
        QTest::mouseClick(window->Image2, Qt::LeftButton);
        QTest::mouseClick(window->Command2, Qt::LeftButton);
    });
    warndywtd::ShowModal(*canvas, nullptr);
    ASSERT_TRUE(answer.seen());
    EXPECT_FALSE(deleteReachableFirst);
    EXPECT_EQ(canvas->width(), 40);
    EXPECT_EQ(canvas->height(), 30);
    EXPECT_TRUE(onlyBackground(*canvas));
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Warndywtd, CancelOrEscapeAtEitherStepLeavesTheCanvas) {
    struct Way {
        bool firstStep;
        bool escape;
    };
    for (const Way way : {Way{false, false}, Way{false, true}, Way{true, false}, Way{true, true}}) {
        auto canvas = drawnCanvas();
        const QImage before = canvas->Image();
        ModalAnswer answer([&](QWidget* w) {
            warndywtd* window = asDeleteWindow(w);
            if (!window) return w->close(), void();
            if (way.firstStep) QTest::mouseClick(window->Image2, Qt::LeftButton);
            if (way.escape)
                QTest::keyClick(window, Qt::Key_Escape);
            else
                QTest::mouseClick(window->Command1, Qt::LeftButton);
        });
        warndywtd::ShowModal(*canvas, nullptr);
        ASSERT_TRUE(answer.seen());
        EXPECT_EQ(canvas->Image(), before) << way.firstStep << way.escape;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}
