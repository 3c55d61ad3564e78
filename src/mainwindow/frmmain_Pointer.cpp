// The pointer pipeline of the canvas: the steps every tool shares, in their fixed order, with
// the tool's own steps at the places reserved for them.
#include <cmath>

#include <QAction>

#include "document/tipbox.h"
#include "mainwindow/frmmain.h"
#include "palette/dColorPallete.h"

namespace {
constexpr int kLeft = 1, kRight = 2;

// Whole pixels as plain integers; anything else with the precision of a float.
QString coordText(double v) {
    if (std::abs(v) < 1e9 && v == std::floor(v)) return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 7);
}
}  // namespace

void frmmain::SrcDc_MouseDown(int button, int shift, double x, double y) {
    nt::Surface& c = canvas();
    // Undo keeps the picture as it was before this press; the file is written in the background.
    undoImage_.takeFrom(c, kUndoCopy);
    if (button == kLeft) c.ForeColor = dColorPallete1->Color1();
    if (button == kRight) c.ForeColor = dColorPallete1->Color2();
    state.StartX = x;
    state.StartY = y;
    state.IsDrawing = true;
    if (nt::tools::Tool* tool = currentTool()) {
        if (tool->movesOnPress()) SrcDc_MouseMove(button, shift, x, y);
        auto ctx = toolContext();
        tool->press(ctx, {button, shift, x, y});
    }
    if (state.CurTool == nt::kSelect) shpSelect->hide();
    c.setAutoRedraw(false);
    c.FillStyle = 1;
}

void frmmain::SrcDc_MouseMove(int button, int shift, double x, double y) {
    if (state.IsDrawing) {
        if (state.IsPasting) PastePreview(x, y);
        if (nt::tools::Tool* tool = currentTool()) {
            auto ctx = toolContext();
            tool->move(ctx, {button, shift, x, y});
        }
    }
    setStatusText(2, coordText(x) + u',' + coordText(y));
    if (state.CurTool == nt::kSelect)
        tipbox::ShowHint(this, QStringLiteral("选择一个区域,按Del可删除或可在菜单栏里选择功能"));
    tipbox::CanvasMouseMove();
}

void frmmain::SrcDc_MouseUp(int button, int shift, double x, double y) {
    const bool selection = !shpSelect->isHidden();
    mnuCopy->setEnabled(selection);
    mnuCut->setEnabled(selection);
    tipbox::CanvasMouseUp();
    nt::Surface& c = canvas();
    c.FillStyle = 1;
    c.setAutoRedraw(true);
    if (state.IsPasting) PastePlace(x, y);
    // A release without its press (the second one of a double click) still runs the tool's
    // release, from the last press point.
    if (nt::tools::Tool* tool = currentTool()) {
        auto ctx = toolContext();
        tool->release(ctx, {button, shift, x, y});
    }
    state.IsPasting = false;
    state.IsDrawing = false;
    c.Refresh();
}

void frmmain::SrcDc_DblClick() {
    state.PolyStarted = false;
}
