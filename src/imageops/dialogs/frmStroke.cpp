#include "imageops/dialogs/frmStroke.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "globals/Globals.h"
#include "imageops/dialogs/DialogLogic.h"
#include "imageops/dialogs/DialogParts.h"

using namespace nt::dialogs;

namespace {

constexpr int kSwatchWidth = 49;
constexpr int kSwatchHeight = 21;

}  // namespace

void frmStroke::ShowModal(QWidget* owner) {
    frmStroke dialog(owner);
    dialog.exec();
}

frmStroke::frmStroke(QWidget* owner) : QDialog(owner), chooseColour(&askColour) {
    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("边框宽度:"));
    txtWidth = makeTextBox(this, QStringLiteral("txtWidth"), QStringLiteral("1"));
    lblColor = makeLabel(this, QStringLiteral("lblColor"), QStringLiteral("边框颜色:"));
    pColor = new nt::PictureBox(kSwatchWidth, kSwatchHeight, 0x000000, this);
    pColor->setObjectName(QStringLiteral("pColor"));
    pColor->setCursor(Qt::PointingHandCursor);
    cmdok = makeButton(this, QStringLiteral("cmdok"), QStringLiteral("确定"));
    cmdok->setDefault(true);
    cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtWidth, 0, 1);
    grid->addWidget(lblColor, 1, 0);
    grid->addWidget(pColor, 1, 1, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    usePlainFrame(*this, QStringLiteral("frmStroke"), QStringLiteral("图像边框"));

    txtWidth->installEventFilter(this);
    connect(pColor, &nt::PictureBox::MouseUp, this, [this](int button, int, double, double) {
        if (button == 1) pColor_Click();
    });
    connect(cmdok, &QPushButton::clicked, this, &frmStroke::cmdok_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmStroke::cmdCancel_Click);
}

frmStroke::~frmStroke() {
    // Focus leaving the box while the dialog is torn down must not reach the handler.
    txtWidth->removeEventFilter(this);
}

bool frmStroke::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtWidth && e->type() == QEvent::FocusOut) txtWidth_LostFocus();
    return QDialog::eventFilter(watched, e);
}

void frmStroke::pColor_Click() {
    if (!chooseColour) return;
    nt::Surface& swatch = pColor->surface();
    if (const auto chosen = chooseColour(this, swatch.BackColor())) {
        swatch.setBackColor(*chosen);
        swatch.Cls();
    }
}

void frmStroke::txtWidth_LostFocus() {
    const QString text = frameWidthTextOnLeave(txtWidth->text());
    if (text != txtWidth->text()) txtWidth->setText(text);
}

void frmStroke::cmdok_Click() {
    const auto width = readFrameWidth(txtWidth->text());
    if (width.error) {
        showRefusal(this, *width.error);
        return;
    }
    auto& g = nt::globals();
    g.FrameColor = pColor->surface().BackColor();
    g.FrameWidth = width.value;
    g.DialogResult = nt::GlobalSettings::kAccepted;
    accept();
}

void frmStroke::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    QDialog::reject();
}

void frmStroke::reject() {
    cmdCancel_Click();
}
