#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QImage>
#include <QString>

namespace nt {

// The session's minute snapshots: "backup.bmp" is the newest, the older ones are kept beside it
// as "snapshot-<time>-<count>.bmp". A snapshot is kept only when the picture changed after it, and
// only the newest kSnapshots that fit in the budget together stay, so big pictures keep fewer.
class SnapshotTimeline {
  public:
    static constexpr int kSnapshots = 10;
    static constexpr std::int64_t kBudget = std::int64_t{1} << 30;  // bytes, one session

    // Snapshots in `folder` ("" for the current directory, resolved at each use).
    explicit SnapshotTimeline(QString folder, std::int64_t budget = kBudget);

    // Writes `image` to `backupPath` as a BMP, first keeping the snapshot there as an older one
    // when the picture differs from it. Meant for the snapshot writer's thread; true when the
    // write succeeded.
    bool write(const QImage& image, const QString& backupPath);

    struct Snapshot {
        QString path;
        QDateTime written;
    };
    // Newest first: "backup.bmp" (when it exists), then the older ones.
    std::vector<Snapshot> snapshots() const;

  private:
    QString dir() const;
    // Keeps the file at `backupPath` under an older snapshot's name; the name it got.
    std::optional<QString> keepOlder(const QString& backupPath);
    void prune(const QString& backupPath);

    QString folder_;
    std::int64_t budget_;
    std::optional<std::uint64_t> lastWritten_;  // fingerprint of the picture in "backup.bmp"
    int keptCount_ = 0;
};

// A fingerprint of the pixels and the size: equal pictures give equal values.
std::uint64_t pictureFingerprint(const QImage& image);

}  // namespace nt
