// What the image dialogs read from their text boxes.
#include <limits>

#include <gtest/gtest.h>

#include "imageops/dialogs/DialogLogic.h"

using nt::dialogs::frameWidthTextOnLeave;
using nt::dialogs::readFrameWidth;
using nt::dialogs::readStretchSize;

TEST(StretchSizeText, ReadsTypedNumbersRoundedHalfToEven) {
    const struct {
        const char* width;
        const char* height;
        int w, h;
    } rows[] = {
        {"640", "480", 640, 480}, {"12.5", "13.5", 12, 14}, {"300abc", " 2 0", 300, 20},
        {"0.6", "1.5", 1, 2},     {"&H10", "1e2", 16, 100}, {"30000", "3333", 30000, 3333},
    };
    for (const auto& r : rows) {
        const auto size = readStretchSize(QString::fromUtf8(r.width), QString::fromUtf8(r.height));
        EXPECT_TRUE(size.ok()) << r.width << " x " << r.height;
        EXPECT_EQ(size.value.width, r.w) << r.width;
        EXPECT_EQ(size.value.height, r.h) << r.height;
    }
}

TEST(StretchSizeText, RefusesSizesBelowOneWithNe12) {
    const char* rows[][2] = {{"0", "10"}, {"10", "-5"},  {"abc", "10"},
                             {"10", ""},  {"0.5", "10"}, {"10", "&HFFFF"}};
    for (const auto& r : rows) {
        const auto size = readStretchSize(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]));
        ASSERT_FALSE(size.ok()) << r[0] << " x " << r[1];
        EXPECT_EQ(size.error->code, "错误代码:Ne12");
        EXPECT_EQ(size.error->reason, "图片的像素值必须大于零的阿拉伯数字!");
    }
    // The converted values are kept: the dialog stores them even when refusing.
    const auto negative = readStretchSize(QStringLiteral("-5.5"), QStringLiteral("7"));
    EXPECT_EQ(negative.value.width, -6);
    EXPECT_EQ(negative.value.height, 7);
}

TEST(StretchSizeText, RefusesSizesBeyondTheLimitBeforeAnythingIsMade) {
    const char* rows[][2] = {
        {"30001", "10"}, {"20000", "20000"}, {"1e300", "1"}, {"99999999999999999999", "5"}};
    for (const auto& r : rows) {
        const auto size = readStretchSize(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]));
        ASSERT_FALSE(size.ok()) << r[0] << " x " << r[1];
        EXPECT_EQ(size.error->code, "错误代码:Ne12");
        EXPECT_NE(size.error->reason, "图片的像素值必须大于零的阿拉伯数字!") << "names the limit";
    }
}

TEST(FrameWidthText, BecomesOneWhenItReadsAsZero) {
    const char* toOne[] = {"0", "", "abc", "0.0", "-0", " ", "x5"};
    for (const char* t : toOne)
        EXPECT_EQ(frameWidthTextOnLeave(QString::fromUtf8(t)), QStringLiteral("1")) << t;
    const char* kept[] = {"3", "-2", "0.3", "5px", "&H1"};
    for (const char* t : kept)
        EXPECT_EQ(frameWidthTextOnLeave(QString::fromUtf8(t)), QString::fromUtf8(t)) << t;
}

TEST(FrameWidthText, OkTakesTheNearestWholeNumber) {
    const struct {
        const char* text;
        int width;
    } rows[] = {{"1", 1},
                {"2.5", 2},
                {"3.5", 4},
                {"0.3", 0},
                {"-4", -4},
                {"abc", 0},
                {"-99999999999", std::numeric_limits<int>::min()}};
    for (const auto& r : rows) {
        const auto w = readFrameWidth(QString::fromUtf8(r.text));
        EXPECT_TRUE(w.ok()) << r.text;
        EXPECT_EQ(w.value, r.width) << r.text;
    }
    for (const char* t : {"1e9", "99999999999", "40000"}) {
        const auto w = readFrameWidth(QString::fromUtf8(t));
        ASSERT_FALSE(w.ok()) << t;
        EXPECT_FALSE(w.error->reason.empty());
    }
}
