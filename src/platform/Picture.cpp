#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Bmp.h"
#include "platform/Dib.h"
#include "platform/Gif.h"
#include "platform/Icon.h"
#include "platform/Jpeg.h"
#include "platform/QtDecoders.h"
#include "platform/metafile/Metafile.h"

namespace nt {

namespace {

// No supported picture within the surface limit comes near this; larger files are refused
// before they are read into memory.
constexpr qint64 kMaxFileBytes = qint64{1} << 30;

PictureError fileError(PictureError::Kind kind, const QString& why) {
    return PictureError{why.toStdString(), kind};
}

}  // namespace

PictureResult decodePicture(QByteArrayView bytes, Colour matte) {
    const Bytes data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (data.startsWith("BM", 2)) return decodeBmpFile(data, matte);
    if (data.startsWith("BA", 2)) return dib::invalid("OS/2 bitmap arrays are not supported");
    if (looksLikeIcon(data)) return decodeIcon(data, matte);
    if (data.startsWith("\xFF\xD8\xFF", 3)) return decodeJpeg(data);
    if (data.startsWith("GIF87a", 6) || data.startsWith("GIF89a", 6)) return decodeGif(data, matte);
    if (data.startsWith("\x89PNG\r\n\x1a\n", 8)) return decodePngWithQt(data, matte);
    if (mf::detect(data) != mf::Kind::None) return mf::decode(data);
    if (looksLikePackedDib(data)) return decodePackedDib(data, matte);
    return dib::invalid("not a supported picture");
}

PictureResult loadPicture(const QString& path, Colour matte) {
    using Kind = PictureError::Kind;
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!info.absoluteDir().exists()) return fileError(Kind::PathNotFound, "folder not found");
        return fileError(Kind::NotFound, "file not found");
    }
    if (info.isDir()) return fileError(Kind::AccessDenied, "is a folder");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const Kind kind =
            file.error() == QFileDevice::PermissionsError ? Kind::AccessDenied : Kind::ReadFailed;
        return fileError(kind, file.errorString());
    }
    if (file.size() > kMaxFileBytes) return fileError(Kind::InvalidPicture, "file too large");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError ||
        (!file.isSequential() && bytes.size() != file.size()))
        return fileError(Kind::ReadFailed, file.errorString());
    return decodePicture(bytes, matte);
}

}  // namespace nt
