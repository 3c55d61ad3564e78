#include "mainwindow/tools/SingleClickTools.h"

#include "surface/Gdi.h"
#include "surface/Rounding.h"

namespace nt::tools {
namespace {

// A pattern brush selected into a device context for one operation: the previous brush
// comes back and the pattern is released when it goes out of scope. An empty pattern makes
// no brush and leaves the solid fill brush in place.
class SelectedPattern {
  public:
    SelectedPattern(Dc dc, const QImage& pattern) : dc_(dc), brush_(CreatePatternBrush(pattern)) {
        if (brush_) previous_ = SelectObject(dc_, brush_);
    }
    ~SelectedPattern() {
        if (!brush_) return;
        SelectObject(dc_, previous_);
        DeleteObject(brush_);
    }
    SelectedPattern(const SelectedPattern&) = delete;
    SelectedPattern& operator=(const SelectedPattern&) = delete;

  private:
    Dc dc_;
    HBRUSH brush_;
    HBRUSH previous_;
};

void pick(ToolContext& ctx, int buttons, double x, double y) {
    const int which = buttons == 1 ? 1 : buttons == 2 ? 2 : 0;
    if (which == 0 || !ctx.env) return;
    // The picture, not the screen: a preview on the screen is not part of the canvas.
    const Colour c = GetPixel(Dc{&ctx.canvas, true}, roundCoord(x), roundCoord(y));
    // Off the canvas there is no colour to take; passing the read's failure value on would
    // give the palette a colour no drawing call can translate.
    if (c == kNoColour) return;
    ctx.env->setPaletteColour(which, c);
}

}  // namespace

void FillTool::press(ToolContext& ctx, const PointerEvent&) {
    if (!ctx.env) return;
    Surface& c = ctx.canvas;
    const DrawingState& s = ctx.state;
    // The fill belongs in the picture even when an unmatched press left persistence off.
    c.setAutoRedraw(true);
    c.FillStyle = 0;
    c.FillColor = c.ForeColor;
    const Dc dc = hDC(c);
    const QImage none;
    const bool patterned = ctx.env->fillMode() == FillMode::Pattern;
    const SelectedPattern pattern(dc, patterned ? ctx.env->fillPattern() : none);
    const Colour start = c.Point(s.StartX, s.StartY);
    ExtFloodFill(dc, roundCoord(s.StartX), roundCoord(s.StartY), start, FLOODFILLSURFACE);
}

void PickerTool::press(ToolContext& ctx, const PointerEvent& e) {
    pick(ctx, e.button, e.x, e.y);
}

void PickerTool::move(ToolContext& ctx, const PointerEvent& e) {
    pick(ctx, e.button, e.x, e.y);
}

}  // namespace nt::tools
