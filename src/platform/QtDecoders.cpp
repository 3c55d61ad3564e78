#include <mutex>

#include <QBuffer>
#include <QImageReader>

#include "platform/Dib.h"
#include "platform/QtDecoders.h"
#include "surface/Limits.h"

namespace nt {

namespace {

// Qt refuses pictures over its own allocation limit (128 MB by default); ours is checked
// before every decode, so Qt's is raised to match it once.
void matchQtAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        const auto megabytes = static_cast<int>(kMaxPixels * 4 / (1024 * 1024) + 1);
        if (QImageReader::allocationLimit() < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    });
}

}  // namespace

void compositeOnto(QImage& argb, Colour matte) {
    const std::uint32_t mr = redOf(matte), mg = greenOf(matte), mb = blueOf(matte);
    auto blend = [](std::uint32_t c, std::uint32_t m, std::uint32_t a) {
        return (c * a + m * (255 - a) + 127) / 255;
    };
    for (int y = 0; y < argb.height(); ++y) {
        auto* row = reinterpret_cast<Pixel*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const Pixel p = row[x];
            const std::uint32_t a = p >> 24;
            if (a == 255) continue;
            row[x] = 0xFF000000u | blend(p >> 16 & 0xFF, mr, a) << 16 |
                     blend(p >> 8 & 0xFF, mg, a) << 8 | blend(p & 0xFF, mb, a);
        }
    }
    argb.reinterpretAsFormat(QImage::Format_RGB32);
}

PictureResult decodePngWithQt(Bytes data, Colour matte) {
    if (auto incomplete = checkPngComplete(data)) return dib::invalid(*incomplete);
    if (const auto png = readPngHeader(data)) {
        // Refused before libpng sees it.
        if (auto refused = checkSurfaceSize(png->width, png->height)) return dib::invalid(*refused);
    }
    matchQtAllocationLimit();
    QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                             static_cast<qsizetype>(data.size()));
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);  // EXIF orientation is not applied
    const QSize size = reader.size();
    if (!size.isValid()) return dib::invalid("unreadable picture header");
    if (auto refused = checkSurfaceSize(size.width(), size.height())) return dib::invalid(*refused);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return dib::invalid("picture data damaged: " + reader.errorString().toStdString());
    if (image.size() != size) return dib::invalid("picture size differs from its header");
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    image.convertTo(QImage::Format_ARGB32);
    compositeOnto(image, matte);
    return image;
}

}  // namespace nt
