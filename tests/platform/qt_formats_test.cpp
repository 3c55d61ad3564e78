// JPEG and GIF through Qt's readers, with our size and completeness checks; file errors.

#include <gmock/gmock.h>
#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include "PictureTestSupport.h"

namespace nt {
namespace {

using test::refusal;
using test::rgbAt;
using testing::HasSubstr;

QByteArray jpeg(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFF808080);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "jpeg", 90));
    return bytes;
}

// LZW codes of 3 bits: a clear code before every two pixels keeps the table from growing.
QByteArray lzw(const std::vector<int>& pixels) {
    std::vector<int> codes;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) codes.push_back(4);
        codes.push_back(pixels[i]);
    }
    codes.push_back(5);
    QByteArray packed;
    std::uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        bits += 3;
        for (; bits >= 8; bits -= 8, acc >>= 8) packed.append(static_cast<char>(acc & 0xFF));
    }
    if (bits > 0) packed.append(static_cast<char>(acc & 0xFF));
    QByteArray blocks;
    blocks.append('\2');  // minimum code size
    blocks.append(static_cast<char>(packed.size()));
    return blocks + packed + QByteArray(1, '\0');
}

// A 2x2 GIF with a 4-colour table and two frames; index 3 is transparent when asked.
QByteArray gif(const std::vector<std::vector<int>>& frames, bool transparent) {
    QByteArray b("GIF89a");
    test::put16(b, 2);
    test::put16(b, 2);
    b += QByteArray::fromHex(
        "810000"
        "FF0000"
        "00FF00"
        "0000FF"
        "FFFFFF");
    for (const auto& frame : frames) {
        if (transparent)
            b += QByteArray::fromHex(
                "21F904010000"
                "0300");
        b += QByteArray::fromHex(
            "2C"
            "00000000"
            "02000200"
            "00");
        b += lzw(frame);
    }
    return b + QByteArray(1, '\x3B');
}

TEST(QtFormats, JpegDecodesAndEveryTruncationIsRefused) {
    const QByteArray file = jpeg(19, 7);
    const QImage image = test::decoded(file);
    EXPECT_EQ(image.size(), QSize(19, 7));
    EXPECT_NEAR(qRed(image.pixel(9, 3)), 0x80, 2);
    for (qsizetype length = 0; length < file.size(); length += 7)
        EXPECT_NE(refusal(file.left(length)), "") << length;
    EXPECT_NE(refusal(file.left(file.size() - 2)), "");  // no end-of-image marker
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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    EXPECT_NE(refusal(png), "");
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
