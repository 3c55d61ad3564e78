#include "imageops/SurfaceOps.h"

#include "imageops/Decorate.h"
#include "imageops/Geometry.h"

namespace nt {

void applyToSurface(Surface& s, const std::function<void(RasterTarget&)>& op) {
    s.draw(s.AutoRedraw(), op);
    s.Refresh();
}

void StretchCanvas(Surface& canvas, int width, int height) {
    canvas.setPicture(StretchImage(canvas.imageFor(canvas.AutoRedraw()), width, height), true);
    canvas.Refresh();
}

void DrawFrame(Surface& canvas, int n, Colour colour) {
    const Pen pen = canvas.pen(colour);
    applyToSurface(canvas, [&](RasterTarget& t) { DrawFrame(t, pen, n); });
}

}  // namespace nt
