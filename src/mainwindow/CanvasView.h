#pragma once

#include <QImage>
#include <QTimer>

#include "mainwindow/ViewRendering.h"
#include "mainwindow/ViewZoom.h"
#include "surface/PictureBox.h"

namespace nt {

// The canvas widget: the picture box of the canvas seen through the view's zoom. It is as
// large as the zoomed picture, reports pointer positions in picture pixels and paints only
// what is visible: magnified nearest-pixel above 100 %, from cached reductions below.
class CanvasView : public PictureBox {
    Q_OBJECT
  public:
    CanvasView(int width, int height, Colour back, const ViewZoom& zoom, QWidget* parent);

    // The one-pixel grid, shown while the zoom allows it.
    void setGrid(bool on);
    bool gridShown() const { return grid_ && zoom_.showsGrid(); }
    // Parts of a reduced view are still shown from samples, being made between events.
    bool refining() const { return reductions_.pending(); }

  protected:
    QSize viewSize() const override;
    QPointF pictureAt(QPointF widgetPos) const override;
    void screenChanged(const QRect& surfaceRect) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    void refineReductions();

    const ViewZoom& zoom_;
    QTimer refiner_;
    bool grid_ = false;
    QImage magnified_;  // reused between paints
    ReductionCache reductions_;
};

}  // namespace nt
