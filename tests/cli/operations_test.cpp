// The batch tool's operations, run as a program on small asymmetric pictures.
#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

#include "imageops/NeighbourFilters.h"
#include "imageops/Random.h"
#include "imageops/RandomFilters.h"
#include "platform/Picture.h"
#include "surface/Colour.h"

namespace {

struct CliRun {
    int code = -1;
    QString err;
    QImage output;
};

class CliOperations : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // 7 x 5, every pixel different, so flips and shifts show.
        input = QImage(7, 5, QImage::Format_RGB32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                input.setPixel(x, y, qRgb(30 * x + 5, 40 * y + 3, 10 * x + 20 * y));
        ASSERT_FALSE(nt::savePictureBmp(input, dir.filePath("in.bmp")));
    }

    CliRun cli(const QStringList& ops) {
        const QString out = dir.filePath(QStringLiteral("out%1.bmp").arg(counter++));
        QProcess p;
        p.start(QStringLiteral(NT_CLI_PATH), QStringList{dir.filePath("in.bmp"), out} + ops);
        EXPECT_TRUE(p.waitForFinished(30000));
        CliRun r{p.exitCode(), QString::fromUtf8(p.readAllStandardError()), {}};
        auto loaded = nt::loadPicture(out);
        if (auto* img = std::get_if<QImage>(&loaded)) r.output = *img;
        return r;
    }

    QTemporaryDir dir;
    QImage input;
    int counter = 0;
};

}  // namespace

TEST_F(CliOperations, PointOperationsFollowTheirDefinitions) {
    const CliRun inv = cli({"invert"});
    ASSERT_EQ(inv.code, 0) << inv.err.toStdString();
    const CliRun gray = cli({"gray"});
    const CliRun noRed = cli({"remove-red"});
    const CliRun rgb = cli({"rgb", "100", "-100", "7"});
    const CliRun bright = cli({"brightness", "-50"});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const QRgb c = input.pixel(x, y);
            EXPECT_EQ(inv.output.pixel(x, y), qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)));
            const int g = (qRed(c) + qGreen(c) + qBlue(c)) / 3;
            EXPECT_EQ(gray.output.pixel(x, y), qRgb(g, g, g));
            EXPECT_EQ(noRed.output.pixel(x, y), qRgb(0, qGreen(c), qBlue(c)));
            EXPECT_EQ(rgb.output.pixel(x, y),
                      qRgb(std::min(255, qRed(c) + 100), std::max(0, qGreen(c) - 100),
                           std::min(255, qBlue(c) + 7)));
            EXPECT_EQ(bright.output.pixel(x, y),
                      qRgb(std::max(0, qRed(c) - 50), std::max(0, qGreen(c) - 50),
                           std::max(0, qBlue(c) - 50)));
        }
}

TEST_F(CliOperations, GeometryAndOrder) {
    const CliRun v = cli({"flip-v"});
    const CliRun h = cli({"flip-h"});
    const CliRun both = cli({"flip-v", "flip-h"});
    const CliRun once = cli({"flip-both"});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(v.output.pixel(x, y), input.pixel(6 - x, y)) << "flip-v mirrors left-right";
            EXPECT_EQ(h.output.pixel(x, y), input.pixel(x, 4 - y)) << "flip-h mirrors top-bottom";
            EXPECT_EQ(both.output.pixel(x, y), input.pixel(6 - x, 4 - y));
        }
    EXPECT_EQ(once.output, both.output);
    const CliRun stretched = cli({"stretch", "14", "3"});
    ASSERT_EQ(stretched.code, 0) << stretched.err.toStdString();
    EXPECT_EQ(stretched.output.size(), QSize(14, 3));
    const CliRun framed = cli({"frame", "1", "#FF0000"});
    EXPECT_EQ(framed.output.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(framed.output.pixel(6, 4), qRgb(255, 0, 0));
    EXPECT_EQ(framed.output.pixel(3, 2), input.pixel(3, 2));
}

TEST_F(CliOperations, RandomOperationsRepeatFromTheFixedStartAndShareOneGenerator) {
    const CliRun a = cli({"noise", "20", "diffuse"});
    const CliRun b = cli({"noise", "20", "diffuse"});
    ASSERT_EQ(a.code, 0) << a.err.toStdString();
    EXPECT_EQ(a.output, b.output);
    // The same sequence run in process: the diffuse continues the noise's draws.
    QImage expected = input;
    nt::UniformRandom random;
    nt::RasterTarget t(expected, nullptr);
    nt::AddNoise(t, 20, random);
    nt::DiffuseImage(t, random);
    EXPECT_EQ(a.output, expected);
    const CliRun blur3 = cli({"blur-more"});
    const CliRun blur1x3 = cli({"blur", "blur", "blur"});
    EXPECT_EQ(blur3.output, blur1x3.output);
}

TEST_F(CliOperations, RefusedValuesAreUsageErrorsNamingTheOperation) {
    const struct {
        QStringList ops;
        const char* name;
    } rows[] = {
        {{"noise", "40000"}, "noise"},
        {{"stretch", "0", "10"}, "stretch"},
        {{"stretch", "100000", "10"}, "stretch"},
        {{"frame", "99999999", "#000000"}, "frame"},
        {{"frame", "3", "red"}, "frame"},
        {{"rgb", "101", "0", "0"}, "rgb"},
        {{"brightness", "-500"}, "brightness"},
        {{"sharpen", "abc"}, "sharpen"},
        {{"mask", "/no/such/file.bmp"}, "mask"},
        {{"noise"}, "noise"},
    };
    for (const auto& r : rows) {
        const CliRun run = cli(r.ops);
        EXPECT_EQ(run.code, 1) << r.ops.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(r.name))) << run.err.toStdString();
        EXPECT_TRUE(run.output.isNull()) << "nothing is written";
    }
    EXPECT_EQ(cli({"frame", "-3", "#123456"}).output, input) << "a negative frame draws nothing";
}
