#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace nt {

AtomicFile::AtomicFile(const QString& path, std::int64_t expectedBytes)
    : path_(path), expected_(expectedBytes), file_(path) {
    // Unbuffered, so every write reaches the file system at once and a full disk fails the
    // write that hit it: a failed flush of buffered bytes inside commit() was seen to go
    // unreported, leaving a short file where the good one stood.
    ok_ = file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

// A short write is retried, so a full disk ends in the failed write that carries the
// system's reason ("No space left on device") rather than a bare short count.
bool AtomicFile::write(const void* bytes, std::int64_t count) {
    const auto* p = static_cast<const char*>(bytes);
    while (ok_ && count > 0) {
        const qint64 written = file_.write(p, count);
        ok_ = written > 0;
        p += written;
        count -= written;
    }
    return ok_;
}

std::optional<PictureError> AtomicFile::commit() {
    if (!ok_ || !file_.flush() || !file_.commit()) return failure();
    // What was committed must be the whole file, never a success over a short one.
    if (QFileInfo(path_).size() != expected_)
        return PictureError{"the written file is incomplete", PictureError::Kind::WriteFailed};
    return std::nullopt;
}

PictureError AtomicFile::failure() const {
    using Kind = PictureError::Kind;
    const QFileInfo info(path_);
    Kind kind = Kind::WriteFailed;
    if (!info.absoluteDir().exists())
        kind = Kind::PathNotFound;
    else if (info.isDir() || file_.error() == QFileDevice::PermissionsError ||
             !QFileInfo(info.absolutePath()).isWritable())
        kind = Kind::AccessDenied;
    else if (const QStorageInfo disk(info.absolutePath()); disk.bytesAvailable() < expected_)
        kind = Kind::DiskFull;
    return PictureError{file_.errorString().toStdString(), kind};
}

}  // namespace nt
