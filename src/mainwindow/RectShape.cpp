#include "mainwindow/RectShape.h"

#include <algorithm>

#include <QPainter>

#include "mainwindow/ViewZoom.h"
#include "surface/Rounding.h"

namespace nt {

RectShape::RectShape(QWidget* canvas, const ViewZoom* zoom) : QWidget(canvas), zoom_(zoom) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void RectShape::setArea(const QRectF& area) {
    area_ = area;
    // Widget sizes stay within what the window system accepts, whatever the numbers.
    constexpr int kMax = 1 << 24;
    const int l = std::clamp(roundCoord(area.left()), -kMax, kMax);
    const int t = std::clamp(roundCoord(area.top()), -kMax, kMax);
    const int w = std::clamp(roundCoord(area.width()), 0, kMax) + 1;
    const int h = std::clamp(roundCoord(area.height()), 0, kMax) + 1;
    // Zoomed, the outline goes round the picture pixels of both corners.
    const QRect r = zoom_ ? zoom_->toScreen(QRect(l, t, w, h)) : QRect(l, t, w, h);
    setGeometry(r.left(), r.top(), std::clamp(r.width(), 1, kMax), std::clamp(r.height(), 1, kMax));
}

void RectShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(Qt::black, 1, Qt::DashLine);
    p.setPen(pen);
    p.drawRect(QRect(0, 0, width() - 1, height() - 1));
}

}  // namespace nt
