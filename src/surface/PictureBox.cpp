#include "surface/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace nt {

PictureBox::PictureBox(int width, int height, Colour back, QWidget* parent)
    : QWidget(parent), surface_(std::make_unique<Surface>(width, height, back)) {
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    surface_->setScreenListener([this](const QRect& r) { screenChanged(r); });
    followSurfaceSize();
}

QSize PictureBox::viewSize() const {
    return {surface_->width(), surface_->height()};
}

void PictureBox::screenChanged(const QRect& r) {
    // Operations on the surface itself (stretch, open, undo) may change its size.
    if (viewSize() != size())
        followSurfaceSize();
    else
        update(r);
}

void PictureBox::followSurfaceSize() {
    setFixedSize(viewSize());
    update();
}

void PictureBox::resizeSurface(int width, int height) {
    surface_->resize(width, height);
    followSurfaceSize();
}

void PictureBox::setPicture(const QImage& picture, bool autoSize) {
    surface_->setPicture(picture, autoSize);
    followSurfaceSize();
}

int PictureBox::buttonCode(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

int PictureBox::shiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

void PictureBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r.topLeft(), surface_->screen(), r);
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    const QPointF pos = pictureAt(e->position());
    emit MouseDown(buttonCode(e->button()), shiftCode(e->modifiers()), pos.x(), pos.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    const QPointF pos = pictureAt(e->position());
    emit MouseMove(buttonCode(e->buttons()), shiftCode(e->modifiers()), pos.x(), pos.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    const QPointF pos = pictureAt(e->position());
    emit MouseUp(buttonCode(e->button()), shiftCode(e->modifiers()), pos.x(), pos.y());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* e) {
    // Qt reports press, release, double click, release; the double click stands in for
    // the second press, so the handlers see press, release, DblClick, release.
    emit DblClick();
    e->accept();
}

void PictureBox::keyPressEvent(QKeyEvent* e) {
    emit KeyDown(e->key(), shiftCode(e->modifiers()));
    QWidget::keyPressEvent(e);
}

void PictureBox::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) emit KeyUp(e->key(), shiftCode(e->modifiers()));
    QWidget::keyReleaseEvent(e);
}

}  // namespace nt
