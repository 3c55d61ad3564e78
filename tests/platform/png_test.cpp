// PNG: every colour type opened with its transparency laid on the matte, the size checked
// before decoding, damaged streams refused, and the writer's lossless, atomic files.

#include <random>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "PictureTestSupport.h"
#include "platform/QtDecoders.h"
#include "support/ScratchMount.h"
#include "surface/Limits.h"

namespace nt {
namespace {

using test::decoded;
using test::refusal;

const QString kSeeds = QStringLiteral(NT_SOURCE_DIR "/fuzz/seeds/png/");

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void putBe32(QByteArray& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.append(static_cast<char>(v >> shift & 0xFF));
}

QByteArray chunk(const char* type, const QByteArray& data) {
    QByteArray c;
    putBe32(c, static_cast<std::uint32_t>(data.size()));
    const QByteArray body = QByteArray(type) + data;
    c += body;
    putBe32(c, crc32(body));
    return c;
}

// An 8-bit RGB file of the given size, black, with correct checksums.
QByteArray blackRgbPng(std::uint32_t width, std::uint32_t height) {
    QByteArray header;
    putBe32(header, width);
    putBe32(header, height);
    header += QByteArray::fromHex("0802000000");
    // Enough rows for a small picture; what the refused ones would need is never read.
    const qint64 rowBytes = std::min<qint64>(qint64{width} * 3 + 1, 1 << 20);
    const QByteArray rows(static_cast<qsizetype>(rowBytes * std::min(height, 4u)), '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", {});
}

Colour at(const QImage& image, int x, int y) {
    return fromPixel(image.pixel(x, y));
}

// Straight alpha over a matte channel, rounded as the compositing rounds.
std::uint32_t over(std::uint32_t c, std::uint32_t m, std::uint32_t a) {
    return (c * a + m * (255 - a) + 127) / 255;
}

TEST(PngFiles, EveryColourTypeOpensWithTransparencyLaidOnTheMatte) {
    constexpr Colour kMagenta = 0xFF00FF;
    const Colour halfOnWhite = rgb(over(30, 255, 128), over(100, 255, 128), over(200, 255, 128));
    struct Case {
        const char* file;
        int x, y;
        Colour onWhite, onMagenta;
    } cases[] = {
        {"rgb8.png", 3, 2, rgb(90, 100, 200), rgb(90, 100, 200)},
        {"rgba8.png", 0, 4, kWhite, kMagenta},  // alpha 0
        {"rgba8.png", 1, 2, halfOnWhite, rgb(over(30, 255, 128), over(100, 0, 128), 227)},
        {"rgba8.png", 6, 4, rgb(180, 200, 200), rgb(180, 200, 200)},
        {"pal4-trns.png", 0, 0, kWhite, kMagenta},  // palette entry 0 is transparent
        {"pal4-trns.png", 1, 0, rgb(0, 255, 0), rgb(0, 255, 0)},
        {"pal4-trns.png", 1, 1, rgb(0, 0, 255), rgb(0, 0, 255)},
        {"grey1.png", 0, 0, rgb(0, 0, 0), rgb(0, 0, 0)},
        {"grey1.png", 1, 0, kWhite, kWhite},
        {"grey-alpha16-interlaced.png", 4, 0, kWhite, kMagenta},  // row 0 is transparent
        {"grey-alpha16-interlaced.png", 6, 3, rgb(210, 210, 210), rgb(210, 210, 210)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray file = bytesOf(kSeeds + QString::fromLatin1(c.file));
        ASSERT_FALSE(file.isEmpty());
        const QImage white = decoded(file), magenta = decoded(file, kMagenta);
        ASSERT_EQ(white.size(), QSize(7, 5));
        EXPECT_EQ(at(white, c.x, c.y), c.onWhite) << c.x << "," << c.y;
        // Within one step: the channel rounding of a 50% blend is Qt's and ours together.
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(at(magenta, c.x, c.y) >> shift & 0xFF, c.onMagenta >> shift & 0xFF, 1);
    }
}

TEST(PngFiles, TheSizeIsCheckedBeforeDecoding) {
    EXPECT_EQ(decoded(blackRgbPng(7, 3)).size(), QSize(7, 3));
    EXPECT_EQ(decoded(blackRgbPng(static_cast<std::uint32_t>(kMaxSide), 1)).size(),
              QSize(static_cast<int>(kMaxSide), 1));
    // Beyond the side or the pixel limit, though libpng's own limits would take them.
    EXPECT_NE(refusal(blackRgbPng(static_cast<std::uint32_t>(kMaxSide) + 1, 1)), "");
    EXPECT_NE(refusal(blackRgbPng(20000, 20000)), "");
    EXPECT_NE(refusal(blackRgbPng(0, 5)), "");
    EXPECT_NE(refusal(blackRgbPng(0xFFFFFFFFu, 0xFFFFFFFFu)), "");
}

TEST(PngFiles, DamagedOrTruncatedStreamsAreRefused) {
    const QByteArray file = bytesOf(kSeeds + QStringLiteral("rgb8.png"));
    ASSERT_EQ(decoded(file).size(), QSize(7, 5));
    for (qsizetype length = 0; length < file.size(); ++length)
        EXPECT_NE(refusal(file.left(length)), "") << length;
    const qsizetype idat = file.indexOf("IDAT");
    QByteArray badChecksum = file;
    badChecksum[idat + 4 + 10] = static_cast<char>(badChecksum[idat + 4 + 10] ^ 0x55);
    EXPECT_NE(refusal(badChecksum), "");
    // Image data that ends early, in a well-formed chunk.
    QByteArray rows(5 * (7 * 3 + 1), '\x01');
    QByteArray header;
    putBe32(header, 7);
    putBe32(header, 5);
    header += QByteArray::fromHex("0802000000");
    const QByteArray shortData = QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
                                 chunk("IDAT", qCompress(rows.left(30)).mid(4)) + chunk("IEND", {});
    EXPECT_NE(refusal(shortData), "");
}

TEST(PngFiles, TheContentDecidesNotTheName) {
    QTemporaryDir dir;
    const QString pngAsBmp = dir.filePath(QStringLiteral("really-png.bmp"));
    QFile f(pngAsBmp);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytesOf(kSeeds + QStringLiteral("rgb8.png")));
    f.close();
    auto png = loadPicture(pngAsBmp);
    ASSERT_TRUE(std::holds_alternative<QImage>(png));
    EXPECT_EQ(std::get<QImage>(png).size(), QSize(7, 5));
}

QImage noise(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
    return image;
}

TEST(PngWriter, WritesLossless24BitRgb) {
    for (int w = 1; w <= 9; ++w) {
        const QImage image = noise(w, 4, static_cast<unsigned>(w));
        const QByteArray file = encodePng(image);
        ASSERT_TRUE(file.startsWith("\x89PNG\r\n\x1a\n")) << w;
        EXPECT_EQ(file.mid(24, 2), QByteArray::fromHex("0802")) << w;  // 8 bits, RGB
        EXPECT_EQ(decoded(file), image) << w;
    }
    // The alpha byte is dropped, never blended: the colour beneath stays.
    QImage seeThrough(2, 1, QImage::Format_ARGB32);
    seeThrough.setPixel(0, 0, 0x00123456);
    seeThrough.setPixel(1, 0, 0x80ABCDEF);
    const QImage back = decoded(encodePng(seeThrough));
    EXPECT_EQ(at(back, 0, 0), rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(at(back, 1, 0), rgb(0xAB, 0xCD, 0xEF));
    EXPECT_TRUE(encodePng(QImage()).isEmpty());
}

TEST(PngWriter, OnlyANameEndingInPngIsWrittenAsPng) {
    struct Case {
        const char* name;
        PictureFileType type;
    } cases[] = {
        {"/a/shot.png", PictureFileType::Png}, {"shot.PNG", PictureFileType::Png},
        {"shot.jpg", PictureFileType::Bmp},    {"shot.png.bmp", PictureFileType::Bmp},
        {"shot", PictureFileType::Bmp},        {"/pictures.png/shot", PictureFileType::Bmp},
        {"png", PictureFileType::Bmp},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileTypeForName(QString::fromLatin1(c.name)), c.type) << c.name;
}

TEST(PngWriter, FailedWritesAreReportedAndKeepTheOldFile) {
    QTemporaryDir dir;
    const QImage image = noise(300, 200, 7);
    const auto missing = savePicturePng(image, dir.filePath(QStringLiteral("none/a.png")));
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->kind, PictureError::Kind::PathNotFound);
    const QString good = dir.filePath(QStringLiteral("good.png"));
    ASSERT_FALSE(savePicture(image, good, PictureFileType::Png));
    EXPECT_EQ(decoded(bytesOf(good)), image);

    const QString small = dir.filePath(QStringLiteral("small"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("small")));
    ScratchMount disk(small, "size=64k");
    if (!disk.ok()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString kept = small + QStringLiteral("/kept.png");
    ASSERT_FALSE(savePicturePng(noise(4, 4, 1), kept));
    const QByteArray old = bytesOf(kept);
    const auto full = savePicturePng(image, kept);  // noise does not compress: 180 kB
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->kind, PictureError::Kind::DiskFull);
    EXPECT_EQ(bytesOf(kept), old);
    EXPECT_EQ(QDir(small).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.png"});
}

}  // namespace
}  // namespace nt
