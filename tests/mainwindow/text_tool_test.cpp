// The text tool on the real window: the dialog at the release and the text drawn on the
// canvas in the pressed button's colour, the shadow style, fallback glyphs and odd input.
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "WindowFixture.h"
#include "text/frmText.h"

namespace {

constexpr nt::Colour kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF;

class TextTool : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        canvas().setBackColor(kWhite);
        canvas().Cls();
        chooseTool(nt::kText);
    }
    // Releases the text tool at `at` and answers the dialog with `edit` and then OK.
    void place(Qt::MouseButton b, QPoint at, const QString& text, const QString& size,
               const std::function<void(frmText*)>& edit = {}) {
        ModalAnswer answer([&](QWidget* m) {
            auto* d = qobject_cast<frmText*>(m);
            ASSERT_NE(d, nullptr);
            d->txtText->setPlainText(text);
            d->cboSize->setEditText(size);
            if (edit) edit(d);
            d->cmdOK->click();
        });
        press(b, at);
        release(b, at);
        EXPECT_TRUE(answer.seen());
    }
    // How many pixels of each colour lie in the rectangle.
    int count(nt::Colour c, const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += picture(x, y) == c;
        return n;
    }
    QRect all() { return canvas().Image().rect(); }
};

TEST_F(TextTool, TextTakesThePressedButtonsColourWithItsTopLeftAtTheRelease) {
    place(Qt::LeftButton, {20, 30}, QStringLiteral("中文"), QStringLiteral("20"));
    EXPECT_GT(count(kBlack, QRect(20, 30, 80, 40)), 40);
    EXPECT_EQ(count(kBlack, all()), count(kBlack, QRect(20, 30, 80, 40)));
    EXPECT_EQ(count(kBlack, QRect(0, 0, 20, 232)), 0);
    place(Qt::RightButton, {20, 120}, QStringLiteral("中文"), QStringLiteral("20"));
    EXPECT_GT(count(kRed, QRect(20, 120, 80, 40)), 40);
    EXPECT_FALSE(w->state.IsDrawing);
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
}

TEST_F(TextTool, ShadowStyleDrawsASecondCopyInColourTwoOverTheFirst) {
    w->cboTextStyle->setCurrentIndex(1);
    place(Qt::LeftButton, {20, 30}, QStringLiteral("Norvaly 文"), QStringLiteral("24"));
    const int black = count(kBlack, all()), red = count(kRed, all());
    EXPECT_GT(black, 20);
    EXPECT_GT(red, black);  // the copy at (+2, +2) covers part of the first
    canvas().Cls();
    place(Qt::RightButton, {20, 30}, QStringLiteral("Norvaly 文"), QStringLiteral("24"));
    EXPECT_EQ(count(kBlack, all()), 0);
    EXPECT_GT(count(kRed, all()), red);  // both copies in colour 2
}

TEST_F(TextTool, MissingFontFallsBackToGlyphsNotBoxes) {
    // The canvas's design font is not on Linux systems; two characters must differ.
    QImage first, second;
    for (const auto& [text, out] :
         {std::pair{QStringLiteral("永"), &first}, std::pair{QStringLiteral("鑫"), &second}}) {
        canvas().Cls();
        place(Qt::LeftButton, {10, 10}, text, QStringLiteral("30"),
              [](frmText* d) { d->cboFont->setEditable(true), d->cboFont->setEditText("宋体"); });
        EXPECT_EQ(nt::globals().TextFontName, QStringLiteral("宋体"));
        *out = canvas().Image().copy(10, 10, 50, 50);
    }
    EXPECT_GT(count(kBlack, QRect(10, 10, 50, 50)), 60);
    EXPECT_NE(first, second);
}

TEST_F(TextTool, InputMethodCommitIsDrawn) {
    place(Qt::LeftButton, {20, 30}, QString(), QStringLiteral("20"), [](frmText* d) {
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("拼音输入"));
        QApplication::sendEvent(d->txtText, &commit);
    });
    EXPECT_EQ(nt::globals().TextString, QStringLiteral("拼音输入"));
    EXPECT_GT(count(kBlack, QRect(20, 30, 120, 30)), 80);
}

TEST_F(TextTool, CancelDrawsNothing) {
    ModalAnswer cancel([](QWidget* m) { qobject_cast<frmText*>(m)->cmdCancel->click(); });
    press(Qt::LeftButton, {20, 30});
    release(Qt::LeftButton, {20, 30});
    ASSERT_TRUE(cancel.seen());
    EXPECT_EQ(count(kWhite, all()), 280 * 232);
}

TEST_F(TextTool, OddSizesAndTextsDrawSensiblyAndQuickly) {
    struct Case {
        QString text, size;
        QRect where;  // the text's pixels lie here
        bool ink;     // and some show
    } cases[] = {
        {QStringLiteral("零"), QStringLiteral("0"), QRect(10, 10, 20, 20), true},  // 9 pt
        {QStringLiteral("负"), QStringLiteral("-3"), QRect(10, 10, 20, 20), true},
        {QStringLiteral("字"), QStringLiteral("abc"), QRect(10, 10, 20, 20), true},
        // Glyphs bigger than the canvas: only the blank top of the character cell shows.
        {QStringLiteral("大"), QStringLiteral("99999"), QRect(10, 10, 270, 222), false},
        {QStringLiteral("上\n下"), QStringLiteral("12"), QRect(10, 10, 20, 45), true},
        {QString(100000, u'长'), QStringLiteral("12"), QRect(10, 10, 270, 24), true},
        {QString(), QStringLiteral("12"), QRect(), false},
    };
    for (const Case& c : cases) {
        canvas().Cls();
        QElapsedTimer clock;
        clock.start();
        place(Qt::LeftButton, {10, 10}, c.text, c.size);
        EXPECT_LT(clock.elapsed(), 3000) << c.size.toStdString();
        const int inside = c.where.isEmpty() ? 0 : count(kBlack, c.where);
        EXPECT_EQ(count(kBlack, all()), inside) << c.size.toStdString();
        EXPECT_EQ(inside > 0, c.ink) << c.size.toStdString();
    }
    // Line under line: the second line starts below the first.
    canvas().Cls();
    place(Qt::LeftButton, {10, 10}, QStringLiteral("上\n下"), QStringLiteral("12"));
    EXPECT_GT(count(kBlack, QRect(10, 10, 20, 16)), 0);
    EXPECT_GT(count(kBlack, QRect(10, 27, 20, 20)), 0);
}

}  // namespace
