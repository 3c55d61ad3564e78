// The batch tool over many files and large pictures: band-by-band conversion, its folder mode,
// interruption, and what it prints.
#include <csignal>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "imageops/Geometry.h"
#include "imageops/NeighbourFilters.h"
#include "imageops/PointFilters.h"
#include "platform/Picture.h"
#include "platform/PictureTestSupport.h"

namespace {

struct CliRun {
    int code = -1;
    QString out, err;
};

CliRun cli(const QStringList& arguments, const QProcessEnvironment& env = {}) {
    QProcess p;
    if (!env.isEmpty()) p.setProcessEnvironment(env);
    p.start(QStringLiteral(NT_CLI_PATH), arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Every pixel different along both axes, so a misplaced band or row shows.
QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 + y, y * 3, x ^ y));
    return image;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QImage load(const QString& path) {
    auto loaded = nt::loadPicture(path);
    return std::holds_alternative<QImage>(loaded) ? std::get<QImage>(loaded) : QImage();
}

// Every entry of a folder, hidden ones included.
QStringList entries(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

// Pictures several bands tall, bottom-up and top-down, at three depths: converted a band at a
// time or decoded in halves, they come out as the operations make them in process.
TEST(BatchTool, BandsGiveTheWholePicturesResult) {
    QTemporaryDir dir;
    const QImage source = pattern(701, 1300);
    QByteArray topDown32;
    {
        nt::test::Dib d;
        d.width = 701;
        d.height = -1300;
        d.bitCount = 32;
        for (int y = 0; y < 1300; ++y)
            for (int x = 0; x < 701; ++x) nt::test::put32(d.bits, source.pixel(x, y) & 0xFFFFFF);
        topDown32 = nt::test::bmpFile(d);
    }
    QByteArray palette8;
    {
        nt::test::Dib d;
        d.width = 701;
        d.height = 1300;
        d.bitCount = 8;
        for (int i = 0; i < 256; ++i) d.palette.push_back(static_cast<std::uint32_t>(i * 0x010203));
        std::vector<std::vector<int>> rows(1300, std::vector<int>(701));
        for (int y = 0; y < 1300; ++y)
            for (int x = 0; x < 701; ++x) rows[y][x] = (x + 3 * y) & 0xFF;
        d.bits = nt::test::packIndices(rows, 8);
        palette8 = nt::test::bmpFile(d);
    }
    ASSERT_FALSE(nt::savePictureBmp(source, dir.filePath("bottomup24.bmp")));
    ASSERT_TRUE(writeBytes(dir.filePath("topdown32.bmp"), topDown32));
    ASSERT_TRUE(writeBytes(dir.filePath("palette8.bmp"), palette8));
    // Through operations that keep to their rows or near them (a band at a time, the blurs
    // with rows of the bands beside, three mirrors top to bottom taking the rows in the other
    // order) and one that does not (the whole picture, decoded in halves).
    for (const char* name : {"bottomup24.bmp", "topdown32.bmp", "palette8.bmp"}) {
        SCOPED_TRACE(name);
        const QString in = dir.filePath(name);
        for (const bool flipped : {false, true}) {
            QStringList steps{"invert", "blur", "flip-v", "rgb", "5", "-9", "0", "blur-more"};
            if (flipped)
                steps = QStringList{"flip-h"} + steps + QStringList{"flip-both", "flip-h", "gray"};
            const CliRun banded = cli(QStringList{in, dir.filePath("banded.bmp")} + steps);
            ASSERT_EQ(banded.code, 0) << banded.err.toStdString();
            QImage expected = load(in);
            nt::RasterTarget t(expected, nullptr);
            if (flipped) nt::FlipCanvas(t, 1);
            nt::InvertColors(t);
            nt::BlurImage(t);
            nt::FlipCanvas(t, 0);
            nt::AdjustRgb(t, 5, -9, 0);
            for (int i = 0; i < 3; ++i) nt::BlurImage(t);
            if (flipped) {
                nt::FlipCanvas(t, 2);
                nt::FlipCanvas(t, 1);
                nt::GrayScale(t);
            }
            EXPECT_EQ(load(dir.filePath("banded.bmp")), expected) << flipped;
        }
        ASSERT_EQ(cli({in, dir.filePath("whole.bmp"), "wave"}).code, 0);
        QImage waved = load(in);
        nt::RasterTarget w(waved, nullptr);
        nt::WavePixels(w);
        EXPECT_EQ(load(dir.filePath("whole.bmp")), waved);
    }
}

// A stretch, with steps before and after it, goes through a band at a time from the source
// rows under each band: every pixel as the whole picture's stretch makes it. Noise, so that
// a source row too few or too many at a band's edge shows.
TEST(BatchTool, StretchInBandsGivesTheWholePicturesResult) {
    QTemporaryDir dir;
    QImage noise(701, 1300, QImage::Format_RGB32);
    std::uint32_t v = 7;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            v = v * 1664525u + 1013904223u;
            noise.setPixel(x, y, 0xFF000000u | v >> 8);
        }
    const QString in = dir.filePath("noise.bmp"), out = dir.filePath("stretched.bmp");
    ASSERT_FALSE(nt::savePictureBmp(noise, in));
    for (const auto& [w, h] : {std::pair{333, 2001}, {900, 97}, {701, 1301}}) {
        const QString size[2] = {QString::number(w), QString::number(h)};
        const CliRun run = cli({in, out, "gray", "stretch", size[0], size[1], "invert"});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        QImage gray = noise.copy();
        nt::RasterTarget g(gray, nullptr);
        nt::GrayScale(g);
        QImage want = nt::StretchImage(gray, w, h);
        nt::RasterTarget i(want, nullptr);
        nt::InvertColors(i);
        EXPECT_EQ(load(out), want) << w << " x " << h;
    }
}

TEST(BatchTool, StandardErrorCarriesOnlyItsOwnMessages) {
    QTemporaryDir dir;
    ASSERT_FALSE(nt::savePictureBmp(pattern(40, 30), dir.filePath("in.bmp")));
    const QString metafile =
        QStringLiteral(NT_TESTDATA_DIR "/metafile/files/emf/chromium/test4.emf");
    ASSERT_TRUE(QFile::exists(metafile));
    // As from cron or ssh: no runtime folder, no display, no platform chosen.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    for (const QString& input : {dir.filePath("in.bmp"), metafile}) {
        const CliRun run = cli({input, dir.filePath("out.bmp"), "gray"}, env);
        EXPECT_EQ(run.code, 0) << input.toStdString();
        EXPECT_EQ(run.err, QString()) << input.toStdString();
    }
    const CliRun folder =
        cli({"--out-dir", dir.filePath("all"), dir.filePath("in.bmp"), metafile}, env);
    EXPECT_EQ(folder.code, 0);
    EXPECT_EQ(folder.err, QString());
    const CliRun missing = cli({dir.filePath("none.bmp"), dir.filePath("out.bmp")}, env);
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err.count(u'\n'), 1);
    EXPECT_TRUE(missing.err.startsWith("norvalytintora-cli: cannot read "))
        << missing.err.toStdString();
}

// Good, damaged, missing and clashing files into a folder that already holds files.
TEST(BatchFolder, FailuresAreReportedAndTheOthersGoOn) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(writeBytes(out + "/keep.txt", "not ours"));
    ASSERT_TRUE(writeBytes(out + "/a.bmp", "an old result"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("other")));
    ASSERT_FALSE(nt::savePictureBmp(pattern(50, 20), dir.filePath("a.bmp")));
    ASSERT_TRUE(pattern(31, 17).save(dir.filePath("photo.v2.jpg"), "jpeg"));
    ASSERT_FALSE(nt::savePictureBmp(pattern(9, 9), dir.filePath("other/a.bmp")));
    ASSERT_TRUE(writeBytes(dir.filePath("junk.bmp"), "BM and nothing else"));
    // A PNG stays PNG beside a BMP of the same name; the content decides, not the name.
    ASSERT_TRUE(pattern(12, 7).save(dir.filePath("a.png"), "png"));
    ASSERT_TRUE(QFile::copy(dir.filePath("a.bmp"), dir.filePath("named.png")));
    const QStringList inputs{dir.filePath("a.bmp"),        dir.filePath("junk.bmp"),
                             dir.filePath("photo.v2.jpg"), dir.filePath("missing.png"),
                             dir.filePath("other/a.bmp"),  dir.filePath("a.png"),
                             dir.filePath("named.png")};
    const CliRun run = cli(QStringList{"--out-dir", out} + inputs + QStringList{"blur", "flip-h"});
    EXPECT_EQ(run.code, 4);
    for (const char* named : {"junk.bmp", "missing.png", "other/a.bmp"})
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(named))) << named << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 3) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("4 of 7 written, 3 failed")) << run.out.toStdString();
    EXPECT_EQ(entries(out),
              (QStringList{"a.bmp", "a.png", "keep.txt", "named.bmp", "photo.v2.bmp"}));
    EXPECT_EQ(bytesOf(out + "/keep.txt"), "not ours");
    // Each result is the one the single-file command writes to a name of its type.
    for (const auto& [input, result] : {std::pair{inputs[0], "a.bmp"},
                                        {inputs[2], "photo.v2.bmp"},
                                        {inputs[5], "a.png"},
                                        {inputs[6], "named.bmp"}}) {
        const QString single = dir.filePath("single." + QFileInfo(result).suffix());
        ASSERT_EQ(cli({input, single, "blur", "flip-h"}).code, 0);
        EXPECT_EQ(bytesOf(out + "/" + result), bytesOf(single)) << result;
    }
    // All good: 0. A refused argument stops the run before any file; so does a DIR that is a file.
    EXPECT_EQ(cli({"--out-dir", out, inputs[0], inputs[2], "gray"}).code, 0);
    const CliRun refused = cli({"--out-dir", dir.filePath("new"), inputs[0], "brightness", "300"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("brightness")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("new")));
    EXPECT_EQ(cli({"--out-dir", out + "/keep.txt", inputs[0]}).code, 3);
    EXPECT_EQ(cli({"--out-dir", out, "invert"}).code, 1) << "no FILE";
}

// Ctrl+C while pictures are being made: the run stops, every file in the folder is a whole
// picture, and no temporary file is left behind.
TEST(BatchFolder, InterruptLeavesOnlyWholePictures) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.bmp");
    ASSERT_FALSE(nt::savePictureBmp(pattern(1200, 900), source));
    QStringList arguments{"--out-dir", dir.filePath("out")};
    const int count = 24;
    for (int i = 0; i < count; ++i) {
        const QString link = dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        ASSERT_TRUE(QFile::link(source, link));
        arguments << link;
    }
    arguments << QStringList{"blur-more", "blur-more", "flip-h"};
    QProcess p;
    p.start(QStringLiteral(NT_CLI_PATH), arguments);
    ASSERT_TRUE(p.waitForStarted());
    // Interrupted once the first picture is in place, with the others in flight.
    const QDir out(dir.filePath("out"));
    for (int waited = 0; waited < 30000 && out.entryList(QDir::Files).isEmpty(); waited += 2)
        QThread::msleep(2);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 130);
    EXPECT_TRUE(p.readAllStandardError().contains("interrupted"));
    const QStringList written = entries(dir.filePath("out"));
    EXPECT_GE(written.size(), 1);
    EXPECT_LT(written.size(), count) << "the run went on after Ctrl+C";
    const QByteArray whole = bytesOf(dir.filePath("out/") + written.value(0));
    EXPECT_EQ(whole.size(), 54 + 1200 * 3 * 900);
    for (const QString& name : written) {
        EXPECT_TRUE(name.startsWith(u'p') && name.endsWith(".bmp")) << name.toStdString();
        EXPECT_EQ(bytesOf(dir.filePath("out/") + name), whole) << name.toStdString();
    }
}

// On a terminal a progress line ("n of N, rate") is drawn over itself and cleared before the
// summary; into a pipe or file nothing of it is written.
TEST(BatchFolder, ProgressLineOnlyOnATerminal) {
    QTemporaryDir dir;
    QStringList arguments{"--out-dir", dir.filePath("out")};
    for (int i = 0; i < 3; ++i) {
        arguments << dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        ASSERT_FALSE(nt::savePictureBmp(pattern(40, 30), arguments.back()));
    }
    arguments << "invert";
    const CliRun piped = cli(arguments);
    EXPECT_EQ(piped.code, 0);
    EXPECT_EQ(piped.err, "");
    EXPECT_TRUE(piped.out.startsWith("3 of 3 written, 0 failed")) << piped.out.toStdString();

    // `script` gives the tool a terminal and copies what it shows to its own output.
    QString command = QStringLiteral(NT_CLI_PATH);
    for (const QString& a : arguments) command += QStringLiteral(" '%1'").arg(a);
    QProcess p;
    p.start("script", {"-qec", command, "/dev/null"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString shown = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression progress(
        "\r\x1b\\[K3 of 3, [0-9]+\\.[0-9] files/s\r\x1b\\[K3 of 3 written");
    EXPECT_TRUE(shown.contains(progress)) << shown.toStdString();
}
