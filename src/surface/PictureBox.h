#pragma once

#include <memory>

#include <QWidget>

#include "surface/Surface.h"

namespace nt {

// A picture box widget: shows a Surface's screen image at 1:1 and reports pointer events
// in picture coordinates with the button and shift codes the handlers expect
// (button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt).
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(int width, int height, Colour back, QWidget* parent = nullptr);

    Surface& surface() { return *surface_; }
    const Surface& surface() const { return *surface_; }

    // Resizes the surface (keeping the top-left content) and the widget with it.
    void resizeSurface(int width, int height);
    // Puts a picture in; with autoSize the box takes the picture's size.
    void setPicture(const QImage& picture, bool autoSize);

    static int buttonCode(Qt::MouseButtons b);
    static int shiftCode(Qt::KeyboardModifiers m);

    // Takes the widget's size from the surface again and repaints it all (a view that maps
    // the surface differently has changed its mapping).
    void followSurfaceSize();

  signals:
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void DblClick();
    void KeyDown(int key, int shift);
    void KeyUp(int key, int shift);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

    // A view over the surface maps it through these: the widget's size for the surface, the
    // surface point under a widget position, and what to do when surface pixels changed.
    // The box itself shows the surface 1:1.
    virtual QSize viewSize() const;
    virtual QPointF pictureAt(QPointF widgetPos) const { return widgetPos; }
    virtual void screenChanged(const QRect& surfaceRect);

  private:
    std::unique_ptr<Surface> surface_;
};

}  // namespace nt
