#include "imageops/dialogs/frmMask.h"

#include <variant>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/FileErrors.h"
#include "document/errbox.h"
#include "globals/Globals.h"
#include "imageops/Decorate.h"
#include "imageops/dialogs/DialogLogic.h"
#include "platform/Picture.h"
#include "surface/Gdi.h"

using namespace nt::dialogs;

namespace {

constexpr nt::Colour kSeeThroughColour = nt::fromPixel(nt::kSeeThrough);

}  // namespace

void frmMask::ShowModal(QWidget* owner, nt::Surface& canvas) {
    frmMask dialog(canvas, owner);
    dialog.exec();
}

frmMask::frmMask(nt::Surface& canvas, QWidget* owner)
    : QDialog(owner),
      shrunk_(canvas, kPreviewSide),
      pTmp(std::make_unique<nt::Surface>(1, 1, kSeeThroughColour)) {
    lblMask = makeLabel(this, QStringLiteral("lblMask"), QStringLiteral("图片背景文件:"));
    txtFilename = makeTextBox(this, QStringLiteral("txtFilename"), QString());
    txtFilename->setReadOnly(true);
    txtFilename->setMinimumWidth(240);
    cmdOpen = makeButton(this, QStringLiteral("cmdOpen"), QStringLiteral("..."));
    pView = new nt::PictureBox(kPreviewSide, kPreviewSide, kSeeThroughColour, this);
    pView->setObjectName(QStringLiteral("pView"));
    cmdReset = makeButton(this, QStringLiteral("cmdReset"), QStringLiteral("复位"));
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("确定"));
    CmdCancel = makeButton(this, QStringLiteral("CmdCancel"), QStringLiteral("取消"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblMask, 0, 0, 1, 2);
    grid->addWidget(txtFilename, 1, 0);
    grid->addWidget(cmdOpen, 1, 1);
    grid->addWidget(pView, 2, 0, 1, 2, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdReset);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(CmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    usePlainFrame(*this, QStringLiteral("frmMask"), QStringLiteral("图片背景"));

    connect(cmdOpen, &QPushButton::clicked, this, &frmMask::cmdOpen_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmMask::cmdReset_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmMask::cmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmMask::CmdCancel_Click);
    Form_Load();
}

frmMask::~frmMask() = default;

void frmMask::Form_Load() {
    ResetPreview();
}

void frmMask::ResetPreview() {
    shrunk_.drawInto(pView->surface());
}

void frmMask::cmdOpen_Click() {
    nt::FileDialogRequest request;
    request.open = true;
    request.title = QStringLiteral("Open");
    const QString path = chooseFile ? chooseFile(this, request) : QString();
    if (path.isEmpty()) {
        nt::ShowError(this, nt::errorCodeLine(kCancelErrorNumber), cancelErrorReason());
        return;
    }
    txtFilename->setText(path);
    nt::PictureResult loaded = nt::loadPicture(path, kSeeThroughColour);
    if (const auto* error = std::get_if<nt::PictureError>(&loaded)) {
        nt::reportFileError(this, *error);
        return;
    }
    pMask = std::get<QImage>(std::move(loaded));
    ComposePreview();
}

void frmMask::ComposePreview() {
    const int w = pView->surface().width();
    const int h = pView->surface().height();
    pTmp->resize(w, h);
    // The default stretch mode: no colour averaging, so magenta stays exactly magenta.
    pTmp->draw(true, [&](nt::RasterTarget& t) {
        nt::stretchRect(t, 0, 0, w, h, pMask, 0, 0, pMask.width(), pMask.height(),
                        nt::StretchMode::Nearest);
    });
    nt::TransparentBlt(nt::hDC(pView->surface()), 0, 0, w, h, nt::hDC(*pTmp), 0, 0, w, h,
                       kSeeThroughColour);
    pView->surface().Refresh();
    pTmp->resize(1, 1);
    pTmp->Cls();
    pMask = QImage();
}

void frmMask::cmdReset_Click() {
    ResetPreview();
}

void frmMask::cmdOK_Click() {
    auto& g = nt::globals();
    g.MaskFileName = txtFilename->text();
    g.DialogResult = nt::GlobalSettings::kAccepted;
    accept();
}

void frmMask::CmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
