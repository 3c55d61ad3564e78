#include "document/SystemClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>

#include "platform/Picture.h"
#include "surface/Limits.h"

namespace nt {

namespace {

constexpr auto kPng = "image/png";
constexpr auto kQtImage = "application/x-qt-image";  // makes Qt offer its other image types

// What a picture from another program may come as, best first; all are read by content.
constexpr const char* kTakenTypes[] = {kPng,         "image/bmp", "image/x-bmp", "image/x-ms-bmp",
                                       "image/jpeg", "image/gif"};

// The size the picture's header announces, when Qt can read it without decoding.
QSize announcedSize(const QByteArray& bytes) {
    QByteArray raw = bytes;
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

}  // namespace

ClipboardPicture::ClipboardPicture(QImage picture) : picture_(std::move(picture)) {}

QStringList ClipboardPicture::formats() const {
    return {QString::fromLatin1(kPng), QString::fromLatin1(kQtImage)};
}

bool ClipboardPicture::hasFormat(const QString& mimeType) const {
    return formats().contains(mimeType);
}

QVariant ClipboardPicture::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == QLatin1String(kQtImage)) return picture_;
    if (mimeType != QLatin1String(kPng)) return QMimeData::retrieveData(mimeType, type);
    if (png_.isEmpty()) png_ = encodePng(picture_);
    return png_;
}

SystemClipboard::SystemClipboard(QObject* parent) : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &SystemClipboard::changed);
}

void SystemClipboard::changed() {
    if (!QGuiApplication::clipboard()->ownsClipboard()) ++foreignChanges_;
}

void SystemClipboard::offer(const QImage& picture) {
    QGuiApplication::clipboard()->setMimeData(new ClipboardPicture(picture));
    usedChanges_ = foreignChanges_;
}

ForeignPicture SystemClipboard::take() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard() || usedChanges_ == foreignChanges_) return {};
    const QMimeData* data = clipboard->mimeData();
    const QStringList offered = data ? data->formats() : QStringList();
    for (const char* type : kTakenTypes) {
        if (!offered.contains(QLatin1String(type))) continue;
        const QByteArray bytes = data->data(QLatin1String(type));
        const QSize size = announcedSize(bytes);
        // Refused before anything is decoded, and reported again at the next Paste.
        if (size.isValid() && checkSurfaceSize(size.width(), size.height()))
            return {ForeignPicture::Status::TooLarge, {}};
        PictureResult picture = decodePicture(bytes, kWhite);
        if (auto* image = std::get_if<QImage>(&picture)) {
            usedChanges_ = foreignChanges_;
            return {ForeignPicture::Status::Taken, std::move(*image)};
        }
        return {ForeignPicture::Status::Damaged, {}};
    }
    usedChanges_ = foreignChanges_;  // no picture there: the internal clipboard it is
    return {};
}

}  // namespace nt
