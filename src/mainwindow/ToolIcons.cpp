#include "mainwindow/ToolIcons.h"

#include <algorithm>

#include <array>
#include <cmath>
#include <functional>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "mainwindow/DrawingState.h"

namespace nt {
namespace {

// Every picture is drawn on a 32 x 32 grid; colours are kept few and strong so the shapes
// read at a glance.
const QColor kInk(20, 20, 20);
const QColor kBlue(40, 90, 200);
const QColor kRed(210, 40, 40);
const QColor kYellow(240, 200, 40);

QPen inkPen(qreal width = 2.0, const QColor& c = kInk) {
    QPen p(c, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void select(QPainter& p) {
    QPen pen = inkPen(1.5);
    pen.setDashPattern({3, 2});
    p.setPen(pen);
    p.drawRect(QRectF(5.5, 7.5, 21, 17));
    p.setPen(inkPen(1.0));
    p.setBrush(Qt::white);
    const QPointF arrow[] = {{18, 16}, {18, 29}, {21, 26}, {24, 31}, {26, 30}, {23, 25}, {27, 25}};
    p.drawPolygon(arrow, 7);
}

void pencil(QPainter& p) {
    p.translate(16, 16);
    p.rotate(45);
    p.setPen(inkPen(1.0));
    p.setBrush(kYellow);
    p.drawRect(QRectF(-4, -13, 8, 18));
    p.setBrush(QColor(235, 190, 150));
    const QPointF tip[] = {{-4, 5}, {4, 5}, {0, 13}};
    p.drawPolygon(tip, 3);
    p.setBrush(kInk);
    const QPointF lead[] = {{-1.5, 10}, {1.5, 10}, {0, 13}};
    p.drawPolygon(lead, 3);
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-4, -15, 8, 3));
}

void line(QPainter& p) {
    p.setPen(inkPen(2.5));
    p.drawLine(QPointF(5, 27), QPointF(27, 5));
}

void starLines(QPainter& p) {
    p.setPen(inkPen(1.5, kBlue));
    const QPointF c(16, 16);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(c, c + QPointF(13 * std::cos(a), 13 * std::sin(a)));
    }
}

void box(QPainter& p, bool filled) {
    p.setPen(inkPen(2.0));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    p.drawRect(QRectF(5, 8, 22, 16));
}

void circle(QPainter& p, bool filled) {
    p.setPen(inkPen(2.0));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 11, 11);
}

void ellipse(QPainter& p, bool filled) {
    p.setPen(inkPen(2.0));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    p.drawEllipse(QRectF(3, 9, 26, 14));
}

void roundRect(QPainter& p, bool filled) {
    p.setPen(inkPen(2.0));
    p.setBrush(filled ? QBrush(kBlue) : Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 8, 22, 16), 5, 5);
}

void fill(QPainter& p) {
    p.setPen(inkPen(1.5));
    p.setBrush(QColor(200, 200, 210));
    const QPointF bucket[] = {{6, 13}, {16, 5}, {25, 14}, {15, 23}};
    p.drawPolygon(bucket, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPainterPath drip;
    drip.moveTo(24, 15);
    drip.cubicTo(28, 20, 30, 24, 27, 27);
    drip.cubicTo(24, 29, 22, 24, 24, 15);
    p.drawPath(drip);
    p.drawRect(QRectF(3, 26, 14, 3));
}

void airbrush(QPainter& p) {
    p.setPen(inkPen(1.0));
    p.setBrush(QColor(160, 160, 170));
    p.drawRoundedRect(QRectF(4, 14, 9, 15), 2, 2);
    p.drawRect(QRectF(7, 10, 3, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    const QPointF dots[] = {{16, 8},  {19, 5},  {21, 10}, {24, 6},  {18, 13}, {26, 11},
                            {23, 15}, {28, 16}, {20, 18}, {25, 20}, {29, 8},  {27, 3}};
    for (const QPointF& d : dots) p.drawEllipse(d, 1.2, 1.2);
}

void freeCurve(QPainter& p) {
    p.setPen(inkPen(2.0, kBlue));
    QPainterPath path;
    path.moveTo(6, 20);
    path.cubicTo(4, 6, 16, 2, 18, 12);
    path.cubicTo(20, 22, 30, 18, 27, 26);
    p.drawPath(path);
    p.setPen(inkPen(1.0));
    p.drawLine(QPointF(6, 20), QPointF(27, 26));
}

void polygon(QPainter& p) {
    const QPointF pts[] = {{5, 25}, {9, 7}, {22, 4}, {28, 17}, {17, 27}};
    p.setPen(inkPen(2.0));
    p.drawPolyline(pts, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    for (const QPointF& v : pts) p.drawRect(QRectF(v.x() - 1.5, v.y() - 1.5, 3, 3));
}

void magicPen(QPainter& p) {
    p.setPen(inkPen(3.0));
    p.drawLine(QPointF(5, 27), QPointF(19, 13));
    p.setPen(inkPen(3.0, Qt::white));
    p.drawLine(QPointF(18, 14), QPointF(20, 12));
    const QColor stars[] = {kRed, kYellow, kBlue, QColor(40, 170, 70)};
    const QPointF where[] = {{24, 7}, {27, 14}, {17, 5}, {28, 3}};
    for (int i = 0; i < 4; ++i) {
        p.setPen(inkPen(1.5, stars[i]));
        const QPointF c = where[i];
        p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
        p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
    }
}

void eraser(QPainter& p) {
    p.translate(16, 17);
    p.rotate(-35);
    p.setPen(inkPen(1.0));
    p.setBrush(QColor(240, 150, 170));
    p.drawRect(QRectF(-3, -6, 14, 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(-13, -6, 10, 12));
}

void picker(QPainter& p) {
    p.translate(16, 16);
    p.rotate(45);
    p.setPen(inkPen(1.0));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(-4, -15, 8, 8), 3, 3);
    p.setBrush(QColor(200, 230, 250));
    p.drawRect(QRectF(-2.5, -7, 5, 15));
    p.setBrush(kRed);
    const QPointF tip[] = {{-2.5, 8}, {2.5, 8}, {0, 14}};
    p.drawPolygon(tip, 3);
}

void cloneStamp(QPainter& p) {
    p.setPen(inkPen(1.0));
    p.setBrush(QColor(150, 100, 60));
    p.drawEllipse(QRectF(11, 3, 10, 8));
    p.drawRect(QRectF(14, 10, 4, 8));
    p.setBrush(QColor(110, 110, 120));
    p.drawRoundedRect(QRectF(6, 18, 20, 5), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(QRectF(6, 25, 20, 4));
}

void gradient(QPainter& p) {
    QLinearGradient g(4, 0, 28, 0);
    g.setColorAt(0, kInk);
    g.setColorAt(1, kRed);
    p.setPen(inkPen(1.0));
    p.setBrush(g);
    p.drawRect(QRectF(4, 7, 24, 18));
}

// A drawn letter rather than a font's glyph: start-up need not load a bold face for one icon.
void text(QPainter& p) {
    QPen pen = inkPen(4.0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    const QPointF letter[] = {{6, 26}, {16, 4}, {26, 26}};
    p.drawPolyline(letter, 3);
    p.drawLine(QPointF(10.5, 18), QPointF(21.5, 18));
    p.setPen(inkPen(1.0, kRed));
    p.drawLine(QPointF(4, 29.5), QPointF(28, 29.5));
}

using Painter = std::function<void(QPainter&)>;

const std::array<Painter, kToolCount>& painters() {
    static const std::array<Painter, kToolCount> all = {
        select,
        pencil,
        line,
        starLines,
        [](QPainter& p) { box(p, false); },
        [](QPainter& p) { box(p, true); },
        [](QPainter& p) { circle(p, false); },
        [](QPainter& p) { circle(p, true); },
        [](QPainter& p) { ellipse(p, false); },
        [](QPainter& p) { ellipse(p, true); },
        [](QPainter& p) { roundRect(p, false); },
        [](QPainter& p) { roundRect(p, true); },
        fill,
        airbrush,
        freeCurve,
        polygon,
        magicPen,
        eraser,
        picker,
        cloneStamp,
        gradient,
        text,
    };
    return all;
}

}  // namespace

QPixmap toolIcon(int index, qreal scale) {
    if (index < 0 || index >= kToolCount) return {};
    // Drawn at the screen's scale, so the pictures stay sharp on high-density screens.
    const int side = qRound(kToolIconSize * std::max<qreal>(scale, 1));
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(static_cast<qreal>(side) / kToolIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    painters()[static_cast<size_t>(index)](p);
    return pixmap;
}

}  // namespace nt
