// The fill, airbrush, magic pen, eraser, picker and gradient on the real window: pointer
// events on the canvas widget, the option lists and the palette as a user sets them.
#include <cmath>
#include <set>
#include <tuple>
#include <utility>

#include "WindowFixture.h"
#include "imageops/Random.h"
#include "surface/Gdi.h"
#include "surface/SystemColours.h"

namespace {

constexpr nt::Colour kBlack = 0x000000, kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

class PaintWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        back = nt::plainColour(canvas().BackColor());
        ASSERT_NE(back, kBlack);
        ASSERT_NE(back, kRed);
    }
    void click(Qt::MouseButton b, QPoint p) {
        press(b, p);
        release(b, p);
    }
    void put(int x, int y, nt::Colour c) {
        nt::SetPixel(nt::Dc{&canvas(), true}, x, y, c);
        canvas().Refresh();
    }
    std::set<std::pair<int, int>> pixelsOf(nt::Colour c) {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < canvas().height(); ++y)
            for (int x = 0; x < canvas().width(); ++x)
                if (picture(x, y) == c) found.insert({x, y});
        return found;
    }
    size_t area() { return static_cast<size_t>(canvas().width()) * canvas().height(); }
    nt::Colour back = 0;
};

TEST_F(PaintWindow, FillPaintsTheRegionUnderThePressInTheButtonsColour) {
    chooseTool(nt::kRectangle);
    drag(Qt::LeftButton, {20, 20}, {120, 100});
    chooseTool(nt::kFill);
    click(Qt::RightButton, {60, 60});
    EXPECT_EQ(picture(21, 21), kRed);
    EXPECT_EQ(picture(119, 99), kRed);
    EXPECT_EQ(screen(60, 60), kRed);
    EXPECT_EQ(picture(20, 60), kBlack);  // the outline stops the fill
    EXPECT_EQ(picture(10, 10), back);
    click(Qt::LeftButton, {5, 5});
    EXPECT_EQ(picture(10, 10), kBlack);
    EXPECT_EQ(picture(canvas().width() - 1, canvas().height() - 1), kBlack);
    EXPECT_EQ(picture(60, 60), kRed);
    EXPECT_EQ(pixelsOf(kRed).size(), 99u * 79u);
}

TEST_F(PaintWindow, PatternFillTilesTheChosenPatternFromTheCanvasOrigin) {
    const QImage pattern = w->ImgPatten.convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(pattern.isNull());
    chooseTool(nt::kFill);
    w->cboFillType->setCurrentIndex(1);  // "模板"
    click(Qt::LeftButton, {37, 23});
    for (int y = 0; y < canvas().height(); ++y)
        for (int x = 0; x < canvas().width(); ++x)
            ASSERT_EQ(canvas().Image().pixel(x, y),
                      pattern.pixel(x % pattern.width(), y % pattern.height()))
                << x << "," << y;
    // Back to "颜色": the next fill is plain again.
    w->cboFillType->setCurrentIndex(0);
    click(Qt::RightButton, {37, 23});
    EXPECT_EQ(picture(37, 23), kRed);
}

TEST_F(PaintWindow, AirbrushSpraysElevenDotsAtThePressAndPerMoveFromTheSharedGenerator) {
    chooseTool(nt::kAirbrush);
    for (const auto& [button, colour] :
         {std::pair{Qt::LeftButton, kBlack}, {Qt::RightButton, kRed}}) {
        canvas().Cls();
        w->random.setState(0x5eed0000ull + colour);
        nt::UniformRandom expected = w->random;
        press(button, {60, 60});
        moveTo({90, 70});
        release(button, {90, 70});
        std::set<std::pair<int, int>> dots;
        for (int i = 0; i < 22; ++i) {
            // Width 1: floor(r * 10) - 5, x drawn before y.
            const int dx = static_cast<int>(std::floor(expected.next() * 10.0)) - 5;
            const int dy = static_cast<int>(std::floor(expected.next() * 10.0)) - 5;
            dots.insert(i < 12 ? std::pair{60 + dx, 60 + dy} : std::pair{90 + dx, 70 + dy});
        }
        EXPECT_EQ(pixelsOf(colour), dots);
        EXPECT_EQ(pixelsOf(back).size(), area() - dots.size());
        EXPECT_EQ(w->random.state(), expected.state());
    }
}

TEST_F(PaintWindow, MagicPenStampsTheLoadedBrushInTheButtonsColour) {
    const QImage brush = w->SrcBrush1->Image();
    const int bw = brush.width(), bh = brush.height();
    ASSERT_GT(bw, 1);
    chooseTool(nt::kMagicPen);
    for (const auto& [button, colour, at] : {std::tuple{Qt::LeftButton, kBlack, QPoint{60, 60}},
                                             std::tuple{Qt::RightButton, kRed, QPoint{180, 150}}}) {
        click(button, at);
        const int left = at.x() - bw / 2, top = at.y() - bh / 2;
        int inked = 0;
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const nt::Colour b = nt::fromPixel(brush.pixel(x, y));
                const nt::Colour want = b == 0 ? colour : b == 0xFF00FF ? back : b;
                ASSERT_EQ(picture(left + x, top + y), want) << x << "," << y;
                inked += b == 0;
            }
        EXPECT_GT(inked, 0);
        EXPECT_EQ(picture(left - 1, top), back);
        EXPECT_EQ(picture(left + bw, top + bh), back);
    }
}

TEST_F(PaintWindow, EraserClearsASquareOrADiscOfTheChosenSize) {
    chooseTool(nt::kFill);
    click(Qt::LeftButton, {5, 5});
    chooseTool(nt::kEraser);
    ASSERT_EQ(w->cboWidth->currentText(), QStringLiteral("10"));
    click(Qt::LeftButton, {50, 50});
    std::set<std::pair<int, int>> box;
    for (int y = 45; y <= 55; ++y)
        for (int x = 45; x <= 55; ++x) box.insert({x, y});
    EXPECT_EQ(pixelsOf(back), box);

    w->cboEraseType->setCurrentIndex(1);  // "圆形"
    click(Qt::RightButton, {150, 100});
    EXPECT_EQ(picture(140, 100), back);
    EXPECT_EQ(picture(157, 107), back);
    EXPECT_EQ(picture(138, 100), kBlack);
    EXPECT_EQ(picture(159, 109), kBlack);

    w->cboEraseType->setCurrentIndex(0);
    w->cboWidth->setCurrentIndex(19);  // "20", read at the next dab
    press(Qt::LeftButton, {50, 150});
    moveTo({100, 150});
    EXPECT_EQ(picture(40, 140), back);  // in the picture before the release
    EXPECT_EQ(picture(110, 160), back);
    EXPECT_EQ(picture(75, 150), kBlack);  // dabs, not a swept band
    release(Qt::LeftButton, {100, 150});
}

TEST_F(PaintWindow, PickerSetsColourOneOrTwoContinuouslyAndDrawsNothing) {
    put(10, 10, kGreen);
    put(20, 10, kBlue);
    put(30, 10, 0x123456);
    const QImage before = canvas().Image().copy();
    chooseTool(nt::kPicker);
    press(Qt::LeftButton, {10, 10});
    EXPECT_EQ(w->dColorPallete1->Color1(), kGreen);
    moveTo({20, 10});
    EXPECT_EQ(w->dColorPallete1->Color1(), kBlue);
    moveTo({30, 10});
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x123456u);
    release(Qt::LeftButton, {30, 10});
    EXPECT_EQ(w->dColorPallete1->Color2(), kRed);
    press(Qt::RightButton, {20, 10});
    moveTo({10, 10});
    release(Qt::RightButton, {10, 10});
    EXPECT_EQ(w->dColorPallete1->Color2(), kGreen);
    EXPECT_EQ(w->dColorPallete1->Color1(), 0x123456u);
    EXPECT_EQ(canvas().Image(), before);
    // The picked colour is the one the next stroke draws with.
    chooseTool(nt::kLine);
    drag(Qt::LeftButton, {10, 50}, {60, 50});
    EXPECT_EQ(picture(30, 50), 0x123456u);
}

TEST_F(PaintWindow, GradientPreviewsABlackBoxAndFillsFromColourOneAtThePress) {
    w->dColorPallete1->setColor1(kRed);
    w->dColorPallete1->setColor2(kBlue);
    chooseTool(nt::kGradient);
    press(Qt::RightButton, {200, 50});  // dragged right to left with the right button
    moveTo({100, 80});
    EXPECT_EQ(screen(150, 50), kBlack);
    EXPECT_EQ(screen(100, 65), kBlack);
    EXPECT_EQ(picture(150, 50), back);
    release(Qt::RightButton, {100, 80});
    EXPECT_EQ(picture(100, 60), kBlue);
    EXPECT_EQ(picture(199, 60), nt::rgb(252, 0, 2));
    EXPECT_EQ(picture(150, 50), nt::rgb(127, 0, 127));
    EXPECT_EQ(picture(200, 60), back);
    EXPECT_EQ(picture(150, 80), back);
    EXPECT_EQ(screen(150, 50), picture(150, 50));

    w->cboGrade->setCurrentIndex(1);  // "从上到下"
    drag(Qt::LeftButton, {10, 100}, {60, 150});
    EXPECT_EQ(picture(59, 100), kRed);
    EXPECT_EQ(picture(10, 149), nt::rgb(5, 0, 249));
}

}  // namespace
