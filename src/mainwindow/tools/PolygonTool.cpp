#include "mainwindow/tools/PolygonTool.h"

namespace nt::tools {

void PolygonTool::press(ToolContext& ctx, const PointerEvent& e) {
    DrawingState& s = ctx.state;
    Surface& c = ctx.canvas;
    // The chain belongs in the picture even when an unmatched press left persistence off.
    c.setAutoRedraw(true);
    if (s.PolyStarted) {
        c.Line(s.LastX, s.LastY, e.x, e.y);
        return;
    }
    s.LastX = e.x;
    s.LastY = e.y;
    c.PSet(e.x, e.y);
    s.PolyStarted = true;
}

void PolygonTool::move(ToolContext& ctx, const PointerEvent& e) {
    ctx.canvas.Refresh();
    ctx.canvas.Line(ctx.state.StartX, ctx.state.StartY, e.x, e.y);
}

void PolygonTool::release(ToolContext& ctx, const PointerEvent& e) {
    DrawingState& s = ctx.state;
    ctx.canvas.Line(s.StartX, s.StartY, e.x, e.y);
    ctx.canvas.Line(s.StartX, s.StartY, s.LastX, s.LastY);
    s.LastX = e.x;
    s.LastY = e.y;
}

}  // namespace nt::tools
