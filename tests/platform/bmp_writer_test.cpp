// The BMP writer: exact layout, bit-exact round trips, and failed writes that keep old files.

#include <sys/resource.h>
#include <csignal>
#include <random>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "PictureTestSupport.h"
#include "support/ScratchMount.h"

namespace nt {
namespace {

QImage noise(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
    return image;
}

std::uint32_t le32(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(BmpWriter, WritesA24BitBottomUpFileWithPaddedRows) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(0xFF000000);
    image.setPixel(0, 1, 0xFF112233);  // bottom-left: the first pixel in the file
    image.setPixel(2, 0, 0xFFAABBCC);  // top-right: the last one
    const QByteArray file = encodeBmp(image);
    ASSERT_EQ(file.size(), 54 + 2 * 12);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(le32(file, 2), 78u);
    EXPECT_EQ(le32(file, 10), 54u);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), 3u);
    EXPECT_EQ(le32(file, 22), 2u);
    EXPECT_EQ(le32(file, 28), 24u);  // and compression 0 in the next field
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 34), 24u);
    EXPECT_EQ(file.mid(54, 3), QByteArray::fromHex("332211"));
    EXPECT_EQ(file.mid(63, 3), QByteArray(3, '\0'));  // padding
    EXPECT_EQ(file.mid(72, 6), QByteArray::fromHex("CCBBAA000000"));
}

TEST(BmpWriter, RoundTripIsBitExact) {
    for (int w = 1; w <= 9; ++w) {
        const QImage image = noise(w, 5, static_cast<unsigned>(w));
        EXPECT_EQ(test::decoded(encodeBmp(image)), image) << w;
    }
    // Other formats are written through RGB32.
    QImage argb = noise(7, 3, 42).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(test::decoded(encodeBmp(argb)), argb.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(encodeBmp(QImage()).isEmpty());
}

TEST(BmpWriter, ReusedBufferGivesTheSameFileForEverySize) {
    QByteArray reused;
    // Large, then smaller, then larger again: stale bytes from an earlier picture must not
    // survive in the padding or past the end.
    for (const QSize size : {QSize(9, 7), QSize(3, 2), QSize(1, 1), QSize(13, 5)}) {
        QImage img(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                img.setPixel(x, y, qRgb(x * 20, y * 30, 200 - x));
        ASSERT_TRUE(encodeBmpInto(img, reused));
        EXPECT_EQ(reused, encodeBmp(img)) << size.width() << " x " << size.height();
    }
    EXPECT_FALSE(encodeBmpInto(QImage(), reused));
    EXPECT_TRUE(reused.isEmpty());
}

TEST(BmpWriter, SavedFileLoadsBackAndReplacesTheOldOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");  // the name does not change the format
    ASSERT_FALSE(savePictureBmp(noise(4, 4, 1), path));
    const QImage image = noise(640, 700, 2);  // more than one batch of rows
    ASSERT_FALSE(savePictureBmp(image, path));
    auto loaded = loadPicture(path);
    ASSERT_TRUE(std::holds_alternative<QImage>(loaded));
    EXPECT_EQ(std::get<QImage>(loaded), image);
}

TEST(BmpWriter, UnwritablePathsAreReported) {
    QTemporaryDir dir;
    auto error = savePictureBmp(noise(2, 2, 3), dir.filePath("no/such/folder/x.bmp"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, PictureError::Kind::PathNotFound);
    error = savePictureBmp(noise(2, 2, 3), dir.path());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, PictureError::Kind::AccessDenied);
    EXPECT_FALSE(error->reason.empty());
    EXPECT_TRUE(savePictureBmp(QImage(), dir.filePath("empty.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.bmp")));
}

// A file-size limit makes the write fail part way, as a full disk does.
TEST(BmpWriter, FailedWriteLeavesTheOldFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.bmp");
    const QImage old = noise(10, 10, 4);
    ASSERT_FALSE(savePictureBmp(old, path));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = savePictureBmp(noise(200, 200, 5), path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_TRUE(error);
    EXPECT_FALSE(error->reason.empty());
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
}

// A nearly full disk: small files once slipped through a buffered last write that failed.
TEST(BmpWriter, SmallFileOnAFullDiskIsRefusedAndTheOldFileStays) {
    QTemporaryDir dir;
    for (const qint64 freeBytes : {qint64{0}, qint64{8192}}) {
        ScratchMount disk(dir.path(), "size=64k");
        if (!disk.ok()) GTEST_SKIP() << "mounting a small tmpfs needs root";
        const QString path = dir.filePath("keep.bmp");
        ASSERT_FALSE(savePictureBmp(noise(10, 10, 4), path));
        const QByteArray before = bytesOf(path);
        ASSERT_TRUE(disk.leaveFree(freeBytes));
        // 40 x 40 fits in 8 KiB, so the second round writes one that does not.
        const int side = freeBytes == 0 ? 40 : 60;
        const auto error = savePictureBmp(noise(side, side, 5), path);
        ASSERT_TRUE(error) << freeBytes;
        EXPECT_EQ(error->kind, PictureError::Kind::DiskFull) << freeBytes;
        EXPECT_EQ(error->reason, "No space left on device");
        EXPECT_EQ(bytesOf(path), before) << freeBytes;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  (QStringList{QStringLiteral("filler"), QStringLiteral("keep.bmp")}));
    }
}

}  // namespace
}  // namespace nt
