// Damaged and hostile bitmaps: every one is refused with a reason, none crashes.

#include <QFile>

#include "PictureTestSupport.h"

namespace nt {
namespace {

using test::Dib;
using test::poke32;
using test::refusal;

Dib small24() {
    Dib d{.width = 4, .height = 2, .bitCount = 24};  // rows of 12 bytes: no padding
    d.bits = QByteArray(24, '\x7F');
    return d;
}

Dib smallRle8() {
    Dib d{.width = 4, .height = 2, .bitCount = 8, .compression = 1, .colorsUsed = 2};
    d.palette = {0, 0xFFFFFF};
    d.bits = QByteArray::fromHex(
        "0401"
        "0000"
        "0201"
        "0001");  // the top row ends early
    return d;
}

// Every shorter prefix of a complete file is refused: headers, tables and pixels are all
// needed, and an RLE stream must reach its end.
TEST(BmpHostile, EveryTruncationIsRefused) {
    Dib os2 = small24();
    os2.headerSize = 12;
    Dib palette8{.width = 4, .height = 2, .bitCount = 8, .palette = {0x112233, 0x445566}};
    palette8.bits = QByteArray(8, '\1');
    for (const QByteArray& file :
         {test::bmpFile(small24()), test::bmpFile(smallRle8()), test::bmpFile(os2),
          test::bmpFile(palette8), test::packedDib(small24()), test::packedDib(smallRle8())}) {
        ASSERT_FALSE(test::decoded(file).isNull());
        for (qsizetype length = 0; length < file.size(); ++length)
            EXPECT_NE(refusal(file.left(length)), "") << "prefix of " << length;
    }
}

// Prefixes of real files must never crash; what is accepted must be whole.
TEST(BmpHostile, SuiteFilePrefixesNeverCrash) {
    for (const char* name : {"pal4rle.bmp", "pal8rle.bmp", "rgb16-565pal.bmp", "pal8v5.bmp"}) {
        QFile f(QStringLiteral(NT_TESTDATA_DIR "/bmp/g/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        for (qsizetype length = 0; length < bytes.size(); ++length) {
            auto result = decodePicture(bytes.left(length));
            if (auto* image = std::get_if<QImage>(&result)) {
                EXPECT_EQ(image->size(), QSize(127, 64));
            }
        }
    }
}

TEST(BmpHostile, AbsurdDimensionsAreRefusedBeforeAllocating) {
    struct Case {
        std::int32_t width, height;
        int bitCount;
    };
    for (const Case c :
         {Case{100000, 100000, 24}, Case{0x40000000, 1, 32}, Case{0x7FFFFFFF, 1, 1}, Case{0, 1, 24},
          Case{-5, 1, 24}, Case{1, 0, 24}, Case{1, INT32_MIN, 24}, Case{20000, 20000, 8}}) {
        Dib d{.width = c.width, .height = c.height, .bitCount = c.bitCount};
        d.bits = QByteArray(64, '\0');
        EXPECT_NE(refusal(test::bmpFile(d)), "") << c.width << "x" << c.height;
    }
}

TEST(BmpHostile, MalformedHeadersAreRefused) {
    const QByteArray good = test::bmpFile(small24());
    auto patched = [&](int at, std::uint32_t value, int bytes = 4) {
        QByteArray b = good;
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return b;
    };
    EXPECT_NE(refusal(patched(14, 41)), "");          // header size
    EXPECT_NE(refusal(patched(14, 0xFFFFFFFF)), "");  // header size past the file
    EXPECT_NE(refusal(patched(26, 2, 2)), "");        // planes
    EXPECT_NE(refusal(patched(28, 3, 2)), "");        // bit count
    EXPECT_NE(refusal(patched(28, 64, 2)), "");       // bit count
    EXPECT_NE(refusal(patched(30, 9)), "");           // compression
    EXPECT_NE(refusal(patched(30, 1)), "");           // RLE8 on 24 bits
    EXPECT_NE(refusal(patched(30, 3)), "");           // bit fields on 24 bits
    EXPECT_NE(refusal(patched(10, 0xFFFFFFF0)), "");  // pixels past the end
    EXPECT_NE(refusal(patched(10, 20)), "");          // pixels inside the header
    EXPECT_NE(refusal(patched(10, good.size())), "");
    EXPECT_NE(refusal(QByteArray("BA") + good.mid(2)), "");  // OS/2 bitmap array
    EXPECT_NE(refusal(QByteArray("BM")), "");
    EXPECT_NE(refusal(QByteArray()), "");
    EXPECT_NE(refusal(QByteArray("this is not a picture at all")), "");
}

TEST(BmpHostile, PaletteOverrunsAreRefused) {
    Dib d{.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 300};
    d.bits = QByteArray(4, '\0');
    EXPECT_NE(refusal(test::bmpFile(d)), "");
    d.colorsUsed = 0xFFFFFFFF;
    EXPECT_NE(refusal(test::bmpFile(d)), "");
    d.colorsUsed = 200;  // a packed DIB whose table would swallow the pixels
    EXPECT_NE(refusal(test::packedDib(d)), "");
    // Indices past a one-entry table are bounded: black.
    d = Dib{.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 1, .palette = {0xFFFFFF}};
    d.bits = QByteArray::fromHex("00FF0000");
    const QImage image = test::decoded(test::bmpFile(d));
    EXPECT_EQ(test::rgbAt(image, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(test::rgbAt(image, 1, 0), 0u);
}

TEST(BmpHostile, BadRleStreams) {
    Dib d = smallRle8();
    auto withBits = [&](const char* hex) {
        d.bits = QByteArray::fromHex(hex);
        return test::bmpFile(d);
    };
    // Runs and literals past the row end are cut at the row; deltas past the top stop.
    EXPECT_EQ(test::rgbAt(test::decoded(withBits("FF01"
                                                 "0005"
                                                 "0101010101"
                                                 "00"
                                                 "0001")),
                          3, 1),
              0xFFFFFFu);
    EXPECT_FALSE(test::decoded(withBits("000200FF"
                                        "0401"))
                     .isNull());
    EXPECT_FALSE(test::decoded(withBits("0002FF00"
                                        "0001"))
                     .isNull());
    // Streams that end before the bitmap does are refused.
    EXPECT_NE(refusal(withBits("0401")), "");
    EXPECT_NE(refusal(withBits("0401"
                               "0000"
                               "0006"
                               "0101")),
              "");  // literal cut short
    EXPECT_NE(refusal(withBits("0002"
                               "01")),
              "");  // delta cut short
    // Compressed top-down bitmaps do not exist.
    d.bits = QByteArray::fromHex("0001");
    d.height = -2;
    EXPECT_NE(refusal(test::bmpFile(d)), "");
}

}  // namespace
}  // namespace nt
