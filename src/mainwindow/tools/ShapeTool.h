#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// Shapes spanned by the press point and the pointer.
enum class Shape {
    Line,
    Box,
    FilledBox,
    Circle,  // centred on the press point, through the pointer
    FilledCircle,
    Ellipse,  // inscribed in the box of the two points
    FilledEllipse,
    RoundRect,  // corners 12 x 12
    FilledRoundRect,
};

// Draws the shape from (x0, y0) to (x1, y1) with the canvas's current attributes, on the
// image persistence selects.
void drawShape(Surface& canvas, Shape shape, double x0, double y0, double x1, double y1);

// Rubber-band shapes: every move repaints the screen from the picture and draws the shape
// there only; the release draws it into the picture.
class ShapeTool : public Tool {
  public:
    explicit ShapeTool(Shape shape) : shape_(shape) {}

    void move(ToolContext& ctx, const PointerEvent& e) override;
    void release(ToolContext& ctx, const PointerEvent& e) override;

    Shape shape() const { return shape_; }

  private:
    bool filledWithFillColour() const;
    void takeDrawingColourAsFill(Surface& canvas) const;

    Shape shape_;
};

}  // namespace nt::tools
