#pragma once

#include <QRectF>
#include <QWidget>

namespace nt {

// A rectangle shape over the canvas (the selection and the clone marker): a dashed outline
// through both corner pixels of its area. The pointer passes through it to the canvas.
class RectShape : public QWidget {
    Q_OBJECT
  public:
    explicit RectShape(QWidget* canvas);

    // Left, top, width and height in canvas pixels.
    QRectF area() const { return area_; }
    void setArea(const QRectF& area);
    void moveTo(double left, double top) {
        setArea(QRectF(left, top, area_.width(), area_.height()));
    }
    void setSize(double width, double height) {
        setArea(QRectF(area_.left(), area_.top(), width, height));
    }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QRectF area_;
};

}  // namespace nt
