#pragma once

#include <memory>
#include <span>

#include <QPointF>
#include <QRect>
#include <QRectF>

#include "surface/RasterTarget.h"
#include "surface/Shapes.h"

// Clip shapes of a metafile in picture pixels, as the surface's span lists. A null pointer
// means no clip.

namespace nt::mf {

using Clip = std::shared_ptr<const ClipSpans>;

// How a new shape combines with the current clip: the RGN_ codes.
enum class Combine { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

// The pixels inside polygons (runs of `counts` points) or inside the union of rectangles.
Clip clipFromPolygons(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                      int height);
Clip clipFromRects(std::span<const QRectF> rects, int height);

// `current` (null: the whole picture) combined with `shape`.
Clip combineClip(const Clip& current, const Clip& shape, Combine mode, int width, int height);

// The smallest rectangle holding the clip (the picture without one).
QRect clipBounds(const Clip& clip, int width, int height);

}  // namespace nt::mf
