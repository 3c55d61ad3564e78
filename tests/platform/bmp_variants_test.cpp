// Bitmap variants the suite's good files do not cover, built by hand with known pixels.

#include <QBuffer>

#include "PictureTestSupport.h"

namespace nt {
namespace {

using test::Dib;
using test::rgbAt;

const std::vector<std::vector<int>> kIndices = {{0, 1, 2, 3, 2}, {3, 3, 0, 1, 1}, {1, 0, 0, 2, 3}};
const std::vector<std::uint32_t> kPalette = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF};

void expectIndices(const QImage& image, const std::vector<std::uint32_t>& palette) {
    ASSERT_EQ(image.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(rgbAt(image, x, y), palette[kIndices[y][x]]) << x << "," << y;
}

TEST(BmpVariants, TwoBitBottomUpAndTopDownGiveTheSamePicture) {
    Dib d{.width = 5, .height = 3, .bitCount = 2, .palette = kPalette};
    d.bits = test::packIndices(kIndices, 2);
    expectIndices(test::decoded(test::bmpFile(d)), kPalette);

    auto topDownRows = kIndices;
    std::reverse(topDownRows.begin(), topDownRows.end());
    d.height = -3;
    d.bits = test::packIndices(topDownRows, 2);
    expectIndices(test::decoded(test::bmpFile(d)), kPalette);
}

TEST(BmpVariants, Os2HeadersOfEverySize) {
    for (int headerSize : {12, 16, 24, 64}) {
        SCOPED_TRACE(headerSize);
        Dib d{
            .headerSize = headerSize, .width = 5, .height = 3, .bitCount = 4, .palette = kPalette};
        d.palette.resize(16);
        d.bits = test::packIndices(kIndices, 4);
        auto palette = d.palette;
        expectIndices(test::decoded(test::bmpFile(d)), palette);
        expectIndices(test::decoded(test::packedDib(d)), palette);
    }
}

TEST(BmpVariants, ShortPaletteLeavesMissingIndicesBlack) {
    Dib d{.width = 5, .height = 3, .bitCount = 8, .colorsUsed = 2, .palette = {0x102030, 0xFF0000}};
    d.bits = test::packIndices(kIndices, 8);
    expectIndices(test::decoded(test::bmpFile(d)), {0x102030, 0xFF0000, 0, 0});
}

// Each field scales to 0..255 as round(value * 255 / largest value), for any width.
TEST(BmpVariants, BitFieldsOfAnyWidthScaleExactly) {
    Dib d{.width = 3, .height = 1, .bitCount = 32, .compression = 3};
    d.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};  // 10-10-10
    for (std::uint32_t v : {1023u << 20 | 512u << 10 | 1u, 0u, 3u << 20 | 2u << 10 | 1022u})
        test::put32(d.bits, v);
    const QImage image = test::decoded(test::bmpFile(d));
    EXPECT_EQ(rgbAt(image, 0, 0), 0xFF8000u);  // 512 * 255 / 1023 = 127.6
    EXPECT_EQ(rgbAt(image, 1, 0), 0u);
    EXPECT_EQ(rgbAt(image, 2, 0), 0x0100FFu);  // 3 -> 0.75, 2 -> 0.5 (up), 1022 -> 254.75

    Dib narrow{.width = 2, .height = 1, .bitCount = 16, .compression = 3};
    narrow.masks = {0xC000, 0x3FFE, 0x0001};  // 2, 13 and 1 bits wide
    test::put16(narrow.bits, 0x4000 | 0x1000 << 1);
    test::put16(narrow.bits, 0xFFFF);
    const QImage n = test::decoded(test::bmpFile(narrow));
    EXPECT_EQ(rgbAt(n, 0, 0), 0x558000u);  // 1/3 -> 85; 4096/8191 -> 127.5 -> 128
    EXPECT_EQ(rgbAt(n, 1, 0), 0xFFFFFFu);
}

TEST(BmpVariants, DegenerateMasksGiveDefinedColours) {
    Dib d{.width = 1, .height = 1, .bitCount = 32, .compression = 3};
    d.masks = {0xFFFFFFFF, 0, 0x00F0F0F0};  // full width, empty, not contiguous
    test::put32(d.bits, 0x80000000u);
    EXPECT_EQ(rgbAt(test::decoded(test::bmpFile(d)), 0, 0), 0x800000u);
}

TEST(BmpVariants, AlphaBitFieldsAndV5HeadersAreOpaque) {
    Dib d{.width = 1, .height = 1, .bitCount = 32, .compression = 6};
    d.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    test::put32(d.bits, 0x00123456);  // alpha 0 is ignored
    EXPECT_EQ(rgbAt(test::decoded(test::bmpFile(d)), 0, 0), 0x123456u);
    d.headerSize = 124;
    d.compression = 3;
    EXPECT_EQ(rgbAt(test::decoded(test::bmpFile(d)), 0, 0), 0x123456u);
}

// RLE8: a run, a literal of odd length (padded), a delta, an early end of line and an end
// of bitmap; skipped pixels are palette entry 0.
TEST(BmpVariants, Rle8RunsLiteralsDeltasAndSkips) {
    Dib d{.width = 5, .height = 3, .bitCount = 8, .compression = 1, .palette = kPalette};
    d.bits = QByteArray::fromHex(
        "0301"          // bottom row: 3 x index 1
        "0000"          // end of line
        "000302030200"  // literal 2,3,2 + pad
        "00020101"      // delta: right 1, up 1 -> top row, x = 4
        "0203"          // run of 2 x index 3: only one fits the row
        "0001");        // end of bitmap
    const QImage image = test::decoded(test::bmpFile(d));
    const std::uint32_t s = kPalette[0];
    const std::vector<std::vector<std::uint32_t>> want = {
        {s, s, s, s, kPalette[3]},
        {kPalette[2], kPalette[3], kPalette[2], s, s},
        {kPalette[1], kPalette[1], kPalette[1], s, s}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(rgbAt(image, x, y), want[y][x]) << x << "," << y;
}

TEST(BmpVariants, Rle4AlternatesNibbles) {
    Dib d{.width = 5, .height = 1, .bitCount = 4, .compression = 2, .palette = kPalette};
    d.palette.resize(16);
    d.bits = QByteArray::fromHex(
        "0312"
        "0003230000"
        "0001");  // 1,2,1 then literal 2,3,0
    const QImage image = test::decoded(test::bmpFile(d));
    const std::uint32_t want[] = {kPalette[1], kPalette[2], kPalette[1], kPalette[2], kPalette[3]};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(rgbAt(image, x, 0), want[x]) << x;
}

TEST(BmpVariants, EmbeddedPngIsDecoded) {
    QImage source(3, 2, QImage::Format_RGB32);
    source.fill(0xFF336699);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.save(&buffer, "png"));
    Dib d{.width = 3, .height = 2, .bitCount = 0, .compression = 5, .bits = png};
    const QImage image = test::decoded(test::bmpFile(d));
    EXPECT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(rgbAt(image, 2, 1), 0x336699u);
}

}  // namespace
}  // namespace nt
