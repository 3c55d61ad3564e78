// The batch tool run as a program: exit codes, messages and the files it writes.

#include <algorithm>

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PictureTestSupport.h"
#include "support/ScratchMount.h"

namespace nt {
namespace {

struct CliRun {
    int code = -1;
    QString out, err;
};

CliRun cli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(NT_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

const QString kGood = QStringLiteral(NT_TESTDATA_DIR "/bmp/g");

TEST(Cli, HelpAndUsageErrors) {
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("INPUT OUTPUT [OPERATION [ARG...]]..."))
        << help.out.toStdString();
    // Every operation has its line of help; the flips say which way they mirror.
    const QStringList lines = help.out.split(u'\n');
    for (const char* op : {"invert ", "sharpen K ", "noise A ", "rgb DR DG DB ", "mask FILE "}) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
            return l.startsWith(QStringLiteral("  ") + QString::fromLatin1(op));
        });
        ASSERT_NE(line, lines.end()) << op;
        EXPECT_GT(line->simplified().size(), QString::fromLatin1(op).size() + 10) << op;
    }
    EXPECT_TRUE(help.out.contains(QRegularExpression("flip-v +mirrors left-right")));
    EXPECT_TRUE(help.out.contains(QRegularExpression("flip-h +mirrors top-bottom")));
    EXPECT_TRUE(help.out.contains("-16384 to 16383"));
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("norvalytintora-cli 3.9.0.12\n"));
    EXPECT_EQ(cli({}).code, 1);
    EXPECT_EQ(cli({kGood + "/pal8.bmp"}).code, 1);
    QTemporaryDir dir;
    const CliRun unknown = cli({kGood + "/pal8.bmp", dir.filePath("out.bmp"), "sparkle"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_TRUE(unknown.err.contains("'sparkle'")) << unknown.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out.bmp")));
}

TEST(Cli, UnreadableInputAndUnwritableOutput) {
    QTemporaryDir dir;
    const CliRun missing = cli({dir.filePath("missing.bmp"), dir.filePath("out.bmp")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("missing.bmp")) << missing.err.toStdString();
    QFile junk(dir.filePath("junk.bmp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("BM but nothing else");
    junk.close();
    EXPECT_EQ(cli({junk.fileName(), dir.filePath("out.bmp")}).code, 2);
    const CliRun unwritable = cli({kGood + "/pal8.bmp", dir.filePath("none/out.bmp")});
    EXPECT_EQ(unwritable.code, 3);
    EXPECT_FALSE(unwritable.err.isEmpty());
}

TEST(Cli, FullDiskExitsWithThreeAndKeepsTheOldFile) {
    QTemporaryDir dir;
    ScratchMount disk(dir.path(), "size=64k");
    if (!disk.ok()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString out = dir.filePath("out.bmp");
    ASSERT_EQ(cli({kGood + "/pal1.bmp", out}).code, 0);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    ASSERT_TRUE(disk.leaveFree(0));
    QTemporaryDir elsewhere;
    const QString small = elsewhere.filePath("small.bmp");  // 40 x 40: under 16 KiB
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_FALSE(savePictureBmp(picture, small));
    const CliRun full = cli({small, out});
    EXPECT_EQ(full.code, 3);
    EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(Cli, ConvertsEveryBitmapAndJpegToBmp) {
    QTemporaryDir dir;
    QStringList inputs;
    for (const QString& name : QDir(kGood).entryList({"*.bmp"})) inputs << kGood + "/" + name;
    QImage photo(33, 17, QImage::Format_RGB32);
    photo.fill(0xFF4080C0);
    const QString jpeg = dir.filePath("photo.jpg");
    ASSERT_TRUE(photo.save(jpeg, "jpeg"));
    inputs << jpeg;
    ASSERT_EQ(inputs.size(), 28);
    for (const QString& input : inputs) {
        SCOPED_TRACE(input.toStdString());
        const QString output = dir.filePath("out.bmp");
        ASSERT_EQ(cli({input, output}).code, 0);
        auto written = loadPicture(output);
        ASSERT_TRUE(std::holds_alternative<QImage>(written));
        EXPECT_EQ(std::get<QImage>(written), std::get<QImage>(loadPicture(input)));
    }
}

TEST(Cli, WritesPngOnlyForAnOutputEndingInPng) {
    QTemporaryDir dir;
    const QString input = QStringLiteral(NT_SOURCE_DIR "/fuzz/seeds/png/rgba8.png");
    auto original = loadPicture(input);  // transparency laid on white
    ASSERT_TRUE(std::holds_alternative<QImage>(original));
    QImage inverted = std::get<QImage>(original);
    inverted.invertPixels();
    for (const char* name : {"out.png", "out.jpg", "out"}) {
        SCOPED_TRACE(name);
        const QString output = dir.filePath(QString::fromLatin1(name));
        ASSERT_EQ(cli({input, output, "invert"}).code, 0);
        QFile f(output);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray start = f.read(8);
        EXPECT_EQ(start.startsWith("\x89PNG"), QByteArray(name).endsWith(".png"));
        EXPECT_EQ(start.startsWith("BM"), !QByteArray(name).endsWith(".png"));
        auto written = loadPicture(output);
        ASSERT_TRUE(std::holds_alternative<QImage>(written));
        EXPECT_EQ(std::get<QImage>(written), inverted);
    }
    EXPECT_EQ(cli({input, dir.filePath("none/out.png")}).code, 3);
}

}  // namespace
}  // namespace nt
