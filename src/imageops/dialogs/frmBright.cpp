#include "imageops/dialogs/frmBright.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "globals/Globals.h"
#include "imageops/InputChecks.h"
#include "imageops/PointFilters.h"
#include "imageops/SurfaceOps.h"
#include "surface/SystemColours.h"

using namespace nt::dialogs;

void frmBright::ShowModal(QWidget* owner, nt::Surface& canvas) {
    frmBright dialog(canvas, owner);
    dialog.exec();
}

frmBright::frmBright(nt::Surface& canvas, QWidget* owner)
    : QDialog(owner), shrunk_(canvas, kPreviewSide) {
    lblBrightness = makeLabel(this, QStringLiteral("lblBrightness"), QStringLiteral("亮度"));
    sBar = new QScrollBar(Qt::Vertical, this);
    sBar->setObjectName(QStringLiteral("sBar"));
    sBar->setRange(-nt::kMaxAdjust, nt::kMaxAdjust);
    sBar->setSingleStep(1);
    sBar->setPageStep(1);
    sBar->setValue(0);
    lblValue = makeLabel(this, QStringLiteral("lblValue"), QStringLiteral("0"));
    lblValue->setMinimumWidth(lblValue->fontMetrics().horizontalAdvance(QStringLiteral("-100 ")));
    pView = new nt::PictureBox(kPreviewSide, kPreviewSide, nt::kSysButtonFace, this);
    pView->setObjectName(QStringLiteral("pView"));
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("确定"));
    cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblBrightness, 0, 0);
    grid->addWidget(lblValue, 1, 0, Qt::AlignTop);
    grid->addWidget(sBar, 0, 1, 2, 1);
    grid->addWidget(pView, 0, 2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 3);
    usePlainFrame(*this, QStringLiteral("frmBright"), QStringLiteral("亮度"));

    connect(sBar, &QScrollBar::valueChanged, this, &frmBright::sBar_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmBright::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBright::cmdCancel_Click);
    Form_Load();
}

frmBright::~frmBright() = default;

void frmBright::Form_Load() {
    RefreshPreview();
}

void frmBright::RefreshPreview() {
    shrunk_.drawInto(pView->surface());
}

void frmBright::sBar_Change() {
    RefreshPreview();
    lblValue->setText(QString::number(sBar->value()));
    const auto v = static_cast<std::int16_t>(sBar->value());
    nt::applyToSurface(pView->surface(), [&](nt::RasterTarget& t) { nt::AdjustBrightness(t, v); });
}

void frmBright::cmdOK_Click() {
    auto& g = nt::globals();
    g.DialogResult = nt::GlobalSettings::kBrightnessAccepted;
    g.BrightValue = static_cast<std::int16_t>(sBar->value());
    accept();
}

void frmBright::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
