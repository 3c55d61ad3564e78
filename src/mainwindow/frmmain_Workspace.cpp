// The workspace around the canvas: the scroll bars and the corner button, the ranges that
// follow the canvas size, and the ring of grips whose right, bottom and corner members
// resize the canvas while they are dragged.
#include <algorithm>
#include <climits>
#include <new>

#include <QScrollBar>
#include <QToolButton>

#include "document/Workspace.h"
#include "mainwindow/frmmain.h"
#include "surface/Limits.h"

namespace {

constexpr int kLeft = 1;
constexpr int kTouchIndex = 3;  // itouch has a single element, index 3
constexpr int kTroughStep = 10;

constexpr nt::Colour kBlack = 0x000000;
constexpr nt::Colour kWhite = 0xFFFFFF;
constexpr nt::Colour kMarkerFill = 0xC0C0C0;
constexpr nt::Colour kMarkerEdge = 0x808080;

// A 6 x 6 box with a one-pixel outline. The grips are picture boxes, as the canvas is, so
// they report presses and moves in their own coordinates with the same button codes.
nt::PictureBox* makeGrip(QWidget* holder, const QString& name, nt::Colour fill, nt::Colour edge) {
    auto* grip = new nt::PictureBox(nt::kGripSize, nt::kGripSize, fill, holder);
    grip->setObjectName(name);
    grip->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the canvas
    grip->surface().Line(0, 0, nt::kGripSize - 1, nt::kGripSize - 1, edge, nt::BoxMode::Outline);
    return grip;
}

QScrollBar* makeBar(Qt::Orientation orientation, QWidget* holder, const char* name) {
    auto* bar = new QScrollBar(orientation, holder);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 0);
    bar->setSingleStep(1);
    bar->setPageStep(kTroughStep);
    // Nothing to scroll until the first layout has measured the workspace.
    bar->setEnabled(false);
    bar->hide();
    return bar;
}

void setScrollMaximum(QScrollBar* bar, int maximum) {
    bar->setEnabled(maximum > 0);
    // A shrinking range pulls the value back, and the change handler moves the canvas.
    bar->setMaximum(std::max(maximum, 0));
}

// The size the project allows on the way to `want`: a side that grows beyond the limit
// stops at it; a corner drag that would pass the pixel count stops where it is.
QSize withinLimit(QSize want, QSize now) {
    long long w = std::min<long long>(want.width(), nt::kMaxSide);
    long long h = std::min<long long>(want.height(), nt::kMaxSide);
    if (w * h > nt::kMaxPixels) {
        if (h == now.height())
            w = nt::kMaxPixels / h;
        else if (w == now.width())
            h = nt::kMaxPixels / w;
        else
            return now;
    }
    const QSize capped(static_cast<int>(w), static_cast<int>(h));
    return nt::checkSurfaceSize(w, h) ? now : capped;
}

}  // namespace

void frmmain::buildWorkspace() {
    for (int i = 0; i < static_cast<int>(pGrip.size()); ++i) {
        const bool drags = i <= 2;
        auto* grip = makeGrip(pHolder, QStringLiteral("pGrip(%1)").arg(i),
                              drags ? kWhite : kMarkerFill, drags ? kBlack : kMarkerEdge);
        connect(grip, &nt::PictureBox::MouseDown, this,
                [this, i](int b, int s, double x, double y) { pGrip_MouseDown(i, b, s, x, y); });
        connect(grip, &nt::PictureBox::MouseMove, this,
                [this, i](int b, int s, double x, double y) { pGrip_MouseMove(i, b, s, x, y); });
        pGrip[static_cast<size_t>(i)] = grip;
    }
    // Grips 1 and 2 show the picture of grip 0.
    for (int i : {1, 2})
        pGrip[static_cast<size_t>(i)]->setPicture(pGrip[0]->surface().Image(), false);
    pGrip[0]->setCursor(Qt::SizeHorCursor);
    pGrip[1]->setCursor(Qt::SizeFDiagCursor);
    pGrip[2]->setCursor(Qt::SizeVerCursor);

    itouch =
        makeGrip(pHolder, QStringLiteral("itouch(%1)").arg(kTouchIndex), kMarkerFill, kMarkerEdge);
    connect(itouch, &nt::PictureBox::MouseDown, this, [this](int b, int s, double x, double y) {
        itouch_MouseDown(kTouchIndex, b, s, x, y);
    });
    connect(itouch, &nt::PictureBox::MouseMove, this, [this](int b, int s, double x, double y) {
        itouch_MouseMove(kTouchIndex, b, s, x, y);
    });

    // Created after the canvas and the grips, so they lie on top of both.
    vBar = makeBar(Qt::Vertical, pHolder, "vBar");
    hBar = makeBar(Qt::Horizontal, pHolder, "hBar");
    // Tracking is on, so the value changes, and the canvas moves, all the way through a drag.
    connect(vBar, &QScrollBar::valueChanged, this, &frmmain::vBar_Change);
    connect(hBar, &QScrollBar::valueChanged, this, &frmmain::hBar_Change);

    pSpacer = new QToolButton(pHolder);
    pSpacer->setObjectName(QStringLiteral("pSpacer"));
    pSpacer->setText(QStringLiteral("S"));
    pSpacer->setToolTip(QStringLiteral("拉伸"));
    pSpacer->setFixedSize(nt::kScrollBarThickness, nt::kScrollBarThickness);
    pSpacer->setFocusPolicy(Qt::NoFocus);
    connect(pSpacer, &QToolButton::clicked, this, &frmmain::pSpacer_Click);
}

// Steps 4 to 11 of the window's layout; the workspace itself was sized just before.
void frmmain::placeScrollBars() {
    // The central widget is the client area without the status bar. A minimised or tiny
    // window leaves no room: the bars keep their places.
    if (const auto l = nt::layoutWorkspace(centralWidget()->size(), 0)) {
        vBar->setGeometry(l->verticalBar);
        hBar->setGeometry(l->horizontalBar);
        pSpacer->move(l->cornerButton.topLeft());
    }
    UpdateScrollRanges();
}

// The bars are also shown or hidden here, so every command that changes the canvas size
// leaves them right without waiting for the next resize of the window.
void frmmain::UpdateScrollRanges() {
    // The ranges count screen pixels of the zoomed canvas, which may pass 16 bits.
    const nt::ScrollRanges r =
        nt::scrollRanges(canvasViewSize(), pHolder->size(), !zoom_.identity());
    setScrollMaximum(vBar, r.verticalMax);
    setScrollMaximum(hBar, r.horizontalMax);
    showScrollBars();
}

void frmmain::showScrollBars() {
    vBar->setVisible(vBar->isEnabled());
    hBar->setVisible(hBar->isEnabled());
}

void frmmain::vBar_Change() {
    SrcDc->move(SrcDc->x(), -vBar->value());
}

void frmmain::hBar_Change() {
    SrcDc->move(-hBar->value(), SrcDc->y());
}

// Placed from the canvas size alone, so they do not follow a scrolled canvas.
void frmmain::LayoutGrips() {
    nt::GripPositions at{};
    for (size_t i = 0; i < pGrip.size(); ++i) at[i] = pGrip[i]->pos();
    at[nt::kTouchGrip] = itouch->pos();
    at = nt::layoutGrips(canvasViewSize(), at);
    for (size_t i = 0; i < pGrip.size(); ++i) pGrip[i]->move(at[i]);
    itouch->move(at[nt::kTouchGrip]);
}

void frmmain::pGrip_MouseDown(int, int button, int, double x, double y) {
    if (button != kLeft) return;
    state.GripStartX = x;
    state.GripStartY = y;
    state.GripDragging = true;
}

// The grip goes back to the canvas edge after every step and the next step is measured from
// the press point inside it, so the edge follows the pointer.
void frmmain::pGrip_MouseMove(int index, int button, int, double x, double y) {
    if ((button & kLeft) && state.GripDragging) {
        dragGripTo(index, x - state.GripStartX, y - state.GripStartY);
        LayoutGrips();
        UpdateScrollRanges();
        SetCanvasSizeText();
    }
    showScrollBars();
}

void frmmain::itouch_MouseDown(int index, int button, int shift, double x, double y) {
    pGrip_MouseDown(index, button, shift, x, y);
}

void frmmain::itouch_MouseMove(int index, int button, int shift, double x, double y) {
    pGrip_MouseMove(index, button, shift, x, y);
}

QSize frmmain::canvasViewSize() const {
    return zoom_.toScreen(QSize(SrcDc->surface().width(), SrcDc->surface().height()));
}

// Only grips 0, 1 and 2 change the size. The picture keeps its top-left corner: a shrink
// cuts off the right or bottom part, a growth shows the background colour. Zoomed, the
// handle moves in screen pixels and the size changes by their distance / zoom.
void frmmain::dragGripTo(int index, double dx, double dy) {
    if (index < 0 || index > 2) return;
    const QSize now(canvas().width(), canvas().height());
    const QSize nowOnScreen = canvasViewSize();
    const QPoint handle = pGrip[static_cast<size_t>(index)]->pos();
    const QSize onScreen = nt::dragGrip(index, handle, dx, dy, nowOnScreen);
    const auto side = [this](int screen, int was, int wasOnScreen) {
        if (screen == wasOnScreen) return was;
        return static_cast<int>(std::min<long long>(zoom_.pictureLength(screen), INT_MAX));
    };
    const QSize want(side(onScreen.width(), now.width(), nowOnScreen.width()),
                     side(onScreen.height(), now.height(), nowOnScreen.height()));
    const QSize next = withinLimit(want, now);
    if (next == now) return;
    try {
        SrcDc->resizeSurface(next.width(), next.height());
    } catch (const nt::SurfaceSizeError&) {
        // out of memory for the larger picture: the edge stays where it was
    } catch (const std::bad_alloc&) {
    }
}

void frmmain::pSpacer_Click() {
    mnuScale_Click();
}
