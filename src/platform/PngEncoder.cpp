#include <QBuffer>
#include <QImageWriter>

#include "platform/AtomicFile.h"
#include "platform/Picture.h"

namespace nt {

PictureFileType fileTypeForName(const QString& path) {
    return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? PictureFileType::Png
                                                                     : PictureFileType::Bmp;
}

QByteArray encodePng(const QImage& image) {
    if (image.isNull()) return {};
    // Opaque 32-bit pixels make an 8-bit RGB stream: lossless and without an alpha channel.
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(rgb)) return {};
    return bytes;
}

std::optional<PictureError> savePicturePng(const QImage& image, const QString& path) {
    // Compressed in memory first: its size is known only then, and a failed encoding never
    // touches the file.
    const QByteArray bytes = encodePng(image);
    if (bytes.isEmpty())
        return PictureError{"picture is empty or cannot be encoded",
                            PictureError::Kind::InvalidPicture};
    AtomicFile file(path, bytes.size());
    file.write(bytes.constData(), bytes.size());
    return file.commit();
}

std::optional<PictureError> savePicture(const QImage& image, const QString& path,
                                        PictureFileType type) {
    return type == PictureFileType::Png ? savePicturePng(image, path) : savePictureBmp(image, path);
}

}  // namespace nt
