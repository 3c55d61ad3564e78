#pragma once

#include <QImage>
#include <QRectF>

#include "mainwindow/DrawingState.h"
#include "surface/Colour.h"
#include "surface/Surface.h"

namespace nt {
class UniformRandom;
}

namespace nt::tools {

// One pointer event on the canvas: button 1 left, 2 right, 4 middle (on a move, the set
// held); shift 1 Shift, 2 Ctrl, 4 Alt; position in canvas pixels.
struct PointerEvent {
    int button = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
};

enum class FillMode { Colour, Pattern };                // the fill type list
enum class EraserShape { Square, Round };               // the eraser's shape list
enum class GradientDirection { Horizontal, Vertical };  // the gradient's direction list

// The palette and the option lists as the paint tools see them, and nothing more of the
// window. Each call answers from the controls as they are at that moment, so an option
// takes effect exactly where a tool reads it (the fill type at each press, the eraser's
// size at each dab, the gradient's direction at each release).
class ToolEnvironment {
  public:
    virtual ~ToolEnvironment() = default;
    // Palette colour 1 or 2; setting one updates the palette's display.
    virtual Colour paletteColour(int which) const = 0;
    virtual void setPaletteColour(int which, Colour c) = 0;
    virtual FillMode fillMode() const = 0;
    // The chosen fill pattern; a null image while none is loaded.
    virtual const QImage& fillPattern() const = 0;
    // The magic pen's brush as loaded, and the copy that is recoloured and stamped.
    virtual const Surface& brushPicture() const = 0;
    virtual Surface& brushWork() = 0;
    virtual int eraserSize() const = 0;  // pixels
    virtual EraserShape eraserShape() const = 0;
    virtual GradientDirection gradientDirection() const = 0;
    // The program's one uniform generator, shared with the random filters.
    virtual UniformRandom& random() = 0;
    // The rectangles shown over the canvas, in canvas pixels (left, top, width, height):
    // the selection and the clone stamp's source marker. Showing one places it; moving the
    // marker leaves it shown or hidden as it was.
    virtual QRectF selectionArea() const = 0;
    virtual void showSelection(const QRectF& area) = 0;
    virtual QRectF cloneMarker() const = 0;
    virtual void showCloneMarker(const QRectF& area) = 0;
    virtual void moveCloneMarker(double left, double top) = 0;
    // Shows the text dialog modally; its answer is in the shared settings.
    virtual void showTextDialog() = 0;
    // The main window's text style is "3D 重影特效".
    virtual bool textShadow() const = 0;
};

// What a tool may touch: the canvas, the shared drawing state and the environment above,
// never the window, so tools run in tests on a bare surface. The line and shape tools need
// no environment; the paint tools do nothing without one.
struct ToolContext {
    Surface& canvas;
    DrawingState& state;
    ToolEnvironment* env = nullptr;
};

// A tool's own steps inside the pointer pipeline. The pipeline does everything around them
// (undo image, drawing colour, press point, persistence and fill-style switching, the final
// Refresh) and calls these at the places reserved for the tool.
class Tool {
  public:
    virtual ~Tool() = default;
    // After the press point is stored and IsDrawing is set.
    virtual void press(ToolContext&, const PointerEvent&) {}
    // On a move while IsDrawing.
    virtual void move(ToolContext&, const PointerEvent&) {}
    // On a release, with persistence back on and the fill transparent.
    virtual void release(ToolContext&, const PointerEvent&) {}
    // The press runs the whole move handler once, so the first dab lands at the press point.
    virtual bool movesOnPress() const { return false; }
};

}  // namespace nt::tools
