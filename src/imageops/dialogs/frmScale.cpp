#include "imageops/dialogs/frmScale.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "globals/Globals.h"
#include "imageops/dialogs/DialogLogic.h"
#include "imageops/dialogs/DialogParts.h"

using namespace nt::dialogs;

void frmScale::ShowModal(QWidget* owner) {
    frmScale dialog(owner);
    dialog.exec();
}

frmScale::frmScale(QWidget* owner) : QDialog(owner) {
    lblWidth = makeLabel(this, QStringLiteral("lblWidth"), QStringLiteral("宽度:"));
    txtWidth = makeTextBox(this, QStringLiteral("txtWidth"), QString());
    lblheight = makeLabel(this, QStringLiteral("lblheight"), QStringLiteral("高度:"));
    txtHeight = makeTextBox(this, QStringLiteral("txtHeight"), QString());
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("确定"));
    cmdOK->setDefault(true);
    cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblWidth, 0, 0);
    grid->addWidget(txtWidth, 0, 1);
    grid->addWidget(lblheight, 1, 0);
    grid->addWidget(txtHeight, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    usePlainFrame(*this, QStringLiteral("frmScale"), QStringLiteral("图像拉伸"));

    connect(cmdOK, &QPushButton::clicked, this, &frmScale::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmScale::cmdCancel_Click);
    Form_Load();
}

void frmScale::Form_Load() {
    txtWidth->setText(QString::number(nt::globals().NewCanvasWidth));
    txtHeight->setText(QString::number(nt::globals().NewCanvasHeight));
}

void frmScale::cmdOK_Click() {
    const auto size = readStretchSize(txtWidth->text(), txtHeight->text());
    auto& g = nt::globals();
    g.NewCanvasWidth = size.value.width;
    g.NewCanvasHeight = size.value.height;
    if (size.error) {
        // The dialog stays open for correction.
        showRefusal(this, *size.error);
        return;
    }
    g.DialogResult = nt::GlobalSettings::kAccepted;
    accept();
}

void frmScale::cmdCancel_Click() {
    nt::globals().DialogResult = nt::GlobalSettings::kIdle;
    reject();
}
