// The new-canvas dialog: reading the sizes, refusing bad ones, and what it hands back.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "document/NewCanvas.h"
#include "document/errbox.h"
#include "document/frmNew.h"
#include "globals/Globals.h"
#include "support/ModalAnswer.h"

namespace {

struct Outcome {
    bool accepted = false;
    QString errorCode;
    QString errorReason;
};

// Types the two sizes, picks a colour and presses the OK button; any error window that
// appears is read and closed, and the dialog is then cancelled.
Outcome accept(const QString& width, const QString& height, int colourIndex = 0) {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    frmNew dialog;
    dialog.show();
    dialog.txtWidth->setText(width);
    dialog.txtHeight->setText(height);
    dialog.cboColor->setCurrentIndex(colourIndex);
    Outcome out;
    ModalAnswer answer([&](QWidget* w) {
        auto* box = qobject_cast<errbox*>(w);
        ASSERT_NE(box, nullptr);
        out.errorCode = box->Label2->text();
        out.errorReason = box->Label3->text();
        box->close();
    });
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    out.accepted = nt::globals().DialogResult == nt::GlobalSettings::kAccepted;
    if (!out.accepted) {
        EXPECT_TRUE(dialog.isVisible()) << "a refused size keeps the dialog open";
        EXPECT_EQ(dialog.txtWidth->text(), width) << "with the user's text";
    }
    return out;
}

}  // namespace

TEST(NewCanvasDialog, StartsFromItsDefaults) {
    frmNew dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("新建画布"));
    EXPECT_EQ(dialog.txtWidth->text(), QStringLiteral("800"));
    EXPECT_EQ(dialog.txtHeight->text(), QStringLiteral("500"));
    ASSERT_EQ(dialog.cboColor->count(), 5);
    EXPECT_EQ(dialog.cboColor->currentIndex(), 0);
    const char* names[] = {"白色", "黑色", "中国红", "健康绿", "梦幻蓝"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dialog.cboColor->itemText(i), QString::fromUtf8(names[i]));
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("新建图片,开始绘画"));
}

TEST(NewCanvasDialog, AcceptedSizesAndColours) {
    const struct {
        const char* width;
        const char* height;
        int colour;
        int w, h;
        nt::Colour value;
    } rows[] = {
        {"800", "500", 0, 800, 500, 0xFFFFFF}, {"0.6", "1.5", 4, 1, 2, 0xFF0000},
        {"2.5", "3.5", 2, 2, 4, 0x0000FF},     {"800px", "  5 0 0", 1, 800, 500, 0},
        {"&H20", "&O10", 3, 32, 8, 0x00FF00},
    };
    for (const auto& r : rows) {
        const Outcome out =
            accept(QString::fromUtf8(r.width), QString::fromUtf8(r.height), r.colour);
        ASSERT_TRUE(out.accepted) << r.width << " x " << r.height;
        EXPECT_EQ(nt::globals().NewCanvasWidth, r.w) << r.width;
        EXPECT_EQ(nt::globals().NewCanvasHeight, r.h) << r.height;
        EXPECT_EQ(nt::globals().NewCanvasColor, r.value);
    }
}

TEST(NewCanvasDialog, RefusedSizesShowTheErrorWindowAndKeepTheDialog) {
    const char* below[][2] = {{"0.5", "500"}, {"px800", "500"},     {"-5", "500"},
                              {"800", ""},    {"&HFFFFFFFF", "10"}, {"800", "0"}};
    for (const auto& r : below) {
        const Outcome out = accept(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]));
        EXPECT_FALSE(out.accepted) << r[0] << " x " << r[1];
        EXPECT_EQ(out.errorCode, QStringLiteral("错误代码:Ne1"));
        EXPECT_EQ(out.errorReason, QStringLiteral("图片的像素值必须大于零的阿拉伯数字!"));
    }
    for (const char* huge : {"1e10", "40000", "99999999999999999999"}) {
        const Outcome out = accept(QString::fromUtf8(huge), QStringLiteral("10"));
        EXPECT_FALSE(out.accepted) << huge;
        EXPECT_EQ(out.errorCode, QStringLiteral("错误代码:Ne1"));
        EXPECT_TRUE(out.errorReason.contains(QStringLiteral("太大")))
            << out.errorReason.toStdString();
    }
    const Outcome tooMany = accept(QStringLiteral("20000"), QStringLiteral("20000"));
    EXPECT_FALSE(tooMany.accepted);
}

TEST(NewCanvasDialog, CancelLeavesTheIdleResult) {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    nt::globals().NewCanvasWidth = 123;
    frmNew dialog;
    dialog.show();
    dialog.txtWidth->setText(QStringLiteral("999"));
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);
    EXPECT_EQ(nt::globals().NewCanvasWidth, 123);
}

TEST(NewCanvas, SizeText) {
    EXPECT_EQ(nt::canvasSizeText(800, 500), QStringLiteral("画布大小:宽 800 高 500"));
    EXPECT_EQ(nt::canvasSizeText(12345, 1), QStringLiteral("画布大小:宽 12345 高 1"));
}
