#include "mainwindow/tools/GradientTool.h"

#include "surface/Rounding.h"

namespace nt::tools {
namespace {
constexpr Colour kUntranslatable = 0x0000FFFF;
constexpr Colour kPreview = 0x000000;  // the preview box is black whatever the drawing colour
}  // namespace

Colour TranslateColor(Colour c) {
    Colour plain = 0;
    if (OleTranslateColor(c, nullptr, &plain) != 0) return kUntranslatable;
    return plain;
}

void SetVertexColor(TRIVERTEX& vertex, Colour rgb) {
    vertex.red = static_cast<std::uint16_t>(redOf(rgb) << 8);
    vertex.green = static_cast<std::uint16_t>(greenOf(rgb) << 8);
    vertex.blue = static_cast<std::uint16_t>(blueOf(rgb) << 8);
    vertex.alpha = 0;
}

bool FillGradientRect(Dc dc, const RECT& r, Colour a, Colour b, std::uint32_t mode) {
    TRIVERTEX vertices[2];
    vertices[0].x = r.left;
    vertices[0].y = r.top;
    SetVertexColor(vertices[0], TranslateColor(a));
    vertices[1].x = r.right;
    vertices[1].y = r.bottom;
    SetVertexColor(vertices[1], TranslateColor(b));
    const GRADIENT_RECT rect{0, 1};
    return GradientFill(dc, vertices, 2, &rect, 1, mode);
}

void GradientTool::move(ToolContext& ctx, const PointerEvent& e) {
    Surface& c = ctx.canvas;
    c.Refresh();
    c.Line(ctx.state.StartX, ctx.state.StartY, e.x, e.y, kPreview, BoxMode::Outline);
}

void GradientTool::release(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    const DrawingState& s = ctx.state;
    RECT r;
    SetRect(r, roundCoord(s.StartX), roundCoord(s.StartY), roundCoord(e.x), roundCoord(e.y));
    const std::uint32_t mode = ctx.env->gradientDirection() == GradientDirection::Vertical
                                   ? GRADIENT_FILL_RECT_V
                                   : GRADIENT_FILL_RECT_H;
    FillGradientRect(hDC(ctx.canvas), r, ctx.env->paletteColour(1), ctx.env->paletteColour(2),
                     mode);
}

}  // namespace nt::tools
