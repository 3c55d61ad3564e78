// The tool box, the option lists and the palette hook.
#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include "document/tipbox.h"
#include "mainwindow/frmmain.h"
#include "palette/dColorPallete.h"

void frmmain::Command1_Click(int index) {
    if (index < 0 || index >= nt::kToolCount) return;
    pFillType->setVisible(index == nt::kFill);
    pBrush->setVisible(index == nt::kMagicPen);
    pErase->setVisible(index == nt::kEraser);
    pClone->setVisible(index == nt::kCloneStamp);
    pGrad->setVisible(index == nt::kGradient);
    pTextStyle->setVisible(index == nt::kText);
    const bool noWidth = index == nt::kPicker || index == nt::kSelect || index == nt::kFill ||
                         index == nt::kMagicPen || index == nt::kCloneStamp ||
                         index == nt::kGradient || index == nt::kText;
    pDrawWidth->setVisible(!noWidth);
    // Hiding the style list leaves the canvas's line style as it was.
    const bool style = index != nt::kFreeCurve && index != nt::kPencil;
    lblStyle->setVisible(style);
    cboStyle->setVisible(style);
    state.CurTool = index;
    shpSelect->hide();
    state.CloneNewSource = false;
    shpClone->hide();
    if (index == nt::kCloneStamp)
        tipbox::ShowHint(this, QStringLiteral("请按Alt或Ctrl+鼠标左键,定义新克隆的范围"));
    if (index == nt::kText)
        tipbox::ShowHint(
            this,
            QStringLiteral("请先在上方主面板选择文字样式,然后单击需要放置文字的区域开始设置"));
    showCurrentTool();
}

// The current tool's button shows pressed; none does while no tool is chosen.
void frmmain::showCurrentTool() {
    for (int i = 0; i < nt::kToolCount; ++i)
        Command1[static_cast<size_t>(i)]->setChecked(i == state.CurTool);
}

void frmmain::cboDW_Click() {
    if (cboDW->currentIndex() < 0) return;
    canvas().DrawWidth = static_cast<std::int16_t>(cboDW->currentText().toInt());
}

void frmmain::cboStyle_Click() {
    if (cboStyle->currentIndex() < 0) return;
    canvas().DrawStyle = cboStyle->currentIndex();
}

void frmmain::cboCloneSize_Click() {
    if (cboCloneSize->currentIndex() < 0) return;
    const int side = cboCloneSize->currentText().toInt();
    shpClone->setSize(side, side);
}

void frmmain::dColorPallete1_ItemClick() {
    // Runs before the palette applies the pressed swatch: the caption shows colour 1 as it was.
    Label10->setText(QString::number(static_cast<std::int32_t>(dColorPallete1->Color1())));
}
