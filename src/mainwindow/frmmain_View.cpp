// The View menu: the zoom levels about the view's centre or the pointer, fit to the window,
// and the pixel grid. Zoom changes only how the canvas is shown: the widget's size and its
// scroll position, the handles around it and the shapes over it.
#include <algorithm>
#include <cmath>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "document/Workspace.h"
#include "mainwindow/frmmain.h"

namespace {
constexpr int kWheelNotch = 120;  // one notch of a wheel, in eighths of a degree

QKeySequence ctrl(int key) {
    return QKeySequence(QKeyCombination(Qt::ControlModifier, static_cast<Qt::Key>(key)));
}
}  // namespace

void frmmain::buildView() {
    using F = frmmain;
    mnuView = addSubmenu(menuBar(), "mnuView", QStringLiteral("查看(&V)"));
    // After the canvas menu.
    menuBar()->removeAction(mnuView->menuAction());
    menuBar()->insertAction(mnuStroke, mnuView->menuAction());
    mnuZoomIn = addCommand(mnuView, "mnuZoomIn", QStringLiteral("放大(&I)"), ctrl(Qt::Key_Equal),
                           &F::mnuZoomIn_Click);
    // Ctrl++ too, wherever the keyboard puts the plus (shifted, or on the keypad).
    mnuZoomIn->setShortcuts({ctrl(Qt::Key_Equal), ctrl(Qt::Key_Plus)});
    mnuZoomOut = addCommand(mnuView, "mnuZoomOut", QStringLiteral("缩小(&O)"), ctrl(Qt::Key_Minus),
                            &F::mnuZoomOut_Click);
    mnuActual = addCommand(mnuView, "mnuActual", QStringLiteral("实际大小(&A)"), ctrl(Qt::Key_0),
                           &F::mnuActual_Click);
    mnuFit = addCommand(mnuView, "mnuFit", QStringLiteral("适合窗口(&F)"), QKeySequence(),
                        &F::mnuFit_Click);
    sepaView = addSeparator(mnuView, "sepaView");
    mnuGrid = addCommand(mnuView, "mnuGrid", QStringLiteral("像素网格(&G)"),
                         ctrl(Qt::Key_Apostrophe), &F::mnuGrid_Click);
    mnuGrid->setCheckable(true);
    mnuGrid->setEnabled(zoom_.showsGrid());

    sbarZoom = new QLabel(sbar1);
    sbarZoom->setObjectName(QStringLiteral("sbarZoom"));
    sbarZoom->setMinimumWidth(90);
    sbarZoom->setFrameShape(QFrame::Panel);
    sbarZoom->setFrameShadow(QFrame::Sunken);
    sbar1->addPermanentWidget(sbarZoom);
    sbarZoom->setText(QStringLiteral("缩放:%1%").arg(zoom_.percentText()));
    pHolder->installEventFilter(this);  // Ctrl+wheel over the workspace
}

void frmmain::mnuZoomIn_Click() {
    setZoomLevel(zoom_.level() + 1, viewCentre());
}

void frmmain::mnuZoomOut_Click() {
    setZoomLevel(zoom_.level() - 1, viewCentre());
}

void frmmain::mnuActual_Click() {
    setZoomLevel(nt::ViewZoom::kActualSize, viewCentre());
}

// The whole canvas in view, without scroll bars, from the top-left corner.
void frmmain::mnuFit_Click() {
    const QSize room = pHolder->size() - QSize(nt::kScrollBarThickness, nt::kScrollBarThickness);
    setZoomLevel(nt::ViewZoom::fitLevel(QSize(canvas().width(), canvas().height()), room),
                 viewCentre());
    hBar->setValue(0);
    vBar->setValue(0);
}

// The action has flipped its own check mark already.
void frmmain::mnuGrid_Click() {
    SrcDc->setGrid(mnuGrid->isChecked());
}

QPointF frmmain::viewCentre() const {
    const QSize free = pHolder->size() - QSize(vBar->isVisible() ? vBar->width() : 0,
                                               hBar->isVisible() ? hBar->height() : 0);
    return {free.width() / 2.0, free.height() / 2.0};
}

void frmmain::setZoomLevel(int level, QPointF anchor) {
    // Where between the pixels the anchor points, so the same spot comes back under it.
    const QPointF picture = zoom_.toPictureExact(anchor - QPointF(SrcDc->pos()));
    if (!zoom_.setLevel(level)) return;
    SrcDc->followSurfaceSize();
    LayoutGrips();
    UpdateScrollRanges();
    const auto scrollTo = [](QScrollBar* bar, double value) {
        if (!bar->isEnabled() || !std::isfinite(value)) return;
        bar->setValue(static_cast<int>(
            std::clamp<double>(std::round(value), bar->minimum(), bar->maximum())));
    };
    const QPointF onScreen = picture * zoom_.scale();
    scrollTo(hBar, onScreen.x() - anchor.x());
    scrollTo(vBar, onScreen.y() - anchor.y());
    shpSelect->followZoom();
    shpClone->followZoom();
    mnuGrid->setEnabled(zoom_.showsGrid());
    sbarZoom->setText(QStringLiteral("缩放:%1%").arg(zoom_.percentText()));
}

// Ctrl with the wheel steps one level per notch about the pointer; without Ctrl the wheel
// does what it did before.
bool frmmain::zoomWheel(QWidget* over, QEvent* e) {
    auto* wheel = static_cast<QWheelEvent*>(e);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    wheelRest_ += wheel->angleDelta().y();
    const int notches = wheelRest_ / kWheelNotch;
    wheelRest_ -= notches * kWheelNotch;
    const QPointF inWorkspace =
        over == pHolder ? wheel->position() : wheel->position() + over->pos();
    if (notches != 0) setZoomLevel(zoom_.level() + notches, inWorkspace);
    wheel->accept();
    return true;
}
