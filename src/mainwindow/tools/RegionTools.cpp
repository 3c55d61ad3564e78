#include "mainwindow/tools/RegionTools.h"

#include "surface/Gdi.h"
#include "surface/Rounding.h"

namespace nt::tools {

namespace {
// One axis of the selection: (start, extent) from the press coordinate to the pointer.
void followAxis(double press, double pointer, double& start, double& extent) {
    if (press > pointer) {
        start = pointer;
        extent = press - pointer;
    } else if (press < pointer) {
        start = press;
        extent = pointer - press;
    }
}
}  // namespace

QRectF SelectTool::follow(const QRectF& previous, double startX, double startY, double x,
                          double y) {
    double left = previous.left(), width = previous.width();
    double top = previous.top(), height = previous.height();
    followAxis(startX, x, left, width);
    followAxis(startY, y, top, height);
    return QRectF(left, top, width, height);
}

void SelectTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    const DrawingState& s = ctx.state;
    ctx.env->showSelection(follow(ctx.env->selectionArea(), s.StartX, s.StartY, e.x, e.y));
}

void CloneStampTool::press(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env || (e.shift != kAltAlone && e.shift != kCtrlAlone)) return;
    DrawingState& s = ctx.state;
    s.CloneNewSource = true;
    s.LastX = e.x;
    s.LastY = e.y;
    const QRectF marker = ctx.env->cloneMarker();
    const int w = roundCoord(marker.width()), h = roundCoord(marker.height());
    ctx.env->showCloneMarker(QRectF(e.x - w / 2, e.y - h / 2, w, h));
}

void CloneStampTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    DrawingState& s = ctx.state;
    if (s.CloneNewSource) {
        s.CloneOffsetX = e.x - s.LastX;
        s.CloneOffsetY = e.y - s.LastY;
        s.CloneNewSource = false;
        return;
    }
    Surface& c = ctx.canvas;
    c.setAutoRedraw(true);
    const QRectF marker = ctx.env->cloneMarker();
    const int w = roundCoord(marker.width()), h = roundCoord(marker.height());
    const double sx = e.x - s.CloneOffsetX, sy = e.y - s.CloneOffsetY;
    // Source pixels outside the canvas copy nothing: those destination pixels stay as they are.
    BitBlt(hDC(c), roundCoord(e.x), roundCoord(e.y), w, h, hDC(c), roundCoord(sx), roundCoord(sy),
           SRCCOPY);
    ctx.env->moveCloneMarker(sx, sy);
    c.Refresh();
}

}  // namespace nt::tools
