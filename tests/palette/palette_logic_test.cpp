#include <gtest/gtest.h>

#include "palette/PaletteLogic.h"
#include "surface/SystemColours.h"

using namespace nt::palette;

TEST(PaletteHitTest, CellBoundariesAndIndexOrder) {
    struct Case {
        double x, y;
        int index;
    };
    const Case cases[] =
        {
            {0, 0, -1},      {31, 31, -1},   {31.4, 8, -1},  // current-colour area
            {32, 0, 0},      {47, 15, 0},    {47, 16, 1},     {32, 31, 1},
            {48, 0, 2},      {240, 0, 26},   {255, 15, 26},   {255, 31, 27},
            {256, 0, -1},    {100, 32, -1},  {31.5, 0, 0},  // 31.5 rounds to the even 32
            {47.5, 0, 2},                                   // 47.5 rounds to 48
            {32.5, 15.5, 1},                                // 32.5 rounds to 32, 15.5 to 16
            {-20, 5, -1},    {1e300, 5, -1}, {5, -1e300, -1},
        };
    for (const Case& c : cases) EXPECT_EQ(hitTest(c.x, c.y), c.index) << c.x << "," << c.y;
}

TEST(PaletteHitTest, EverySwatchCellMapsBackToItsIndex) {
    for (int i = 0; i < kSwatchCount; ++i) {
        EXPECT_EQ(hitTest(swatchLeft(i), swatchTop(i)), i);
        EXPECT_EQ(hitTest(swatchLeft(i) + 15, swatchTop(i) + 15), i);
    }
}

TEST(PaletteColours, PresetTableMatchesItsChannels) {
    EXPECT_EQ(kPresetColours[0], nt::rgb(0, 0, 0));
    EXPECT_EQ(kPresetColours[1], nt::rgb(255, 255, 255));
    EXPECT_EQ(kPresetColours[8], nt::rgb(237, 28, 36));
    EXPECT_EQ(kPresetColours[20], nt::rgb(0, 183, 239));
    EXPECT_EQ(kPresetColours[27], nt::rgb(181, 165, 213));
}

TEST(PaletteColours, SplitColorKeepsTheLowThreeBytes) {
    Split s = SplitColor(0x00123456u);
    EXPECT_EQ(s.red, 0x56);
    EXPECT_EQ(s.green, 0x34);
    EXPECT_EQ(s.blue, 0x12);
    s = SplitColor(0xFFFFFFFFu);  // -1
    EXPECT_EQ(s.red, 255);
    EXPECT_EQ(s.green, 255);
    EXPECT_EQ(s.blue, 255);
    s = SplitColor(0x80000010u);
    EXPECT_EQ(s.red, 0x10);
    EXPECT_EQ(s.green, 0);
    EXPECT_EQ(s.blue, 0);
}

TEST(PaletteColours, CustomColoursLightenPerChannelAndSaturate) {
    const auto black = customColours(0);
    for (int k = 0; k < kCustomCount; ++k) {
        const int v = 15 * (k + 1);
        EXPECT_EQ(black[k], nt::rgb(v, v, v)) << k;
    }
    for (nt::Colour c : customColours(0x00FFFFFF)) EXPECT_EQ(c, 0x00FFFFFFu);
    const auto mixed = customColours(nt::rgb(10, 250, 0));
    EXPECT_EQ(mixed[0], nt::rgb(25, 255, 15));
    EXPECT_EQ(mixed[15], nt::rgb(250, 255, 240));
}

TEST(PaletteColours, ColourRequestFlagsAndInitialColour) {
    ColourRequest r = makeColourRequest(0x00241CED, true);
    EXPECT_EQ(r.flags, 0x183u);
    EXPECT_TRUE(r.fullOpen());
    EXPECT_EQ(r.initial, 0x00241CEDu);
    EXPECT_EQ(r.custom[15], nt::rgb(255, 255, 255));
    r = makeColourRequest(0, false);
    EXPECT_EQ(r.flags, 0x181u);
    EXPECT_FALSE(r.fullOpen());
    EXPECT_EQ(r.initial, 0u);
    // A system colour reference opens on what it stands for; a bad one on 0xFFFFFFFF.
    EXPECT_EQ(makeColourRequest(nt::kSysButtonFace, true).initial,
              *nt::translateColour(nt::kSysButtonFace));
    EXPECT_EQ(makeColourRequest(0x80001234u, true).initial, 0xFFFFFFFFu);
}

TEST(PaletteSize, TwoHundredFortyPixelsPlusTwoHundredFortyTwips) {
    EXPECT_EQ(controlSize(96), QSize(256, 32));
    EXPECT_EQ(controlSize(120), QSize(260, 32));
    EXPECT_EQ(controlSize(144), QSize(264, 32));
    EXPECT_EQ(controlSize(0), QSize(256, 32));  // unknown resolution: the common one
}

TEST(PaletteProperties, BagMatchesKeysWithoutRegardToCase) {
    PropertyBag bag;
    EXPECT_TRUE(bag.empty());
    bag.write(QStringLiteral("Color2"), 255);
    EXPECT_TRUE(bag.contains(QStringLiteral("color2")));
    EXPECT_EQ(bag.read(QStringLiteral("COLOR2"), 7).toInt(), 255);
    EXPECT_EQ(bag.read(QStringLiteral("Color1"), 7).toInt(), 7);
}

TEST(PaletteProperties, PointerCodes) {
    EXPECT_EQ(cursorShapeFor(kPointerArrow), Qt::ArrowCursor);
    EXPECT_EQ(cursorShapeFor(2), Qt::CrossCursor);
    EXPECT_EQ(cursorShapeFor(11), Qt::WaitCursor);
    EXPECT_FALSE(cursorShapeFor(kPointerDefault).has_value());
    EXPECT_FALSE(cursorShapeFor(kPointerCustom).has_value());
    EXPECT_FALSE(cursorShapeFor(-3).has_value());
}

TEST(PaletteState, PressRecordsIndexAndButtonOnlyOnAHit) {
    PaletteState s;
    EXPECT_TRUE(s.press(250, 20, 4));
    EXPECT_EQ(s.SelectedIndex, 27);
    EXPECT_EQ(s.LastButton, 4);
    EXPECT_FALSE(s.appliesToColor1());
    EXPECT_FALSE(s.press(10, 10, 1));
    EXPECT_EQ(s.SelectedIndex, -1);
    EXPECT_EQ(s.LastButton, 4);  // a miss keeps the last button
    EXPECT_TRUE(s.press(33, 1, 1));
    EXPECT_TRUE(s.appliesToColor1());
}
