#pragma once

// frmSnapshots: the window "快照历史" of "快照历史(&T)...": the session's minute snapshots,
// newest first, each with its time and, as soon as it is read, its thumbnail and size.
//
// How the Edit command uses it:
//   const QString path = frmSnapshots::ShowModal(session.timeline().snapshots(), this);
//   if (!path.isEmpty()) { ...load it as Restore loads "backup.bmp"... }
// "确定", Enter or a double click choose the selected snapshot; "取消" or Escape choose none.

#include <memory>
#include <vector>

#include <QDialog>

#include "document/SnapshotTimeline.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace nt {
class ThumbnailLoader;
}

class frmSnapshots : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kThumbSide = 128;

    // The file of the snapshot chosen, or an empty text.
    static QString ShowModal(std::vector<nt::SnapshotTimeline::Snapshot> snapshots, QWidget* owner);

    explicit frmSnapshots(std::vector<nt::SnapshotTimeline::Snapshot> snapshots,
                          QWidget* owner = nullptr);
    ~frmSnapshots() override;

    QLabel* Label1 = nullptr;
    QListWidget* lstSnapshots = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    QString chosen() const;

  signals:
    void thumbnailShown(int row);  // for tests

  private:
    std::vector<nt::SnapshotTimeline::Snapshot> snapshots_;
    std::unique_ptr<nt::ThumbnailLoader> loader_;
};
