#pragma once

#include "mainwindow/tools/Tool.h"

class frmmain;

namespace nt {

// The main window as the paint tools see it: the palette, the option lists, the pattern,
// the brush surfaces and the shared generator, read from the window at each call.
class WindowToolEnvironment : public tools::ToolEnvironment {
  public:
    explicit WindowToolEnvironment(frmmain& window) : w_(window) {}

    Colour paletteColour(int which) const override;
    void setPaletteColour(int which, Colour c) override;
    tools::FillMode fillMode() const override;
    const QImage& fillPattern() const override;
    const Surface& brushPicture() const override;
    Surface& brushWork() override;
    int eraserSize() const override;
    tools::EraserShape eraserShape() const override;
    tools::GradientDirection gradientDirection() const override;
    UniformRandom& random() override;
    QRectF selectionArea() const override;
    void showSelection(const QRectF& area) override;
    QRectF cloneMarker() const override;
    void showCloneMarker(const QRectF& area) override;
    void moveCloneMarker(double left, double top) override;
    void showTextDialog() override;
    bool textShadow() const override;

  private:
    frmmain& w_;
};

}  // namespace nt
