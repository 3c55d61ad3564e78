#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include <QPointF>
#include <QRect>
#include <QRectF>

#include "surface/RasterTarget.h"
#include "surface/Shapes.h"

// Clip shapes of a metafile in picture pixels, as the surface's span lists. A null pointer
// means no clip. Saved device states share a clip until one of them changes it.

namespace nt::mf {

using Clip = std::shared_ptr<ClipSpans>;

// How a new shape combines with the current clip: the RGN_ codes.
enum class Combine { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

// The pixels inside polygons (runs of `counts` points) or inside the union of rectangles,
// within rows 0..height-1.
Clip clipFromPolygons(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                      int height);
Clip clipFromRects(std::span<const QRectF> rects, int height);

// Combines `shape` into `clip` (null: the whole picture), copying it first when it is
// shared. Costs the rows of the shape, and the clip's rows for And.
void combineClip(Clip& clip, const Clip& shape, Combine mode, int width, int height);

// Moves a clip by whole pixels, keeping what stays inside the picture; no clip stays none.
void offsetClip(Clip& clip, std::int64_t dx, std::int64_t dy, int width, int height);

// The spans a clip holds, and the bytes it takes.
std::int64_t clipSpanCount(const ClipSpans& clip);
std::int64_t clipBytes(const ClipSpans& clip);
// At most how many spans the polygons' clip can hold within rows 0..height-1 (each takes two
// crossings of an edge with a row), counted from the edges alone.
std::int64_t clipSpanBound(std::span<const QPointF> points, std::span<const int> counts,
                           int height);

// The smallest rectangle holding the clip (the picture without one).
QRect clipBounds(const Clip& clip, int width, int height);

}  // namespace nt::mf
