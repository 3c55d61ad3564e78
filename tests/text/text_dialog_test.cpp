// The text dialog: its set-up from the shared settings, the preview, OK, Cancel, the close box
// and input-method text.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "globals/Globals.h"
#include "surface/PictureBox.h"
#include "text/TextLogic.h"
#include "text/frmText.h"

namespace {

using nt::GlobalSettings;

class TextDialog : public ::testing::Test {
  protected:
    void SetUp() override { nt::globals() = GlobalSettings{}; }
    nt::GlobalSettings& g = nt::globals();
};

// The columns holding anything but the preview's white background.
std::pair<int, int> inkColumns(const QImage& img) {
    int left = img.width(), right = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST_F(TextDialog, FirstOpeningListsEveryFontAndStartsFromTheFirstOfEachList) {
    frmText d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("文本/艺术字"));
    EXPECT_TRUE(d.windowIcon().isNull());
    EXPECT_EQ(d.Label1->text(),
              QStringLiteral("您可以先设置字体颜色和多种效果,它们在主面板上设置"));
    const QStringList families = nt::text::plainFamilies(QFontDatabase::families());
    ASSERT_EQ(d.cboFont->count(), families.size());
    for (int i = 0; i < families.size(); ++i) EXPECT_EQ(d.cboFont->itemText(i), families[i]);
    ASSERT_EQ(d.cboSize->count(), 92);
    EXPECT_EQ(d.cboSize->itemText(91), QStringLiteral("96"));
    EXPECT_EQ(d.cboStyle->count(), 8);
    EXPECT_EQ(d.cboStyle->itemText(7), QStringLiteral("下划线+粗体+斜体"));
    EXPECT_EQ(d.cboFont->currentIndex(), 0);
    EXPECT_EQ(d.cboSize->currentText(), QStringLiteral("5"));
    EXPECT_EQ(d.cboStyle->currentText(), QStringLiteral("无"));
    EXPECT_TRUE(d.txtText->toPlainText().isEmpty());
    EXPECT_EQ(d.previewsDrawn(), 3);  // one for each list the set-up selects in
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(QApplication::focusWidget(), d.txtText);
}

TEST_F(TextDialog, ReopensWithTheStoredSettingsFoundInTheLists) {
    const QString family = nt::text::plainFamilies(QFontDatabase::families()).last();
    g.TextFontName = family.toUpper();  // letter case does not matter
    g.TextFontSize = 12;
    g.TextFontStyle = 5;
    g.TextString = QStringLiteral("你好\nNorvaly");
    {
        frmText d;
        EXPECT_EQ(d.cboFont->currentText(), family);
        EXPECT_EQ(d.cboSize->currentText(), QStringLiteral("12"));
        EXPECT_EQ(d.cboStyle->currentIndex(), 5);
        EXPECT_EQ(d.txtText->toPlainText(), g.TextString);
    }
    g.TextFontSize = 100;  // not in the list: shows the first size
    frmText d;
    EXPECT_EQ(d.cboSize->currentText(), QStringLiteral("5"));
}

// Families offered by several foundries come once, by the name a user knows them by.
TEST(PlainFamilies, EachFamilyOnceWithoutItsFoundry) {
    const QStringList listed{
        QStringLiteral("C059 [UKWN]"),        QStringLiteral("C059 [urw]"),
        QStringLiteral("DejaVu Sans"),        QStringLiteral("Nimbus Sans [URW ]"),
        QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("文泉驿微米黑"),
        QStringLiteral("[Bracketed]")};
    EXPECT_EQ(nt::text::plainFamilies(listed),
              (QStringList{QStringLiteral("C059"), QStringLiteral("DejaVu Sans"),
                           QStringLiteral("Nimbus Sans"), QStringLiteral("文泉驿微米黑"),
                           QStringLiteral("[Bracketed]")}));
    frmText d;
    QSet<QString> seen;
    for (int i = 0; i < d.cboFont->count(); ++i) {
        const QString item = d.cboFont->itemText(i);
        EXPECT_FALSE(item.contains(QStringLiteral(" ["))) << item.toStdString();
        EXPECT_FALSE(seen.contains(item)) << item.toStdString();
        seen.insert(item);
    }
}

TEST(FindListItem, FirstMatchIgnoringCaseAndZeroOtherwise) {
    const QStringList items{QStringLiteral("Arial"), QStringLiteral("宋体"),
                            QStringLiteral("ARIAL"), QStringLiteral("12")};
    const std::pair<const char*, int> cases[] = {{"", 0},  {"arial", 0},  {"宋体", 1},   {"12", 3},
                                                 {"1", 0}, {"Arial ", 0}, {"nothing", 0}};
    for (const auto& [text, want] : cases)
        EXPECT_EQ(nt::text::FindListItem(items, QString::fromUtf8(text)), want) << text;
}

TEST(CentredOrigin, RoundsEachFreeExtentThenHalvesTowardZero) {
    struct Case {
        QSize box;
        QSizeF text;
        QPoint want;
    } cases[] = {
        {{280, 80}, {57.5, 15}, {111, 32}},    // 222.5 rounds to 222; 65 halves to 32
        {{280, 80}, {56.5, 15.5}, {112, 32}},  // 223.5 rounds to 224; 64.5 to 64
        {{20, 10}, {41, 15}, {-10, -2}},       // wider than the box: -21 halves to -10
    };
    for (const Case& c : cases) EXPECT_EQ(nt::text::centredOrigin(c.box, c.text), c.want);
}

TEST_F(TextDialog, PreviewIsCentredAndOnlyAChoiceFromAListRedrawsIt) {
    g.TextFontSize = 20;
    frmText d;
    const QImage& preview = d.pPreview->surface().Image();
    const auto [left, right] = inkColumns(preview);
    ASSERT_LE(left, right);
    EXPECT_NEAR(left, preview.width() - 1 - right, 4);  // side bearings aside
    const int drawn = d.previewsDrawn();
    QTest::keyClicks(d.cboSize->lineEdit(), QStringLiteral("3"));  // "203" typed, not chosen
    EXPECT_EQ(d.previewsDrawn(), drawn);
    d.cboStyle->setCurrentIndex(4);
    d.cboStyle->setCurrentIndex(0);  // underline and then plain: no underline left over
    EXPECT_EQ(d.previewsDrawn(), drawn + 2);
    EXPECT_FALSE(d.pPreview->surface().Font.underline);
}

TEST_F(TextDialog, OkStoresTheChoicesWithTheSizeRoundedIntoSixteenBits) {
    const std::pair<const char*, int> sizes[] = {{"12.5", 12}, {"13.5", 14}, {"100", 100},
                                                 {"abc", 0},   {"-3", -3},   {"99999", 32767}};
    for (const auto& [typed, stored] : sizes) {
        frmText d;
        d.txtText->setPlainText(QStringLiteral("文字"));
        d.cboFont->setCurrentIndex(d.cboFont->count() - 1);
        d.cboStyle->setCurrentIndex(3);
        d.cboSize->setEditText(QString::fromUtf8(typed));
        d.cmdOK->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(g.DialogResult, GlobalSettings::kAccepted);
        EXPECT_EQ(g.TextFontSize, stored) << typed;
        EXPECT_EQ(g.TextFontName, nt::text::plainFamilies(QFontDatabase::families()).last());
        EXPECT_EQ(g.TextString, QStringLiteral("文字"));
        EXPECT_EQ(g.TextFontStyle, 3);
    }
}

// Sizes typed key by key are stored as typed, not completed from the list ("3" is not "30"),
// and the box shows four digits whole.
TEST_F(TextDialog, TypedSizesAreStoredAsTypedAndFourDigitsShow) {
    for (const char* typed : {"1", "2", "3", "4", "9", "1000"}) {
        frmText d;
        d.show();
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        // As a user does: into the box, everything in it selected, then the keys.
        QLineEdit* edit = d.cboSize->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(typed));
        EXPECT_EQ(d.cboSize->currentText(), QString::fromLatin1(typed));
        // The whole number shows: painted with the cursor after it, the first digit still
        // sits at the left edge.
        edit->repaint();
        const QRect inside = edit->contentsRect();
        EXPECT_EQ(edit->cursorPositionAt(QPoint(inside.left() + 3, inside.center().y())), 0)
            << typed;
        d.cmdOK->click();
        EXPECT_EQ(g.TextFontSize, QString::fromLatin1(typed).toInt());
    }
}

TEST_F(TextDialog, EnterInTheTextBoxAcceptsCancelAndTheCloseBoxKeepTheSettings) {
    {
        frmText d;
        d.show();
        QTest::keyClicks(d.txtText, QStringLiteral("ab"));
        QTest::keyClick(d.txtText, Qt::Key_Return);
        EXPECT_EQ(g.DialogResult, GlobalSettings::kAccepted);
        EXPECT_EQ(g.TextString, QStringLiteral("ab"));  // no line break added
    }
    const GlobalSettings before = g;
    {
        frmText d;
        d.txtText->setPlainText(QStringLiteral("changed"));
        d.cmdCancel->click();
        EXPECT_EQ(g.DialogResult, GlobalSettings::kIdle);
        EXPECT_EQ(g.TextString, before.TextString);
    }
    g.DialogResult = 7;
    frmText d;
    d.show();
    d.txtText->setPlainText(QStringLiteral("changed"));
    d.close();
    EXPECT_EQ(g.DialogResult, 7);
    EXPECT_EQ(g.TextString, before.TextString);
    EXPECT_EQ(g.TextFontSize, before.TextFontSize);
}

TEST_F(TextDialog, TextBoxTakesInputMethodPreeditAndCommit) {
    frmText d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QInputMethodEvent preedit(QStringLiteral("zhong'wen"), {});
    QApplication::sendEvent(d.txtText, &preedit);
    EXPECT_EQ(d.txtText->textCursor().block().layout()->preeditAreaText(),
              QStringLiteral("zhong'wen"));
    EXPECT_TRUE(d.txtText->toPlainText().isEmpty());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中文"));
    QApplication::sendEvent(d.txtText, &commit);
    EXPECT_EQ(d.txtText->toPlainText(), QStringLiteral("中文"));
    d.cmdOK->click();
    EXPECT_EQ(g.TextString, QStringLiteral("中文"));
}

}  // namespace
