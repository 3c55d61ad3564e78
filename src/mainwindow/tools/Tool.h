#pragma once

#include "mainwindow/DrawingState.h"
#include "surface/Surface.h"

namespace nt::tools {

// One pointer event on the canvas: button 1 left, 2 right, 4 middle (on a move, the set
// held); shift 1 Shift, 2 Ctrl, 4 Alt; position in canvas pixels.
struct PointerEvent {
    int button = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
};

// What a tool may touch: the canvas and the shared drawing state, never the window, so
// tools run in tests on a bare surface.
struct ToolContext {
    Surface& canvas;
    DrawingState& state;
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
