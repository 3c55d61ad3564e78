#include <cmath>

#include <gtest/gtest.h>

#include "imageops/InputChecks.h"

using namespace nt;

TEST(StretchSize, BelowOneIsNe12) {
    for (auto [w, h] : {std::pair{0.0, 5.0}, {5.0, -5.0}, {0.5, 10.0}}) {
        const auto c = checkStretchSize(w, h);
        ASSERT_FALSE(c.ok());
        EXPECT_EQ(c.error->code, "错误代码:Ne12");
        EXPECT_EQ(c.error->reason, "图片的像素值必须大于零的阿拉伯数字!");
    }
}

TEST(StretchSize, RoundsHalvesToEvenAndKeepsTheValues) {
    const auto c = checkStretchSize(12.5, 13.5);
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(c.value.width, 12);
    EXPECT_EQ(c.value.height, 14);
    // Refused values are still reported as converted, for the dialog to store.
    EXPECT_EQ(checkStretchSize(-5.0, 300.0).value.width, -5);
}

TEST(StretchSize, BeyondTheProjectLimitIsRefused) {
    for (auto [w, h] : {std::pair{30001.0, 10.0}, {20000.0, 20000.0}, {1e300, 1.0}}) {
        const auto c = checkStretchSize(w, h);
        ASSERT_FALSE(c.ok()) << w;
        EXPECT_EQ(c.error->code, "错误代码:Ne12");
        EXPECT_NE(c.error->reason.find("30000"), std::string::npos);
    }
    EXPECT_TRUE(checkStretchSize(30000.0, 3000.0).ok());
}

TEST(NoiseAmount, SpreadMustFitSixteenBits) {
    EXPECT_EQ(checkNoiseAmount(16.0).value, 16);
    EXPECT_EQ(checkNoiseAmount(2.5).value, 2);
    EXPECT_TRUE(checkNoiseAmount(16383.0).ok());
    EXPECT_TRUE(checkNoiseAmount(-16384.0).ok());
    EXPECT_FALSE(checkNoiseAmount(16384.0).ok());
    EXPECT_FALSE(checkNoiseAmount(-16385.0).ok());
    EXPECT_FALSE(checkNoiseAmount(1e12).ok());
}

TEST(SharpenFactor, MustBeAFiniteSinglePrecisionNumber) {
    EXPECT_EQ(checkSharpenFactor(1.2).value, 1.2f);
    EXPECT_TRUE(checkSharpenFactor(-3e38).ok());
    EXPECT_FALSE(checkSharpenFactor(1e39).ok());
    EXPECT_FALSE(checkSharpenFactor(INFINITY).ok());
    EXPECT_FALSE(checkSharpenFactor(NAN).ok());
}

TEST(AdjustAmount, ScrollBarRange) {
    EXPECT_EQ(checkAdjustAmount(-100.0).value, -100);
    EXPECT_TRUE(checkAdjustAmount(100.4).ok());
    EXPECT_FALSE(checkAdjustAmount(100.6).ok());
    EXPECT_FALSE(checkAdjustAmount(-101.0).ok());
}

TEST(FrameWidth, NegativeIsValidTooWideIsNot) {
    EXPECT_EQ(checkFrameWidth(-5.0).value, -5);
    EXPECT_TRUE(checkFrameWidth(-1e12).ok());
    EXPECT_TRUE(checkFrameWidth(kMaxFrameWidth).ok());
    EXPECT_FALSE(checkFrameWidth(kMaxFrameWidth + 1.0).ok());
    EXPECT_FALSE(checkFrameWidth(1e10).ok());
}

TEST(HexColour, SixDigitsAfterAHash) {
    EXPECT_EQ(parseHexColour("#FF0000"), rgb(255, 0, 0));
    EXPECT_EQ(parseHexColour("#00a0Bf"), rgb(0, 0xA0, 0xBF));
    for (const char* bad : {"FF0000", "#FF000", "#FF00000", "#GG0000", "", "#"})
        EXPECT_FALSE(parseHexColour(bad).has_value()) << bad;
}

TEST(TypedText, ReadAsTheDialogsReadIt) {
    EXPECT_EQ(checkStretchSize(QString("300px"), QString(" 12.5")).value.width, 300);
    EXPECT_EQ(checkStretchSize(QString("300px"), QString(" 12.5")).value.height, 12);
    EXPECT_EQ(checkStretchSize(QString("abc"), QString("10")).error->code, "错误代码:Ne12");
    // Cancel gives an empty answer: noise amount 0, which still runs.
    const auto noise = checkNoiseAmount(QString());
    EXPECT_TRUE(noise.ok());
    EXPECT_EQ(noise.value, 0);
    EXPECT_EQ(checkFrameWidth(QString("-3")).value, -3);
    EXPECT_FALSE(checkFrameWidth(QString("99999")).ok());
    // The sharpen prompt refuses what is not a number, Cancel included.
    EXPECT_EQ(checkSharpenFactor(QString("1.2")).value, 1.2f);
    EXPECT_FALSE(checkSharpenFactor(QString("1.2x")).ok());
    EXPECT_FALSE(checkSharpenFactor(QString()).ok());
}
