#include "imageops/dialogs/frmRgb.h"

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

namespace {

constexpr int kViewWidth = 336;
constexpr int kViewHeight = 80;

std::int16_t barValue(const QScrollBar* bar) {
    return static_cast<std::int16_t>(bar->value());
}

}  // namespace

void frmRgb::ShowModal(QWidget* owner, nt::Surface& canvas) {
    frmRgb dialog(canvas, owner);
    dialog.exec();
}

frmRgb::frmRgb(nt::Surface& canvas, QWidget* owner)
    : QDialog(owner), shrunk_(canvas, kPreviewSide) {
    auto* grid = new QGridLayout(this);
    const QString captions[] = {QStringLiteral("红色:"), QStringLiteral("绿色:"),
                                QStringLiteral("蓝色:")};
    for (int i = 0; i < 3; ++i) {
        lblrgb[i] = makeLabel(this, QStringLiteral("lblrgb(%1)").arg(i), captions[i]);
        sbRgb[i] = new QScrollBar(Qt::Horizontal, this);
        sbRgb[i]->setObjectName(QStringLiteral("sbRgb(%1)").arg(i));
        sbRgb[i]->setRange(-nt::kMaxAdjust, nt::kMaxAdjust);
        sbRgb[i]->setSingleStep(1);
        sbRgb[i]->setPageStep(1);
        sbRgb[i]->setValue(0);
        lblValue[i] = makeLabel(this, QStringLiteral("lblValue(%1)").arg(i), QStringLiteral("0"));
        lblValue[i]->setMinimumWidth(
            lblValue[i]->fontMetrics().horizontalAdvance(QStringLiteral("-100 ")));
        grid->addWidget(lblrgb[i], i, 0);
        grid->addWidget(sbRgb[i], i, 1);
        grid->addWidget(lblValue[i], i, 2);
    }
    pView = new nt::PictureBox(kViewWidth, kViewHeight, nt::kSysButtonFace, this);
    pView->setObjectName(QStringLiteral("pView"));
    grid->addWidget(pView, 3, 0, 1, 3);
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("确定"));
    cmdOK->setDefault(true);
    cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 4, 0, 1, 3);
    usePlainFrame(*this, QStringLiteral("frmRgb"), QStringLiteral("红/蓝/绿 调整"));

    for (int i = 0; i < 3; ++i)
        connect(sbRgb[i], &QScrollBar::valueChanged, this, [this, i] { sbRgb_Change(i); });
    connect(cmdOK, &QPushButton::clicked, this, &frmRgb::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRgb::cmdCancel_Click);
    Form_Load();
}

frmRgb::~frmRgb() = default;

void frmRgb::Form_Load() {
    RefreshPreview();
}

void frmRgb::RefreshPreview() {
    shrunk_.drawInto(pView->surface());
}

void frmRgb::sbRgb_Change(int Index) {
    RefreshPreview();
    lblValue[Index]->setText(QString::number(sbRgb[Index]->value()));
    const std::int16_t r = barValue(sbRgb[0]), g = barValue(sbRgb[1]), b = barValue(sbRgb[2]);
    nt::applyToSurface(pView->surface(), [&](nt::RasterTarget& t) { nt::AdjustRgb(t, r, g, b); });
}

void frmRgb::cmdOK_Click() {
    auto& g = nt::globals();
    g.AdjustRed = barValue(sbRgb[0]);
    g.AdjustGreen = barValue(sbRgb[1]);
    g.AdjustBlue = barValue(sbRgb[2]);
    g.DialogResult = nt::GlobalSettings::kAccepted;
    accept();
}

void frmRgb::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
