#include "mainwindow/CanvasView.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace nt {
namespace {
constexpr int kStripHeight = 32;
}  // namespace

CanvasView::CanvasView(int width, int height, Colour back, const ViewZoom& zoom, QWidget* parent)
    : PictureBox(width, height, back, parent), zoom_(zoom) {
    refiner_.setSingleShot(true);
    connect(&refiner_, &QTimer::timeout, this, &CanvasView::refineReductions);
}

// A slice at a time, so the pointer and the keys are answered in between.
void CanvasView::refineReductions() {
    constexpr int kSliceMs = 15;
    if (!zoom_.reductionShift()) return;
    update(reductions_.refine(surface().screen(), kSliceMs));
    if (reductions_.pending()) refiner_.start(0);
}

void CanvasView::setGrid(bool on) {
    if (grid_ == on) return;
    grid_ = on;
    update();
}

QSize CanvasView::viewSize() const {
    return zoom_.toScreen(QSize(surface().width(), surface().height()));
}

QPointF CanvasView::pictureAt(QPointF widgetPos) const {
    return zoom_.toPicture(widgetPos);
}

void CanvasView::screenChanged(const QRect& r) {
    reductions_.invalidate(r);
    if (viewSize() != size())
        followSurfaceSize();
    else
        update(zoom_.toScreen(r));
}

void CanvasView::paintEvent(QPaintEvent* e) {
    if (zoom_.identity()) {
        reductions_.clear();  // a picture seen at 100 % needs no reductions kept
        PictureBox::paintEvent(e);
        return;
    }
    const QRect r = e->rect() & rect();
    if (r.isEmpty()) return;
    QPainter p(this);
    const QImage& screen = surface().screen();
    if (const int shift = zoom_.reductionShift()) {
        p.drawImage(r.topLeft(), reductions_.shown(screen, shift, r), r);
        if (reductions_.pending() && !refiner_.isActive()) refiner_.start(0);
        return;
    }
    // A strip at a time, so the strip is still in the cache when it is drawn.
    for (int top = r.top(); top <= r.bottom(); top += kStripHeight) {
        const QRect strip(r.left(), top, r.width(), std::min(kStripHeight, r.bottom() + 1 - top));
        magnifyInto(screen, zoom_.magnification(), strip, gridShown(), magnified_);
        p.drawImage(strip.topLeft(), magnified_, QRect(QPoint(0, 0), strip.size()));
    }
}

}  // namespace nt
