#include "mainwindow/tools/ShapeTool.h"

#include <cmath>

#include "surface/Gdi.h"
#include "surface/Rounding.h"

namespace nt::tools {
namespace {
constexpr int kCorner = 12;  // the rounded rectangle's corner ellipse
}

void drawShape(Surface& canvas, Shape shape, double x0, double y0, double x1, double y1) {
    switch (shape) {
        case Shape::Line:
            canvas.Line(x0, y0, x1, y1);
            return;
        case Shape::Box:
            canvas.Line(x0, y0, x1, y1, {}, BoxMode::Outline);
            return;
        case Shape::FilledBox:
            canvas.Line(x0, y0, x1, y1, {}, BoxMode::Filled);
            return;
        case Shape::Circle:
        case Shape::FilledCircle:
            canvas.Circle(x0, y0, std::hypot(x1 - x0, y1 - y0));
            return;
        case Shape::Ellipse:
        case Shape::FilledEllipse:
            Ellipse(hDC(canvas), roundCoord(x0), roundCoord(y0), roundCoord(x1), roundCoord(y1));
            return;
        case Shape::RoundRect:
        case Shape::FilledRoundRect:
            RoundRect(hDC(canvas), roundCoord(x0), roundCoord(y0), roundCoord(x1), roundCoord(y1),
                      kCorner, kCorner);
            return;
    }
}

bool ShapeTool::filledWithFillColour() const {
    return shape_ == Shape::FilledCircle || shape_ == Shape::FilledEllipse ||
           shape_ == Shape::FilledRoundRect;
}

void ShapeTool::takeDrawingColourAsFill(Surface& canvas) const {
    canvas.FillColor = canvas.ForeColor;
    canvas.FillStyle = 0;
}

void ShapeTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (filledWithFillColour()) takeDrawingColourAsFill(ctx.canvas);
    ctx.canvas.Refresh();
    drawShape(ctx.canvas, shape_, ctx.state.StartX, ctx.state.StartY, e.x, e.y);
}

void ShapeTool::release(ToolContext& ctx, const PointerEvent& e) {
    // The fill colour is taken again here, not only on the last move: a release that comes
    // without any move in between must not fill with a colour left from an earlier stroke.
    if (filledWithFillColour()) takeDrawingColourAsFill(ctx.canvas);
    drawShape(ctx.canvas, shape_, ctx.state.StartX, ctx.state.StartY, e.x, e.y);
}

}  // namespace nt::tools
