#include "document/tipbox.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

#include "document/NoticePictures.h"
#include "surface/Rounding.h"

QPointer<tipbox>& tipbox::current() {
    static QPointer<tipbox> instance;
    return instance;
}

tipbox* tipbox::Instance(QWidget* owner) {
    QPointer<tipbox>& tip = current();
    if (!tip) tip = new tipbox(owner);
    return tip;
}

void tipbox::ShowHint(QWidget* owner, const QString& text) {
    tipbox* tip = Instance(owner);
    tip->show();
    tip->raise();
    tip->Label7->setText(text);
    tip->adjustSize();
}

void tipbox::CanvasMouseMove() {
    tipbox* tip = current();
    if (tip && tip->isVisible()) tip->moveToCanvasSpot();
}

void tipbox::CanvasMouseUp() {
    if (tipbox* tip = current()) tip->hide();
}

QPoint tipbox::placeFor(const QPoint& screenTopLeft, double dpiX, double dpiY) {
    constexpr double kTwipsPerInch = 1440.0;
    return screenTopLeft + QPoint(nt::roundCoord(200.0 * dpiX / kTwipsPerInch),
                                  nt::roundCoord(300.0 * dpiY / kTwipsPerInch));
}

tipbox::tipbox(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("tipbox"));
    // The hint must not take the keyboard from the canvas.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(nt::notices::hintPicture());
    Label7 = new QLabel(QStringLiteral("选择一个区域,按Del可删除或可在菜单栏里选择功能"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 10, 6);
    row->addWidget(Image1);
    row->addWidget(Label7, 1);

    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(Label7),
                       static_cast<QWidget*>(Image1)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    moveToCanvasSpot();
}

tipbox::~tipbox() = default;

bool tipbox::eventFilter(QObject* watched, QEvent* e) {
    // The hint gets out of the way as soon as the pointer touches it.
    if (e->type() == QEvent::MouseMove) hide();
    return QWidget::eventFilter(watched, e);
}

void tipbox::moveToCanvasSpot() {
    const QWidget* owner = parentWidget();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    move(placeFor(screen->geometry().topLeft(), screen->logicalDotsPerInchX(),
                  screen->logicalDotsPerInchY()));
}
