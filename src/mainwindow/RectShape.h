#pragma once

#include <QRectF>
#include <QWidget>

namespace nt {

class ViewZoom;

// A rectangle shape over the canvas (the selection and the clone marker): a dashed outline
// through both corner pixels of its area. The pointer passes through it to the canvas.
class RectShape : public QWidget {
    Q_OBJECT
  public:
    // Placed over the canvas through the view's zoom when one is given.
    explicit RectShape(QWidget* canvas, const ViewZoom* zoom = nullptr);

    // Left, top, width and height in canvas pixels.
    QRectF area() const { return area_; }
    void setArea(const QRectF& area);
    void moveTo(double left, double top) {
        setArea(QRectF(left, top, area_.width(), area_.height()));
    }
    void setSize(double width, double height) {
        setArea(QRectF(area_.left(), area_.top(), width, height));
    }
    // Places it again after the zoom changed.
    void followZoom() { setArea(area_); }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QRectF area_;
    const ViewZoom* zoom_;
};

}  // namespace nt
