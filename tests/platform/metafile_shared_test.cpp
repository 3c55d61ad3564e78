// The shared WMF/EMF files against the reference renderings a GDI implementation made of
// them, scored as the shared comparer scores them: a 3x3 box blur of both pictures, the mean
// difference divided by the reference's ink, at most 0.3.

#include <cmath>
#include <vector>

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTextStream>

#include "platform/Picture.h"

namespace {

const QString kRoot = QStringLiteral(NT_TESTDATA_DIR "/metafile/");

// Every shared file but those whose reference is known to differ from what Windows draws
// (gdi-ref/doubtful.txt) and these five, where the reference itself is wrong:
// - LibreOffice_landscape.emf, LibreOffice_line_styles.emf: dashed and user-styled
//   ExtCreatePen pens, which the reference renderer still draws with the pen selected before;
// - LibreOffice_test.emf: a line of glyph indexes in a Hebrew Arial, for which the renderer
//   picks another face;
// - LibreOffice_TestDrawString.emf: Calibri text, which the renderer draws in Liberation
//   Sans; we draw Carlito, Calibri's metric twin, as Windows draws Calibri;
// - LibreOffice_rotimage2.emf: bitmaps under turning world transforms, which the renderer
//   draws unturned (squashed to the turned corners' bounds, or not at all at an eighth of a
//   turn); we turn them, as Windows does, into the red frames the file draws around them.
const char* const kPassing[] = {
    "emf/chromium/test4.emf",
    "emf/dotnet-runtime-assets/runtime-assets_milkmateya01.emf",
    "emf/libgdiplus/libgdiplus_image57.emf",
    "emf/libgdiplus/libgdiplus_test.emf",
    "emf/libreoffice/LibreOffice_1.emf",
    "emf/libreoffice/LibreOffice_20000532000076E3000072DCFAEC1969.emf",
    "emf/libreoffice/LibreOffice_37281_reduced.emf",
    "emf/libreoffice/LibreOffice_60638_shape2.emf",
    "emf/libreoffice/LibreOffice_DrawLineWithTexture.emf",
    "emf/libreoffice/LibreOffice_ETO_PDY.emf",
    "emf/libreoffice/LibreOffice_TestCreatePen.emf",
    "emf/libreoffice/LibreOffice_TestDrawLine.emf",
    "emf/libreoffice/LibreOffice_TestDrawStringTransparent.emf",
    "emf/libreoffice/LibreOffice_TestLinearGradient.emf",
    "emf/libreoffice/LibreOffice_TextMapMode.emf",
    "emf/libreoffice/LibreOffice_TextureBrush.emf",
    "emf/libreoffice/LibreOffice_TileImage.emf",
    "emf/libreoffice/LibreOffice_bug3.emf",
    "emf/libreoffice/LibreOffice_bug3a.EMF",
    "emf/libreoffice/LibreOffice_bug3d.EMF",
    "emf/libreoffice/LibreOffice_computer_mail.emf",
    "emf/libreoffice/LibreOffice_emf.emf",
    "emf/libreoffice/LibreOffice_fdo48916.emf",
    "emf/libreoffice/LibreOffice_fdo79679-2.emf",
    "emf/libreoffice/LibreOffice_image004.emf",
    "emf/libreoffice/LibreOffice_image1 (1).emf",
    "emf/libreoffice/LibreOffice_image1 (2).emf",
    "emf/libreoffice/LibreOffice_image1.emf",
    "emf/libreoffice/LibreOffice_image15.emf",
    "emf/libreoffice/LibreOffice_image21.emf",
    "emf/libreoffice/LibreOffice_image3.emf",
    "emf/libreoffice/LibreOffice_sign with bold border.emf",
    "emf/libreoffice/LibreOffice_sine_wave.emf",
    "emf/libreoffice/LibreOffice_tdf104771-no-text.emf",
    "emf/libreoffice/LibreOffice_tdf39894.emf",
    "emf/libreoffice/LibreOffice_test-bug-70710.emf",
    "emf/libreoffice/LibreOffice_test_libuemf_p_ref.emf",
    "emf/libreoffice/LibreOffice_test_libuemf_ref30.emf",
    "emf/libyal-dtformats/libyal_Memo.emf",
    "emf/pillow/drawing.emf",
    "wmf/dotnet-runtime-assets/runtime-assets_telescope_01.wmf",
    "wmf/imagemagick/ImageMagick_clock.wmf",
    "wmf/imagemagick/ImageMagick_wizard.wmf",
    "wmf/libreoffice/libreoffice_47243_wmf1.wmf",
    "wmf/libreoffice/libreoffice_B_DNA.wmf",
    "wmf/libreoffice/libreoffice_ETO_PDY.wmf",
    "wmf/libreoffice/libreoffice_OSS-Artwork-stackframe.wmf",
    "wmf/libreoffice/libreoffice_astable.wmf",
    "wmf/libreoffice/libreoffice_dbggfx0.wmf",
    "wmf/libreoffice/libreoffice_image1 (1).wmf",
    "wmf/libreoffice/libreoffice_image1.wmf",
    "wmf/libreoffice/libreoffice_problemcausing_200000620005A6F10001B215A12FD2C0.wmf",
    "wmf/libreoffice/libreoffice_tdf104028_pg2_image.wmf",
    "wmf/libreoffice/libreoffice_tdf39894.wmf",
    "wmf/libreoffice/libreoffice_test_libuemf_ref.wmf",
    "wmf/libreoffice/libreoffice_visio_import_source.wmf",
    "wmf/libyal-dtformats/dtformats_grid.wmf",
    "wmf/pillow/drawing.wmf",
    "wmf/twelvemonkeys/wmf/test.wmf",
};

// Box-blurred channel c (0 red .. 2 blue) of an RGB32 image, edges replicated.
std::vector<float> blurred(const QImage& image, int c) {
    const int w = image.width(), h = image.height();
    std::vector<float> rows(static_cast<std::size_t>(w) * h), out(rows.size());
    const auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };
    for (int y = 0; y < h; ++y) {  // horizontal sums of three
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto v = [&](int x) {
            return float((line[std::clamp(x, 0, w - 1)] >> (16 - 8 * c)) & 0xFF);
        };
        for (int x = 0; x < w; ++x) rows[index(x, y)] = v(x - 1) + v(x) + v(x + 1);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[index(x, y)] = (rows[index(x, std::max(y - 1, 0))] + rows[index(x, y)] +
                                rows[index(x, std::min(y + 1, h - 1))]) /
                               9;
    return out;
}

struct Score {
    double blur = 0, ink = 0;
    bool passes() const { return ink >= 0.01 ? blur / ink <= 0.3 : blur <= 1.0; }
};

Score score(const QImage& ref, const QImage& ours) {
    Score s;
    for (int c = 0; c < 3; ++c) {
        const std::vector<float> r = blurred(ref, c), o = blurred(ours, c);
        double diff = 0, ink = 0;
        for (std::size_t i = 0; i < r.size(); ++i) {
            diff += std::abs(r[i] - o[i]);
            ink += 255.0 - r[i];
        }
        s.blur += diff / double(r.size()) / 3;
        s.ink += ink / double(r.size()) / 3;
    }
    return s;
}

QImage decodeShared(const QString& path) {
    auto result = nt::loadPicture(kRoot + QStringLiteral("files/") + path);
    const auto* image = std::get_if<QImage>(&result);
    return image ? *image : QImage();
}

QString referenceOf(const QString& path) {
    return kRoot + QStringLiteral("gdi-ref/") + QString(path).replace('/', QStringLiteral("__")) +
           QStringLiteral(".png");
}

TEST(MetafileShared, ListedFilesMatchTheirReferences) {
    for (const char* file : kPassing) {
        SCOPED_TRACE(file);
        const QImage ours = decodeShared(QString::fromUtf8(file));
        const QImage ref =
            QImage(referenceOf(QString::fromUtf8(file))).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(ref.isNull());
        ASSERT_EQ(ours.size(), ref.size());
        const Score s = score(ref, ours);
        EXPECT_TRUE(s.passes()) << "rel " << s.blur / s.ink;
    }
}

// Every shared file opens, at the size of its reference (the natural size at 96 dpi, sides
// over 4096 scaled down together).
TEST(MetafileShared, EveryFileOpensAtItsReferenceSize) {
    QFile list(kRoot + QStringLiteral("gdi-ref/results.tsv"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QTextStream in(&list);
    in.readLine();  // the header
    int files = 0;
    while (!in.atEnd()) {
        const QStringList cols = in.readLine().split('\t');
        if (cols.size() < 6) continue;
        SCOPED_TRACE(cols[0].toStdString());
        const QImage ours = decodeShared(cols[0]);
        EXPECT_EQ(ours.size(), QSize(cols[4].toInt(), cols[5].toInt()));
        ++files;
    }
    EXPECT_EQ(files, 67);
}

}  // namespace
