#include <array>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include "support/ModalAnswer.h"

#include "palette/dColorPallete.h"
#include "surface/SystemColours.h"

using nt::Colour;
using namespace nt::palette;

namespace {

QPoint centreOf(int index) {
    return QPoint(swatchLeft(index) + 8, swatchTop(index) + 8);
}

Colour facePixel(const dColorPallete& p, int x, int y) {
    return nt::fromPixel(p.face().Image().pixel(x, y));
}
// Inside the colour 1 square but outside the colour 2 square drawn over it.
Colour shownColor1(const dColorPallete& p) {
    return facePixel(p, 6, 7);
}
Colour shownColor2(const dColorPallete& p) {
    return facePixel(p, 20, 20);
}

void click(QWidget* w, Qt::MouseButton b, QPoint pos) {
    QTest::mousePress(w, b, {}, pos);
    QTest::mouseRelease(w, b, {}, pos);
}

// What the platform delivers for a double click: press, release, double click, release.
void doubleClick(QWidget* w, Qt::MouseButton b, QPoint pos) {
    click(w, b, pos);
    QTest::mouseDClick(w, b, {}, pos);
    QTest::mouseRelease(w, b, {}, pos);
}

struct DialogSeen {
    Colour initial = 0;
    std::array<Colour, kCustomCount> custom{};
    bool pickerVisible = false;
};

// Records what the colour dialog offers, then answers with `choice` or cancels.
std::function<void(QWidget*)> answerColourDialog(DialogSeen& seen, std::optional<Colour> choice) {
    return [&seen, choice](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        const QColor c = dialog->currentColor();
        seen.initial = nt::rgb(c.red(), c.green(), c.blue());
        for (int k = 0; k < kCustomCount; ++k) {
            const QColor cc = QColorDialog::customColor(k);
            seen.custom[k] = nt::rgb(cc.red(), cc.green(), cc.blue());
        }
        for (QWidget* child : dialog->findChildren<QWidget*>())
            if (QByteArray(child->metaObject()->className()).endsWith("QColorPicker"))
                seen.pickerVisible = child->isVisible();
        if (choice) {
            dialog->setCurrentColor(
                QColor(nt::redOf(*choice), nt::greenOf(*choice), nt::blueOf(*choice)));
            dialog->accept();
        } else {
            dialog->reject();
        }
    };
}

class PaletteWidget : public ::testing::Test {
  protected:
    void SetUp() override {
        design.write(QStringLiteral("Color2"), 0x000000FF);
        design.write(QStringLiteral("MousePointer"), 1);
        palette = std::make_unique<dColorPallete>(nullptr, &design);
        palette->setObjectName(QStringLiteral("dColorPallete1"));
        palette->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(palette.get()));
    }
    PropertyBag design;
    std::unique_ptr<dColorPallete> palette;
};

}  // namespace

TEST(PaletteDefaults, NewControlIsBlackOnWhiteAndWritesNothing) {
    dColorPallete p;
    EXPECT_EQ(p.Color1(), 0x000000u);
    EXPECT_EQ(p.Color2(), 0xFFFFFFu);
    EXPECT_TRUE(p.OpenFullColorDLG());
    EXPECT_EQ(p.SelectedIndex(), -1);
    for (int i = 0; i < kSwatchCount; ++i) EXPECT_EQ(p.PaletteColors(i), kPresetColours[i]);
    PropertyBag out;
    p.WriteProperties(out);
    EXPECT_TRUE(out.empty());
}

TEST_F(PaletteWidget, StoredPropertiesGiveRedColour2AndRoundTrip) {
    EXPECT_EQ(palette->Color1(), 0x000000u);
    EXPECT_EQ(palette->Color2(), 0x0000FFu);
    EXPECT_EQ(palette->MousePointer(), 1);
    EXPECT_EQ(palette->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(shownColor1(*palette), 0x000000u);
    EXPECT_EQ(shownColor2(*palette), 0x0000FFu);

    PropertyBag out;
    palette->setOpenFullColorDLG(false);
    palette->WriteProperties(out);
    EXPECT_FALSE(out.contains(QStringLiteral("Color1")));
    EXPECT_EQ(out.read(QStringLiteral("color2"), 0).toLongLong(), 0xFF);
    EXPECT_EQ(out.read(QStringLiteral("mousepointer"), 0).toInt(), 1);
    EXPECT_FALSE(out.read(QStringLiteral("OpenFullColorDLG"), true).toBool());
    EXPECT_FALSE(out.contains(QStringLiteral("Enabled")));
    EXPECT_FALSE(out.contains(QStringLiteral("MouseIcon")));

    dColorPallete copy(nullptr, &out);
    EXPECT_EQ(copy.Color2(), 0x0000FFu);
    EXPECT_FALSE(copy.OpenFullColorDLG());
}

TEST_F(PaletteWidget, KeepsItsSizeAndDrawsItsFace) {
    EXPECT_EQ(palette->size(), QSize(256, 32));
    palette->resize(400, 90);
    QTest::qWait(1);
    EXPECT_EQ(palette->size(), QSize(256, 32));

    const Colour shadow = *nt::translateColour(nt::kSysButtonShadow);
    const Colour face = *nt::translateColour(nt::kSysButtonFace);
    for (int i = 0; i < kSwatchCount; ++i) {
        const QPoint c = centreOf(i);
        EXPECT_EQ(facePixel(*palette, c.x(), c.y()), kPresetColours[i]) << i;
        EXPECT_EQ(facePixel(*palette, swatchLeft(i), swatchTop(i)), shadow) << i;
        EXPECT_EQ(facePixel(*palette, swatchLeft(i) + 15, swatchTop(i) + 15), 0xFFFFFFu) << i;
    }
    // The dotted interior of the current-colour area.
    EXPECT_EQ(facePixel(*palette, 28, 28), face);
    EXPECT_EQ(facePixel(*palette, 27, 27), 0xFFFFFFu);
}

TEST_F(PaletteWidget, PressesPickColoursByButton) {
    click(palette.get(), Qt::LeftButton, centreOf(8));
    EXPECT_EQ(palette->Color1(), kPresetColours[8]);
    EXPECT_EQ(palette->SelectedIndex(), 8);
    EXPECT_EQ(palette->LastButton(), 1);
    EXPECT_EQ(shownColor1(*palette), kPresetColours[8]);

    click(palette.get(), Qt::RightButton, QPoint(250, 20));  // column 13, row 1
    EXPECT_EQ(palette->SelectedIndex(), 27);
    EXPECT_EQ(palette->Color2(), kPresetColours[27]);
    EXPECT_EQ(shownColor2(*palette), kPresetColours[27]);

    click(palette.get(), Qt::MiddleButton, centreOf(5));
    EXPECT_EQ(palette->LastButton(), 4);
    EXPECT_EQ(palette->Color2(), kPresetColours[5]);
    EXPECT_EQ(palette->Color1(), kPresetColours[8]);

    // The current-colour area hits nothing and keeps the last button.
    click(palette.get(), Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(palette->SelectedIndex(), -1);
    EXPECT_EQ(palette->LastButton(), 4);
    EXPECT_EQ(palette->Color1(), kPresetColours[8]);
}

TEST_F(PaletteWidget, ItemClickComesFirstAndMayChangeItsArguments) {
    std::vector<Colour> color1Seen;
    QObject::connect(palette.get(), &dColorPallete::ItemClick,
                     [&](Colour&, int&) { color1Seen.push_back(palette->Color1()); });
    click(palette.get(), Qt::LeftButton, centreOf(8));
    click(palette.get(), Qt::LeftButton, centreOf(20));
    ASSERT_EQ(color1Seen.size(), 2u);
    EXPECT_EQ(color1Seen[0], 0u);  // colour 1 as it was before the press
    EXPECT_EQ(color1Seen[1], kPresetColours[8]);

    auto retarget =
        QObject::connect(palette.get(), &dColorPallete::ItemClick, [](Colour& colour, int& button) {
            button = 1;
            colour = 0x00ABCDEF;
        });
    click(palette.get(), Qt::RightButton, centreOf(3));
    EXPECT_EQ(palette->Color1(), 0x00ABCDEFu);
    EXPECT_EQ(palette->Color2(), 0x0000FFu);
    EXPECT_EQ(palette->PaletteColors(3), 0x00ABCDEFu);
    EXPECT_EQ(palette->LastButton(), 1);
    QObject::disconnect(retarget);
}

TEST_F(PaletteWidget, SwapExchangesAndRedrawsBoth) {
    QSignalSpy changed(palette.get(), &dColorPallete::PropertyChanged);
    palette->SwapColors();
    EXPECT_EQ(palette->Color1(), 0x0000FFu);
    EXPECT_EQ(palette->Color2(), 0x000000u);
    EXPECT_EQ(shownColor1(*palette), 0x0000FFu);
    EXPECT_EQ(shownColor2(*palette), 0x000000u);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed[0][0].toString(), QStringLiteral("Color1"));
    EXPECT_EQ(changed[1][0].toString(), QStringLiteral("Color2"));
}

TEST_F(PaletteWidget, DisabledControlIgnoresPresses) {
    palette->setEnabledProperty(false);
    EXPECT_FALSE(palette->Enabled());
    click(palette.get(), Qt::LeftButton, centreOf(8));
    EXPECT_EQ(palette->Color1(), 0u);
    EXPECT_EQ(palette->SelectedIndex(), -1);
}

TEST_F(PaletteWidget, DoubleClickLeftRedefinesSwatchAndColour1) {
    // The dialog's custom colours are process-wide; the palette must give them back.
    QColorDialog::setCustomColor(0, QColor(1, 2, 3));
    DialogSeen seen;
    ModalAnswer answer(answerColourDialog(seen, Colour{0x00123456}));
    doubleClick(palette.get(), Qt::LeftButton, centreOf(8));
    ASSERT_TRUE(answer.seen());

    EXPECT_EQ(seen.initial, kPresetColours[8]);
    EXPECT_EQ(seen.custom, customColours(kPresetColours[8]));
    EXPECT_TRUE(seen.pickerVisible);
    EXPECT_EQ(palette->PaletteColors(8), 0x00123456u);
    EXPECT_EQ(palette->Color1(), 0x00123456u);
    EXPECT_EQ(palette->Color2(), 0x0000FFu);
    const QPoint c = centreOf(8);
    EXPECT_EQ(facePixel(*palette, c.x(), c.y()), 0x00123456u);
    EXPECT_EQ(shownColor1(*palette), 0x00123456u);
    EXPECT_EQ(QColorDialog::customColor(0), QColor(1, 2, 3));
}

TEST_F(PaletteWidget, CancelledDoubleClickRightKeepsTheFirstPress) {
    DialogSeen seen;
    ModalAnswer answer(answerColourDialog(seen, std::nullopt));
    doubleClick(palette.get(), Qt::RightButton, centreOf(12));
    ASSERT_TRUE(answer.seen());
    EXPECT_EQ(palette->PaletteColors(12), kPresetColours[12]);
    EXPECT_EQ(palette->Color2(), kPresetColours[12]);  // from the first press
    EXPECT_EQ(palette->Color1(), 0u);
}

TEST_F(PaletteWidget, WhiteSwatchOffersWhiteCustomColoursAndRightSetsColour2) {
    palette->setOpenFullColorDLG(false);
    DialogSeen seen;
    ModalAnswer answer(answerColourDialog(seen, Colour{0x00445566}));
    doubleClick(palette.get(), Qt::RightButton, centreOf(1));
    ASSERT_TRUE(answer.seen());
    for (Colour c : seen.custom) EXPECT_EQ(c, 0x00FFFFFFu);
    EXPECT_FALSE(seen.pickerVisible);  // collapsed without the full flag
    EXPECT_EQ(palette->PaletteColors(1), 0x00445566u);
    EXPECT_EQ(palette->Color2(), 0x00445566u);
    EXPECT_EQ(palette->Color1(), 0u);
}

TEST_F(PaletteWidget, DoubleClickOutsideTheSwatchesOpensNothing) {
    DialogSeen seen;
    ModalAnswer answer(answerColourDialog(seen, Colour{0x00445566}));
    click(palette.get(), Qt::LeftButton, centreOf(8));  // an earlier hit must not count
    doubleClick(palette.get(), Qt::LeftButton, QPoint(12, 12));
    QTest::qWait(100);
    EXPECT_FALSE(answer.seen());
    EXPECT_EQ(palette->PaletteColors(8), kPresetColours[8]);
    EXPECT_EQ(palette->Color1(), kPresetColours[8]);
}
