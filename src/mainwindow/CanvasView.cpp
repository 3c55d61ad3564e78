#include "mainwindow/CanvasView.h"

#include <QPaintEvent>
#include <QPainter>

namespace nt {

CanvasView::CanvasView(int width, int height, Colour back, const ViewZoom& zoom, QWidget* parent)
    : PictureBox(width, height, back, parent), zoom_(zoom) {}

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
        p.drawImage(r.topLeft(), reductions_.reduced(screen, shift, r), r);
        return;
    }
    magnifyInto(screen, zoom_.magnification(), r, gridShown(), magnified_);
    p.drawImage(r.topLeft(), magnified_, QRect(QPoint(0, 0), r.size()));
}

}  // namespace nt
