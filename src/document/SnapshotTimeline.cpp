#include "document/SnapshotTimeline.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Picture.h"

namespace nt {

namespace {

const QString kPrefix = QStringLiteral("snapshot-");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h * 0xFF51AFD7ED558CCDull;
}

}  // namespace

std::uint64_t pictureFingerprint(const QImage& image) {
    std::uint64_t h =
        mix(static_cast<std::uint64_t>(image.width()), static_cast<std::uint64_t>(image.height()));
    const qsizetype rowBytes = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        qsizetype i = 0;
        for (; i + 8 <= rowBytes; i += 8) {
            std::uint64_t v;
            std::memcpy(&v, row + i, 8);
            h = mix(h, v);
        }
        for (; i < rowBytes; ++i) h = mix(h, row[i]);
    }
    return h;
}

SnapshotTimeline::SnapshotTimeline(QString folder, std::int64_t budget)
    : folder_(std::move(folder)), budget_(budget) {}

QString SnapshotTimeline::dir() const {
    return folder_.isEmpty() ? QDir::currentPath() : folder_;
}

bool SnapshotTimeline::write(const QImage& image, const QString& backupPath) {
    const std::uint64_t fingerprint = pictureFingerprint(image);
    std::optional<QString> kept;
    if (lastWritten_ && *lastWritten_ != fingerprint && QFile::exists(backupPath))
        kept = keepOlder(backupPath);
    const bool ok = !savePictureBmp(image, backupPath).has_value();
    if (ok) {
        lastWritten_ = fingerprint;
    } else if (kept && !QFile::exists(backupPath)) {
        QFile::rename(*kept, backupPath);  // moved, not linked: Restore keeps its file
    }
    prune(backupPath);
    return ok;
}

std::optional<QString> SnapshotTimeline::keepOlder(const QString& backupPath) {
    const QString stamp = QFileInfo(backupPath).lastModified().toString(kTimeFormat);
    // The time, then a count for snapshots written within one millisecond: names sort by age.
    QString name;
    do {
        name = QDir(dir()).filePath(
            kPrefix + stamp + QStringLiteral("-%1.bmp").arg(++keptCount_, 6, 10, QChar(u'0')));
    } while (QFile::exists(name));
    // A second name for the same file costs nothing, and "backup.bmp" stays in place until the
    // new one replaces it; where links are not possible the file is moved.
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(backupPath).toStdString(),
                                      QFile::encodeName(name).toStdString(), error);
    if (error && !QFile::rename(backupPath, name)) return std::nullopt;
    return name;
}

std::vector<SnapshotTimeline::Snapshot> SnapshotTimeline::snapshots() const {
    std::vector<Snapshot> list;
    const QDir d(dir());
    const QFileInfo backup(d.filePath(QStringLiteral("backup.bmp")));
    if (backup.isFile()) list.push_back({backup.filePath(), backup.lastModified()});
    // The names sort by time; newest first.
    for (const QFileInfo& f : d.entryInfoList({kPrefix + QStringLiteral("*.bmp")}, QDir::Files,
                                              QDir::Name | QDir::Reversed))
        list.push_back({f.filePath(), f.lastModified()});
    return list;
}

void SnapshotTimeline::prune(const QString& backupPath) {
    std::int64_t bytes = QFileInfo(backupPath).size();
    int count = 1;
    bool full = false;  // once one does not fit, every older one goes too: no gaps
    const QFileInfoList older = QDir(dir()).entryInfoList({kPrefix + QStringLiteral("*.bmp")},
                                                          QDir::Files, QDir::Name | QDir::Reversed);
    for (const QFileInfo& f : older) {
        full = full || count >= kSnapshots || bytes + f.size() > budget_;
        if (full) {
            QFile::remove(f.filePath());
        } else {
            bytes += f.size();
            ++count;
        }
    }
}

}  // namespace nt
