#include "help/Banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace nt {

namespace {

void paintSky(QPainter& p) {
    QLinearGradient sky(0, 0, 0, kBannerHeight);
    sky.setColorAt(0, QColor(46, 110, 190));
    sky.setColorAt(0.65, QColor(150, 200, 240));
    sky.setColorAt(1, QColor(250, 250, 252));
    p.fillRect(QRect(0, 0, kBannerWidth, kBannerHeight), sky);
}

void paintStroke(QPainter& p) {
    QPainterPath stroke;
    stroke.moveTo(310, 88);
    stroke.cubicTo(350, 24, 400, 104, 462, 30);
    QPen pen(QColor(240, 170, 40), 14, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawPath(stroke);
}

void paintSwatches(QPainter& p) {
    const QColor colours[] = {Qt::black,           QColor(220, 40, 40),  QColor(250, 200, 30),
                              QColor(40, 170, 80), QColor(40, 110, 220), QColor(130, 60, 160)};
    int x = 24;
    p.setPen(QPen(Qt::white, 2));
    for (const QColor& c : colours) {
        p.setBrush(c);
        p.drawEllipse(QRect(x, 88, 18, 18));
        x += 24;
    }
}

void paintName(QPainter& p) {
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(38);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(QPoint(26, 62), QStringLiteral("NorvalyTintora"));
    p.setPen(Qt::white);
    p.drawText(QPoint(24, 60), QStringLiteral("NorvalyTintora"));
}

}  // namespace

QPixmap aboutBanner() {
    QPixmap banner(kBannerWidth, kBannerHeight);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    paintSky(p);
    paintStroke(p);
    paintSwatches(p);
    paintName(p);
    return banner;
}

}  // namespace nt
