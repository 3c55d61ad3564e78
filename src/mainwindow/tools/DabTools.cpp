#include "mainwindow/tools/DabTools.h"

#include <algorithm>
#include <cmath>

#include "imageops/Random.h"
#include "surface/Gdi.h"
#include "surface/Rounding.h"
#include "surface/SystemColours.h"

namespace nt::tools {

int AirbrushTool::offset(float r, int width) {
    // In double the product is exact (a draw has 24 bits), so the floor never rounds up to
    // the next whole number and the offset stays below 10 * width - 5.
    return static_cast<int>(std::floor(static_cast<double>(r) * width * 10.0)) - 5;
}

void AirbrushTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    Surface& c = ctx.canvas;
    DrawingState& s = ctx.state;
    UniformRandom& random = ctx.env->random();
    const int width = c.pen().width;
    c.setAutoRedraw(true);
    for (int i = 0; i < kDotsPerMove; ++i) {
        const float r1 = random.next();  // x first, then y
        const float r2 = random.next();
        c.PSet(s.StartX + offset(r1, width), s.StartY + offset(r2, width));
        // Only the first dot of a move uses the previous position.
        s.StartX = e.x;
        s.StartY = e.y;
    }
}

void ColorizeBrush(const Surface& brush, Surface& work, Colour colour) {
    QImage picture = brush.Image().copy();
    const Pixel black = toPixel(0);
    const Pixel ink = toPixel(plainColour(colour));
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<Pixel*>(picture.scanLine(y));
        std::replace(row, row + picture.width(), black, ink);
    }
    // The brush is already a valid surface, so its size cannot be refused here.
    work.setPicture(picture, true);
    work.Refresh();
}

void MagicPenTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    Surface& c = ctx.canvas;
    c.setAutoRedraw(true);
    Surface& work = ctx.env->brushWork();
    ColorizeBrush(ctx.env->brushPicture(), work, c.ForeColor);
    const int w = work.width(), h = work.height();
    TransparentBlt(hDC(c), roundCoord(e.x - w / 2), roundCoord(e.y - h / 2), w, h, hDC(work), 0, 0,
                   w, h, kTransparent);
    c.Refresh();
}

void EraserTool::move(ToolContext& ctx, const PointerEvent& e) {
    if (!ctx.env) return;
    Surface& c = ctx.canvas;
    DrawingState& s = ctx.state;
    c.setAutoRedraw(true);
    const int size = ctx.env->eraserSize();
    const int half = size / 2;
    s.LastX = e.x - half;
    s.LastY = e.y - half;
    const Colour back = c.BackColor();
    if (ctx.env->eraserShape() == EraserShape::Square) {
        c.Line(s.LastX, s.LastY, s.LastX + size, s.LastY + size, back, BoxMode::Filled);
        return;
    }
    c.FillStyle = 0;
    c.FillColor = back;
    // The radius, not the diameter, is the chosen size: the disc is twice the square's width.
    c.Circle(s.LastX + half, s.LastY + half, size, back);
}

}  // namespace nt::tools
