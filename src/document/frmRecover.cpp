#include "document/frmRecover.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/FileErrors.h"
#include "document/ThumbnailIcon.h"
#include "platform/Picture.h"

namespace {

QString describe(const nt::RecoveryOffer& offer) {
    return QStringLiteral("%1 × %2 像素\n%3")
        .arg(offer.size.width())
        .arg(offer.size.height())
        .arg(offer.written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

}  // namespace

std::optional<QImage> frmRecover::ShowModal(std::vector<nt::RecoveryOffer> offers, QWidget* owner) {
    frmRecover dialog(std::move(offers), owner);
    dialog.exec();
    return dialog.restored();
}

frmRecover::frmRecover(std::vector<nt::RecoveryOffer> offers, QWidget* owner)
    : QDialog(owner), offers_(std::move(offers)) {
    setObjectName(QStringLiteral("frmRecover"));
    setWindowTitle(QStringLiteral("恢复未保存的图片"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Label1 = new QLabel(QStringLiteral("NorvalyTintora 上次没有正常关闭，下面的图片还没有保存。"
                                       "恢复一张继续画，或者放弃它。"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lstPictures = new QListWidget(this);
    lstPictures->setObjectName(QStringLiteral("lstPictures"));
    lstPictures->setIconSize(QSize(kThumbSide, kThumbSide));
    lstPictures->setSpacing(4);
    for (const nt::RecoveryOffer& offer : offers_)
        new QListWidgetItem(nt::thumbnailIcon(offer.thumbnail), describe(offer), lstPictures);
    lstPictures->setCurrentRow(0);
    connect(lstPictures, &QListWidget::itemDoubleClicked, this, [this] { cmdRestore_Click(); });

    cmdRestore = new QPushButton(QStringLiteral("恢复(&R)"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setDefault(true);  // Enter restores the selected picture, the newest at first
    cmdDiscard = new QPushButton(QStringLiteral("放弃(&D)"), this);
    cmdDiscard->setObjectName(QStringLiteral("cmdDiscard"));
    cmdDiscard->setAutoDefault(false);
    connect(cmdRestore, &QPushButton::clicked, this, &frmRecover::cmdRestore_Click);
    connect(cmdDiscard, &QPushButton::clicked, this, &frmRecover::cmdDiscard_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdDiscard);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lstPictures);
    layout->addLayout(buttons);
    resize(440, 380);
}

void frmRecover::cmdRestore_Click() {
    const int row = lstPictures->currentRow();
    if (row < 0) return;
    const nt::RecoveryOffer& offer = offers_[static_cast<size_t>(row)];
    nt::PictureResult picture = nt::loadPicture(offer.picture);
    if (auto* error = std::get_if<nt::PictureError>(&picture)) {
        nt::reportFileError(this, *error);  // the file went or changed since it was looked at
        return;
    }
    nt::SessionStore::endOffered(offer);
    restored_ = std::move(std::get<QImage>(picture));
    accept();
}

void frmRecover::cmdDiscard_Click() {
    const int row = lstPictures->currentRow();
    if (row < 0) return;
    nt::SessionStore::endOffered(offers_[static_cast<size_t>(row)]);
    offers_.erase(offers_.begin() + row);
    delete lstPictures->takeItem(row);
    if (offers_.empty()) reject();
}
