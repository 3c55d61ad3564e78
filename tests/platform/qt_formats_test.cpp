// JPEG through libjpeg and GIF through our decoder: sizes, damaged and cut files; file errors.

#include <map>
#include <optional>

#include <gmock/gmock.h>
#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>

#include "PictureTestSupport.h"

namespace nt {
namespace {

using test::refusal;
using test::rgbAt;
using testing::HasSubstr;

QByteArray jpeg(const QImage& image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

QByteArray jpeg(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFF2080C0);
    return jpeg(image);
}

// Colour indices 0..3 from a fixed generator: long scans and long LZW streams.
std::vector<int> noise(int count) {
    std::vector<int> out;
    std::uint32_t seed = 1;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        out.push_back(static_cast<int>(seed >> 16 & 3));
    }
    return out;
}

QImage noiseImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    const std::vector<int> values = noise(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* v = &values[3 * (y * w + x)];
            image.setPixel(x, y, qRgb(v[0] * 85, v[1] * 85, v[2] * 85));
        }
    return image;
}

// A GIF LZW encoder: codes grow to 12 bits and a full table is cleared, as encoders do.
QByteArray lzwCodes(const std::vector<int>& pixels, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    std::map<std::pair<int, int>, int> table;
    int width = minCodeSize + 1, next = clear + 2;
    QByteArray packed;
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, acc >>= 8)
            packed.append(static_cast<char>(acc & 0xFF));
    };
    put(clear);
    int prefix = -1;
    for (int pixel : pixels) {
        if (prefix < 0) {
            prefix = pixel;
            continue;
        }
        if (auto found = table.find({prefix, pixel}); found != table.end()) {
            prefix = found->second;
            continue;
        }
        put(prefix);
        table[{prefix, pixel}] = next++;
        if (next > (1 << width) && width < 12) ++width;
        if (next == 4096) {
            put(clear);
            table.clear();
            width = minCodeSize + 1;
            next = clear + 2;
        }
        prefix = pixel;
    }
    if (prefix >= 0) put(prefix);
    put(clear + 1);
    if (bits > 0) packed.append(static_cast<char>(acc & 0xFF));
    return packed;
}

// The code size byte, the codes in sub-blocks of up to 255 bytes, the terminator.
QByteArray subBlocks(int minCodeSize, const QByteArray& codes) {
    QByteArray b(1, static_cast<char>(minCodeSize));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray part = codes.mid(at, 255);
        b.append(static_cast<char>(part.size()));
        b += part;
    }
    return b + QByteArray(1, '\0');
}

struct GifFrame {
    std::vector<int> pixels;
    int left = 0, top = 0, width = 2, height = 2;
    bool interlaced = false;
    std::optional<QByteArray> codes{};  // instead of the pixels' codes
};

// A GIF with a 4-colour table (red, green, blue, white); index 3 is transparent when asked.
QByteArray gif(int screenWidth, int screenHeight, const std::vector<GifFrame>& frames,
               bool transparent) {
    QByteArray b("GIF89a");
    test::put16(b, screenWidth);
    test::put16(b, screenHeight);
    b += QByteArray::fromHex("810000FF000000FF000000FFFFFFFF");
    for (const auto& frame : frames) {
        if (transparent) b += QByteArray::fromHex("21F9040100000300");
        b += '\x2C';
        for (int v : {frame.left, frame.top, frame.width, frame.height}) test::put16(b, v);
        b += frame.interlaced ? '\x40' : '\0';
        b += subBlocks(2, frame.codes ? *frame.codes : lzwCodes(frame.pixels, 2));
    }
    return b + QByteArray(1, '\x3B');
}

QByteArray gif(const std::vector<std::vector<int>>& frames, bool transparent) {
    std::vector<GifFrame> all;
    for (const auto& pixels : frames) all.push_back({pixels});
    return gif(2, 2, all, transparent);
}

TEST(QtFormats, JpegDecodesAndEveryTruncationIsRefused) {
    const QByteArray file = jpeg(19, 7);
    const QImage image = test::decoded(file);
    EXPECT_EQ(image.size(), QSize(19, 7));
    EXPECT_NEAR(qRed(image.pixel(9, 3)), 0x20, 3);
    EXPECT_NEAR(qGreen(image.pixel(9, 3)), 0x80, 3);
    EXPECT_NEAR(qBlue(image.pixel(9, 3)), 0xC0, 3);
    QImage grey(5, 3, QImage::Format_Grayscale8);
    grey.fill(0x70);
    EXPECT_NEAR(test::decoded(jpeg(grey)).pixel(2, 1) & 0xFFFFFF, 0x707070, 0x030303);
    for (qsizetype length = 0; length < file.size(); length += 7)
        EXPECT_NE(refusal(file.left(length)), "") << length;
    EXPECT_NE(refusal(file.left(file.size() - 2)), "");  // no end-of-image marker
}

// Libjpeg skips bytes before a marker with a warning; other viewers open such files.
TEST(QtFormats, JpegJunkBeforeAMarkerIsSkipped) {
    const QByteArray file = jpeg(19, 7);
    ASSERT_TRUE(file.startsWith(QByteArray::fromHex("FFD8FFE00010")));
    QByteArray beforeTables = file, beforeFrame = file, shortApp = file;
    beforeTables.insert(file.indexOf("\xFF\xDB"), "junk!");
    beforeFrame.insert(file.indexOf("\xFF\xC0"), "junk!");
    shortApp[5] = 7;  // APP0 ends inside its JFIF fields, the rest is junk
    for (const QByteArray& damaged : {beforeTables, beforeFrame, shortApp}) {
        const QImage image = test::decoded(damaged);
        EXPECT_EQ(image.size(), QSize(19, 7));
        EXPECT_NEAR(qGreen(image.pixel(9, 3)), 0x80, 3);
    }
}

// The end-of-image marker is no proof: the entropy-coded data must be all there.
TEST(QtFormats, JpegCutInsideItsScansIsRefused) {
    for (bool progressive : {false, true}) {
        const QByteArray file = jpeg(noiseImage(64, 48), progressive);
        const qsizetype first = file.indexOf("\xFF\xDA"), last = file.lastIndexOf("\xFF\xDA");
        ASSERT_GT(first, 0);
        std::vector<qsizetype> cuts{first + 40, (first + file.size()) / 2, file.size() - 30};
        if (progressive) cuts.push_back(last);  // the last scan is missing altogether
        for (qsizetype cut : cuts)
            EXPECT_NE(refusal(file.left(cut) + "\xFF\xD9"), "") << progressive << " " << cut;
        EXPECT_EQ(refusal(file), "");
    }
}

TEST(QtFormats, HugeJpegIsRefusedBeforeDecoding) {
    QByteArray file = jpeg(8, 8);
    const qsizetype sof = file.indexOf(QByteArray::fromHex("FFC0"));
    ASSERT_GT(sof, 0);
    file[sof + 5] = file[sof + 7] = '\xEA';  // 60000 x 60000
    file[sof + 6] = file[sof + 8] = '\x60';
    EXPECT_THAT(refusal(file), HasSubstr("limit"));
}

TEST(QtFormats, GifGivesItsFirstFrameOnTheMatte) {
    const QByteArray file = gif({{0, 1, 2, 3}, {1, 1, 1, 1}}, true);
    QImage image = test::decoded(file, rgb(9, 8, 7));
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(rgbAt(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgbAt(image, 1, 0), 0x00FF00u);
    EXPECT_EQ(rgbAt(image, 0, 1), 0x0000FFu);
    EXPECT_EQ(rgbAt(image, 1, 1), 0x090807u);
    image = test::decoded(gif({{3, 2, 1, 0}}, false));
    EXPECT_EQ(rgbAt(image, 0, 0), 0xFFFFFFu);
}

TEST(QtFormats, GifFrameSitsOnItsScreenAndTheRestTakesTheMatte) {
    const Colour matte = rgb(9, 8, 7);
    QImage image = test::decoded(gif(2010, 2010, {{{1}, 3, 4, 1, 1}}, false), matte);
    ASSERT_EQ(image.size(), QSize(2010, 2010));
    EXPECT_EQ(rgbAt(image, 3, 4), 0x00FF00u);
    EXPECT_EQ(rgbAt(image, 0, 0), 0x090807u);
    EXPECT_EQ(rgbAt(image, 2009, 2009), 0x090807u);
    // A frame running past the screen's corner is cut there.
    image = test::decoded(gif(3, 2, {{{0, 1, 2, 0}, 2, 1}}, false), matte);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(rgbAt(image, 2, 1), 0xFF0000u);
    EXPECT_EQ(rgbAt(image, 1, 1), 0x090807u);
    EXPECT_EQ(rgbAt(image, 2, 0), 0x090807u);
}

TEST(QtFormats, GifCodesGrowToTwelveBitsAndInterlacedRowsFindTheirPlace) {
    const std::uint32_t colours[] = {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu};
    const std::vector<int> pixels = noise(300 * 200);  // fills the code table several times
    QImage image = test::decoded(gif(300, 200, {{pixels, 0, 0, 300, 200}}, false));
    ASSERT_EQ(image.size(), QSize(300, 200));
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) wrong += rgbAt(image, x, y) != colours[pixels[y * 300 + x]];
    EXPECT_EQ(wrong, 0);
    // Five interlaced rows are stored in the order 0, 4, 2, 1, 3.
    image = test::decoded(gif(1, 5, {{{0, 1, 2, 3, 0}, 0, 0, 1, 5, true}}, false));
    const int rowOf[] = {0, 4, 2, 1, 3};
    const int stored[] = {0, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rgbAt(image, 0, rowOf[i]), colours[stored[i]]) << i;
}

// Both still end with the sub-block terminator and the trailer.
TEST(QtFormats, GifWhoseCodesEndBeforeTheFrameIsFullIsRefused) {
    EXPECT_NE(refusal(gif(2, 2, {{{0, 1, 2}}}, false)), "");  // end code after 3 pixels
    const QByteArray codes = lzwCodes(noise(40 * 40), 2);
    EXPECT_EQ(refusal(gif(40, 40, {{{}, 0, 0, 40, 40, false, codes}}, false)), "");
    EXPECT_NE(
        refusal(gif(40, 40, {{{}, 0, 0, 40, 40, false, codes.left(codes.size() / 2)}}, false)), "");
}

TEST(QtFormats, DamagedGifsAreRefused) {
    const QByteArray file = gif({{0, 1, 2, 3}, {1, 1, 1, 1}}, false);
    for (qsizetype length = 0; length < file.size(); ++length)
        EXPECT_NE(refusal(file.left(length)), "") << length;
    QByteArray empty = file.left(6 + 7 + 12) + QByteArray(1, '\x3B');
    EXPECT_THAT(refusal(empty), HasSubstr("no image"));
    QByteArray zeroWidth = file;
    zeroWidth[6] = zeroWidth[7] = '\0';
    EXPECT_NE(refusal(zeroWidth), "");
    QByteArray bigCodes = file;
    bigCodes[6 + 7 + 12 + 10] = 12;  // LZW code size
    EXPECT_NE(refusal(bigCodes), "");
}

TEST(QtFormats, OtherFormatsAreNotPictures) {
    QImage image(2, 2, QImage::Format_RGB32);
    QByteArray ppm;
    QBuffer buffer(&ppm);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ppm");
    EXPECT_NE(refusal(ppm), "");
}

TEST(PictureFiles, MissingFilesAndFoldersReportTheirKind) {
    QTemporaryDir dir;
    auto missing = loadPicture(dir.filePath("none.bmp"));
    ASSERT_TRUE(std::holds_alternative<PictureError>(missing));
    EXPECT_EQ(std::get<PictureError>(missing).kind, PictureError::Kind::NotFound);
    auto folder = loadPicture(dir.path());
    ASSERT_TRUE(std::holds_alternative<PictureError>(folder));
    EXPECT_EQ(std::get<PictureError>(folder).kind, PictureError::Kind::AccessDenied);
    QFile junk(dir.filePath("junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\xFF\xD8\xFF\xE0 not really");
    junk.close();
    auto bad = loadPicture(junk.fileName());
    ASSERT_TRUE(std::holds_alternative<PictureError>(bad));
    EXPECT_EQ(std::get<PictureError>(bad).kind, PictureError::Kind::InvalidPicture);
}

}  // namespace
}  // namespace nt
