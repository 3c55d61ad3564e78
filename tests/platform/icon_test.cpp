// ICO and CUR files built in code: masks, alpha, the choice among entries, hostile directories.

#include <gmock/gmock.h>
#include <QBuffer>

#include "PictureTestSupport.h"

namespace nt {
namespace {

using test::put16;
using test::put32;
using test::refusal;
using test::rgbAt;

using Rows = std::vector<std::vector<std::uint32_t>>;  // top row first

// A BMP-in-ICO entry: header with doubled height, XOR pixels, then the AND mask.
QByteArray iconDib(const Rows& pixels, int bpp, const std::vector<std::vector<int>>& mask,
                   const std::vector<std::uint32_t>& palette = {}) {
    const int w = static_cast<int>(pixels[0].size()), h = static_cast<int>(pixels.size());
    test::Dib d{.width = w, .height = 2 * h, .bitCount = bpp, .palette = palette};
    d.colorsUsed = static_cast<std::uint32_t>(palette.size());
    if (bpp <= 8) {
        std::vector<std::vector<int>> indices;
        for (const auto& row : pixels) indices.emplace_back(row.begin(), row.end());
        d.bits = test::packIndices(indices, bpp);
    } else {
        for (auto row = pixels.rbegin(); row != pixels.rend(); ++row) {
            QByteArray line;
            for (std::uint32_t p : *row) {
                line.append(static_cast<char>(p & 0xFF));
                line.append(static_cast<char>((p >> 8) & 0xFF));
                line.append(static_cast<char>((p >> 16) & 0xFF));
                if (bpp == 32) line.append(static_cast<char>(p >> 24));
            }
            while (line.size() % 4) line.append('\0');
            d.bits += line;
        }
    }
    d.bits += test::packIndices(mask, 1);
    return test::packedDib(d);
}

QByteArray pngEntry(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return png;
}

QByteArray iconFile(const std::vector<QByteArray>& entries, int type = 1) {
    QByteArray b;
    put16(b, 0);
    put16(b, type);
    put16(b, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const QByteArray& e : entries) {
        put32(b, 0);  // sizes and colours in the directory are not trusted
        put32(b, 0x00200001);
        put32(b, static_cast<std::uint32_t>(e.size()));
        put32(b, offset);
        offset += static_cast<std::uint32_t>(e.size());
    }
    for (const QByteArray& e : entries) b += e;
    return b;
}

const Rows kColours = {{0xFF0000, 0x00FF00}, {0x0000FF, 0x000000}};
const std::vector<std::vector<int>> kMask = {{0, 1}, {0, 1}};

// Masked pixels show the matte inverted by the XOR colour, as on a screen.
TEST(Icon, TwentyFourBitEntryAppliesItsMask) {
    const QByteArray file = iconFile({iconDib(kColours, 24, kMask)});
    const QImage onWhite = test::decoded(file);
    ASSERT_EQ(onWhite.size(), QSize(2, 2));
    EXPECT_EQ(rgbAt(onWhite, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgbAt(onWhite, 1, 0), 0xFF00FFu);
    EXPECT_EQ(rgbAt(onWhite, 0, 1), 0x0000FFu);
    EXPECT_EQ(rgbAt(onWhite, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(test::decoded(file, rgb(255, 0, 255)), 1, 1), 0xFF00FFu);
}

TEST(Icon, PalettedEntryAppliesItsMask) {
    const Rows indices = {{1, 0}, {1, 1}};
    const QImage image =
        test::decoded(iconFile({iconDib(indices, 4, kMask, {0x000000, 0x336699})}));
    EXPECT_EQ(rgbAt(image, 0, 0), 0x336699u);
    EXPECT_EQ(rgbAt(image, 1, 0), 0xFFFFFFu);
}

TEST(Icon, ThirtyTwoBitAlphaCompositesOntoTheMatte) {
    const Rows argb = {{0xFFFF0000, 0x00FF0000}, {0x80FF0000, 0xFF00FF00}};
    const QImage image = test::decoded(iconFile({iconDib(argb, 32, kMask)}));
    EXPECT_EQ(rgbAt(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgbAt(image, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(image, 0, 1), 0xFF7F7Fu);
    EXPECT_EQ(rgbAt(image, 1, 1), 0x00FF00u);  // alpha wins over the mask bit
    // Without any alpha the mask decides.
    const QImage noAlpha = test::decoded(iconFile({iconDib(kColours, 32, kMask)}));
    EXPECT_EQ(rgbAt(noAlpha, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgbAt(noAlpha, 1, 1), 0xFFFFFFu);
}

Rows filled(int size, std::uint32_t colour) {
    return Rows(size, std::vector<std::uint32_t>(size, colour));
}
std::vector<std::vector<int>> clear(int size) {
    return std::vector<std::vector<int>>(size, std::vector<int>(size, 0));
}

TEST(Icon, TakesTheLargestThenDeepestThenFirstEntry) {
    std::vector<QByteArray> entries = {
        iconDib(filled(16, 0xFF111111), 32, clear(16)),
        iconDib(filled(32, 1), 4, clear(32), {0, 0x222222}),
        iconDib(filled(32, 0x333333), 24, clear(32)),
        iconDib(filled(32, 0x444444), 24, clear(32)),
    };
    QImage image = test::decoded(iconFile(entries));
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(rgbAt(image, 5, 5), 0x333333u);
    entries.insert(entries.begin(), pngEntry(48, 48, 0xFF555555));
    image = test::decoded(iconFile(entries, 2));  // a cursor reads the same way
    EXPECT_EQ(image.size(), QSize(48, 48));
    EXPECT_EQ(rgbAt(image, 47, 47), 0x555555u);
}

TEST(Icon, TransparentPngEntryCompositesOntoTheMatte) {
    const QImage image = test::decoded(iconFile({pngEntry(3, 3, 0x00000000)}), rgb(1, 2, 3));
    EXPECT_EQ(rgbAt(image, 1, 1), 0x010203u);
}

TEST(Icon, MissingMaskMeansOpaque) {
    QByteArray entry = iconDib(kColours, 24, kMask);
    entry.chop(8);  // both mask rows
    const QImage image = test::decoded(iconFile({entry}));
    EXPECT_EQ(rgbAt(image, 1, 1), 0x000000u);
}

TEST(Icon, HostileFilesAreRefused) {
    const QByteArray good = iconFile({iconDib(kColours, 24, kMask)});
    for (qsizetype length = 0; length < good.size(); ++length)
        EXPECT_NE(refusal(good.left(length)), "") << "prefix of " << length;
    auto patched = [&](int at, std::uint32_t value) {
        QByteArray b = good;
        test::poke32(b, at, value);
        return b;
    };
    EXPECT_NE(refusal(patched(4, 0)), "");            // no entries (and size 0 below)
    EXPECT_NE(refusal(patched(4, 2)), "");            // directory longer than the file
    EXPECT_NE(refusal(patched(18, 0xFFFFFFF0)), "");  // offset outside the file
    EXPECT_NE(refusal(patched(14, 0xFFFFFFF0)), "");  // size past the end
    EXPECT_NE(refusal(patched(14, 0)), "");           // zero-size entry
    EXPECT_NE(refusal(patched(18, 6)), "");           // entry inside the directory
    EXPECT_NE(refusal(patched(22 + 8, 3)), "");       // odd bitmap height
    EXPECT_NE(refusal(patched(22 + 4, 100000)), "");  // absurd width
    EXPECT_NE(refusal(patched(22 + 8, 0x80000000)), "");
    EXPECT_NE(refusal(patched(22 + 14, 7 << 16 | 1)), "");  // 7 bits per pixel
    // An entry whose pixels do not fit in it.
    QByteArray shortEntry = iconDib(filled(8, 0x123456), 24, clear(8));
    shortEntry.chop(64);
    EXPECT_NE(refusal(iconFile({shortEntry})), "");
    // A PNG entry claiming a huge size is refused before it is decoded.
    QByteArray png = pngEntry(2, 2, 0xFF000000);
    png[16] = '\x7F';
    EXPECT_THAT(refusal(iconFile({png})), testing::HasSubstr("limit"));
    png[20] = png[21] = '\xFF';  // both sides near 2^32: their product overflows 64 bits
    png[16] = png[17] = '\xFF';
    EXPECT_THAT(refusal(iconFile({png})), testing::HasSubstr("limit"));
}

}  // namespace
}  // namespace nt
