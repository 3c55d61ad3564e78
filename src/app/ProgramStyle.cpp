#include "app/ProgramStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>

namespace nt {
namespace {

constexpr int kSide = 16;

// Two chevrons pointing right, or down when `down`, in the text colour of buttons.
QIcon chevrons(bool down) {
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    if (down) {
        p.translate(kSide, 0);
        p.rotate(90);
    }
    QPainterPath path;
    for (int x : {4, 9}) {
        path.moveTo(x, 4);
        path.lineTo(x + 4, 8);
        path.lineTo(x, 12);
    }
    p.setPen(QPen(QApplication::palette().color(QPalette::ButtonText), 1.5));
    p.drawPath(path);
    return QIcon(picture);
}

}  // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return chevrons(false);
    if (icon == SP_ToolBarVerticalExtensionButton) return chevrons(true);
    return QProxyStyle::standardIcon(icon, option, widget);
}

void installProgramStyle() {
    QApplication::setStyle(new ProgramStyle(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace nt
