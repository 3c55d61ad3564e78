#pragma once

#include <functional>

#include "surface/Colour.h"
#include "surface/RasterTarget.h"
#include "surface/Surface.h"

namespace nt {

// The operations on a whole picture box, as the menu commands and the dialogs' previews
// call them: the pixel work runs on the image the surface's device context targets, then
// the surface is refreshed on screen.

// Runs op (any of the RasterTarget operations) over the surface, e.g.
// applyToSurface(canvas, [](RasterTarget& t) { BlurImage(t); }).
void applyToSurface(Surface& s, const std::function<void(RasterTarget&)>& op);

// The canvas resampled to width x height by area averaging; the canvas takes the new size.
// Throws SurfaceSizeError, before anything is allocated or changed, for a size the project
// does not allow (checkStretchSize gives the message for the dialog).
void StretchCanvas(Surface& canvas, int width, int height);

// DrawFrame with the canvas's current line width and style in the given colour.
void DrawFrame(Surface& canvas, int n, Colour colour);

}  // namespace nt
