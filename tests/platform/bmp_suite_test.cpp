// The public BMP suite's good files, each against its reference picture.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "PictureTestSupport.h"

namespace nt {
namespace {

const QString kBmpDir = QStringLiteral(NT_TESTDATA_DIR "/bmp");

struct SuiteFile {
    QString file;
    QStringList references;
};

std::vector<SuiteFile> manifest() {
    QFile f(kBmpDir + "/MANIFEST.tsv");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << "missing test data in " << kBmpDir.toStdString();
    std::vector<SuiteFile> files;
    QTextStream in(&f);
    in.readLine();  // column names
    while (!in.atEnd()) {
        const QStringList cols = in.readLine().split('\t');
        if (cols.size() < 3) continue;
        files.push_back({cols[0], cols[2].split(',', Qt::SkipEmptyParts)});
    }
    return files;
}

// The first differing pixel, or an empty text when the RGB of both pictures is equal.
std::string difference(const QImage& got, const QImage& want) {
    if (got.size() != want.size()) return "size differs";
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if ((got.pixel(x, y) & 0xFFFFFF) != (want.pixel(x, y) & 0xFFFFFF))
                return QStringLiteral("pixel (%1,%2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y) & 0xFFFFFF, 6, 16, QChar('0'))
                    .arg(want.pixel(x, y) & 0xFFFFFF, 6, 16, QChar('0'))
                    .toStdString();
    return {};
}

TEST(BmpSuite, EveryGoodFileMatchesItsReference) {
    const auto files = manifest();
    ASSERT_EQ(files.size(), 27u);
    for (const SuiteFile& entry : files) {
        SCOPED_TRACE(entry.file.toStdString());
        auto result = loadPicture(kBmpDir + "/" + entry.file);
        ASSERT_TRUE(std::holds_alternative<QImage>(result))
            << std::get<PictureError>(result).reason;
        const QImage image = std::get<QImage>(result);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        ASSERT_FALSE(entry.references.isEmpty());
        std::string why = "no reference of the same size";
        for (const QString& ref : entry.references) {
            const QImage want(kBmpDir + "/ref/" + ref);
            ASSERT_FALSE(want.isNull()) << ref.toStdString();
            if (want.size() == image.size()) why = difference(image, want);
            if (why.empty()) break;
        }
        EXPECT_EQ(why, "");
    }
}

// Without its 14-byte file header each file is a packed DIB and must give the same picture.
TEST(BmpSuite, PackedDibsMatchTheirFiles) {
    for (const SuiteFile& entry : manifest()) {
        SCOPED_TRACE(entry.file.toStdString());
        QFile f(kBmpDir + "/" + entry.file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const QImage whole = test::decoded(bytes);
        const QImage packed = test::decoded(bytes.mid(14));
        EXPECT_EQ(difference(packed, whole), "");
    }
}

// The name never decides the format: a bitmap named like a JPEG or a DIB still opens.
TEST(BmpSuite, FormatComesFromContentNotName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = kBmpDir + "/g/pal8.bmp";
    const QImage want = std::get<QImage>(loadPicture(source));
    for (const char* name : {"a.dib", "b.rle", "c.jpg", "d.gif", "noextension"}) {
        const QString copy = dir.filePath(name);
        ASSERT_TRUE(QFile::copy(source, copy));
        auto result = loadPicture(copy);
        ASSERT_TRUE(std::holds_alternative<QImage>(result)) << name;
        EXPECT_EQ(std::get<QImage>(result), want) << name;
    }
}

}  // namespace
}  // namespace nt
