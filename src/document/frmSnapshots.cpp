#include "document/frmSnapshots.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/ThumbnailIcon.h"
#include "document/ThumbnailLoader.h"

namespace {

QString timeText(const QDateTime& t) {
    return t.toString(QStringLiteral("HH:mm:ss"));
}

// Holds the thumbnail's place while the file is read.
QPixmap placeholder(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

}  // namespace

QString frmSnapshots::ShowModal(std::vector<nt::SnapshotTimeline::Snapshot> snapshots,
                                QWidget* owner) {
    frmSnapshots dialog(std::move(snapshots), owner);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : QString();
}

frmSnapshots::frmSnapshots(std::vector<nt::SnapshotTimeline::Snapshot> snapshots, QWidget* owner)
    : QDialog(owner), snapshots_(std::move(snapshots)) {
    setObjectName(QStringLiteral("frmSnapshots"));
    setWindowTitle(QStringLiteral("快照历史"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Label1 = new QLabel(snapshots_.empty() ? QStringLiteral("还没有快照：每分钟保存一次。")
                                           : QStringLiteral("每分钟的快照，最新的在前："),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lstSnapshots = new QListWidget(this);
    lstSnapshots->setObjectName(QStringLiteral("lstSnapshots"));
    lstSnapshots->setViewMode(QListView::IconMode);
    lstSnapshots->setMovement(QListView::Static);
    lstSnapshots->setResizeMode(QListView::Adjust);
    lstSnapshots->setIconSize(QSize(kThumbSide, kThumbSide));
    lstSnapshots->setGridSize(QSize(kThumbSide + 24, kThumbSide + 48));
    lstSnapshots->setWordWrap(true);
    const QIcon waiting(placeholder(kThumbSide));
    QStringList paths;
    for (const auto& s : snapshots_) {
        new QListWidgetItem(waiting, timeText(s.written), lstSnapshots);
        paths << s.path;
    }
    lstSnapshots->setCurrentRow(0);
    connect(lstSnapshots, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setEnabled(!snapshots_.empty());
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lstSnapshots);
    layout->addLayout(buttons);
    resize(5 * (kThumbSide + 24) + 40, 2 * (kThumbSide + 48) + 90);

    loader_ = std::make_unique<nt::ThumbnailLoader>(
        this, paths, kThumbSide, [this](int row, const QImage& thumb, QSize size) {
            QListWidgetItem* item = lstSnapshots->item(row);
            if (!item || thumb.isNull()) return;
            item->setIcon(nt::thumbnailIcon(thumb));
            item->setText(QStringLiteral("%1\n%2 × %3")
                              .arg(timeText(snapshots_[static_cast<size_t>(row)].written))
                              .arg(size.width())
                              .arg(size.height()));
            emit thumbnailShown(row);
        });
}

frmSnapshots::~frmSnapshots() = default;

QString frmSnapshots::chosen() const {
    const int row = lstSnapshots->currentRow();
    return row < 0 ? QString() : snapshots_[static_cast<size_t>(row)].path;
}
