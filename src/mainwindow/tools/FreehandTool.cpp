#include "mainwindow/tools/FreehandTool.h"

namespace nt::tools {

void FreehandTool::press(ToolContext& ctx, const PointerEvent& e) {
    if (kind_ != Kind::FreeCurve) return;
    ctx.state.CurveX0 = e.x;
    ctx.state.CurveY0 = e.y;
}

void FreehandTool::move(ToolContext& ctx, const PointerEvent& e) {
    DrawingState& s = ctx.state;
    ctx.canvas.setAutoRedraw(true);
    ctx.canvas.Line(s.StartX, s.StartY, e.x, e.y);
    if (kind_ == Kind::StarLines) return;  // the rays share the press point
    s.StartX = e.x;
    s.StartY = e.y;
}

void FreehandTool::release(ToolContext& ctx, const PointerEvent& e) {
    if (kind_ != Kind::FreeCurve) return;
    ctx.canvas.Line(ctx.state.CurveX0, ctx.state.CurveY0, e.x, e.y);
}

}  // namespace nt::tools
