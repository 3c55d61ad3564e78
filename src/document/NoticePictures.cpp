#include "document/NoticePictures.h"

#include <QPainter>
#include <QPainterPath>

namespace nt::notices {
namespace {

constexpr int kSize = 32;

QPixmap blank() {
    QPixmap p(kSize, kSize);
    p.fill(Qt::transparent);
    return p;
}

void disc(QPainter& p, const QColor& fill) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(140), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, kSize - 4, kSize - 4));
}

}  // namespace

QPixmap errorPicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    disc(p, QColor(220, 40, 40));
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
    return pix;
}

QPixmap donePicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    disc(p, QColor(40, 170, 70));
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{9, 16.5}, {14, 21.5}, {23, 11}};
    p.drawPolyline(tick, 3);
    return pix;
}

QPixmap hintPicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    disc(p, QColor(250, 200, 40));
    p.setPen(QPen(QColor(90, 60, 0), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 8), QPointF(16, 18));
    p.drawPoint(QPointF(16, 24));
    return pix;
}

QPixmap warningPicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tri;
    tri.moveTo(16, 3);
    tri.lineTo(30, 28);
    tri.lineTo(2, 28);
    tri.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 190, 30));
    p.drawPath(tri);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 11), QPointF(16, 19));
    p.drawPoint(QPointF(16, 24));
    return pix;
}

QPixmap shredderPicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    // the sheet going in
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9.5, 1.5, 13, 12));
    p.setPen(QColor(170, 170, 190));
    for (int y = 4; y <= 10; y += 3) p.drawLine(12, y, 20, y);
    // the machine
    p.setPen(QPen(QColor(40, 40, 50), 1));
    p.setBrush(QColor(90, 95, 110));
    p.drawRoundedRect(QRectF(3.5, 12.5, 25, 8), 2, 2);
    // the strips coming out
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::white);
    for (int x = 8; x <= 22; x += 4) p.drawRect(QRectF(x + 0.5, 21.5, 2, 8));
    return pix;
}

QPixmap arrowPicture() {
    QPixmap pix = blank();
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(3, 12);
    arrow.lineTo(17, 12);
    arrow.lineTo(17, 5);
    arrow.lineTo(29, 16);
    arrow.lineTo(17, 27);
    arrow.lineTo(17, 20);
    arrow.lineTo(3, 20);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(150, 20, 20), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(225, 60, 50));
    p.drawPath(arrow);
    return pix;
}

}  // namespace nt::notices
