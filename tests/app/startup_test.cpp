// What the program sets up before its window: the style and the font warm-up.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>

#include "app/FontWarmup.h"
#include "app/ProgramStyle.h"
#include "app/Translation.h"

namespace {

bool picturePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    return maps.readAll().contains("plugins/imageformats/");
}

int inkedPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

// Runs first in its process, so no picture plugin was loaded before.
TEST(ProgramStyle, AMenuBarLoadsNoPicturePlugin) {
    ASSERT_FALSE(picturePluginLoaded());
    nt::installProgramStyle();
    QMenuBar bar;
    bar.addMenu(QStringLiteral("文件(&F)"));
    EXPECT_FALSE(picturePluginLoaded());
}

TEST(ProgramStyle, WrapsTheStyleTheApplicationWasGiven) {
    QApplication::setStyle(QStringLiteral("Windows"));
    nt::installProgramStyle();
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->baseStyle()->name(), QStringLiteral("windows"));
}

TEST(ProgramStyle, DrawsTheExtensionArrowsAndLeavesTheOtherIconsToTheStyle) {
    nt::ProgramStyle style;
    const QImage right =
        style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16, 16).toImage();
    const QImage down =
        style.standardIcon(QStyle::SP_ToolBarVerticalExtensionButton).pixmap(16, 16).toImage();
    EXPECT_GT(inkedPixels(right), 10);
    EXPECT_EQ(inkedPixels(down), inkedPixels(right));
    EXPECT_NE(down, right);
    EXPECT_EQ(down, right.transformed(QTransform().rotate(90)));
    EXPECT_FALSE(style.standardIcon(QStyle::SP_DialogOkButton).isNull());
}

TEST(FontWarmup, WaitsAndLeavesTheFontsUsable) {
    nt::FontWarmup fonts;
    fonts.wait();
    fonts.wait();  // a second wait returns at once
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}

}  // namespace

TEST(ChineseQtTexts, StandardDialogButtonsSpeakChinese) {
    const nt::ChineseQtTexts texts;
    ASSERT_TRUE(texts.loaded()) << "qt6-translations-l10n provides qtbase_zh_CN";
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}
