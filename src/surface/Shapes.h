#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include <QPointF>

#include "surface/RasterTarget.h"

namespace nt {

// Raster shapes on integer coordinates (already rounded and clamped to +-kCoordLimit).
// All of them clip to the target and cost what they touch inside it, whatever the
// coordinates are.

// Segment from (x0, y0) to (x1, y1).
// Width 1: one pixel per step along the major axis, the start drawn, the end not; exact
// half-pixel ties go to the smaller coordinate; zero length draws nothing; dash styles
// counted in pixels along the major axis from the start, restarting at every call.
// Width >= 2: solid, GDI's geometric pen: a dot at each end (see drawDot) joined by a
// quadrilateral with rounded half widths; the cross-section of a horizontal line at y covers
// y - w/2 .. y + (w-1)/2. Width is clamped to 1..100.
void drawLine(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1);
// drawLine for each segment between consecutive points (x, y pairs), closing back to the first
// when `closed`; the pen's dot is made once and a style's pattern runs on across the segments.
// Under a raster operation other than copy, a wide line combines each of its pixels once, where
// segments meet or cross too.
void drawSegments(RasterTarget& t, const Pen& pen, std::span<const std::int64_t> xy, bool closed);

// A dot of the pen's width: one pixel at width 1, else the filled width-1 ellipse of the
// w x w box from (x - w/2, y - w/2) (2 x 2 at width 2, a plus at width 3).
void drawDot(RasterTarget& t, const Pen& pen, std::int64_t x, std::int64_t y);

// Box outline with corners (x0, y0) and (x1, y1) in any order, both corners included.
// Width 1: dash styles run on around the outline, one pattern step per outline pixel,
// anticlockwise from the top-right corner going left (as GDI's Rectangle).
void drawBoxOutline(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0,
                    std::int64_t x1, std::int64_t y1);

// Filled box with both corners included (any order), plus the pen's outline when wider than 1.
void drawFilledBox(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0,
                   std::int64_t x1, std::int64_t y1);

// GDI Rectangle: corners in any order; the outline is the box outline of [l, r-1] x [t, b-1]
// and the brush fills [l, r-2] x [t, b-2] beneath it. An empty box draws nothing, and so does
// a 1 x 1 box with a width-1 pen, whose outline has no length.
void drawRectangle(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                   std::int64_t top, std::int64_t right, std::int64_t bottom);

// GDI Ellipse: corners in any order give the same picture; a width-1 outline runs through
// the centres of the outermost pixels of [l, r-1] x [t, b-1] (3 x 3 is a plus, 1 x 1 draws
// nothing, two pixels wide or high is the full rectangle), its dashes anticlockwise from the
// right side; the brush fills strictly inside the outline; a wide pen draws that outline's
// pixels as a closed wide line.
void drawEllipse(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom);

// GDI RoundRect with corner ellipse cw x ch; equals drawEllipse when the box is no
// larger than the corner ellipse.
void drawRoundRect(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                   std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                   std::int64_t ch);

// How overlapping parts of polygons are filled: alternate (even-odd) or winding (non-zero),
// numbered as GDI's polygon fill modes.
enum class FillRule { Alternate = 1, Winding = 2 };

// Which point of a pixel decides whether a polygon holds it: its centre, with sub-pixel
// vertices, or its top-left corner, with the vertices rounded to whole pixels first (how
// GDI fills a Polygon record).
enum class PolygonSampling { Centres, Corners };

// Fills closed polygons given as consecutive runs of `counts` points of `points` (each run
// closed back to its first point): a pixel is filled when its sampled point lies inside, the
// left and top edges counting as inside and the right and bottom ones not. Non-finite points
// make the polygon empty. Costs the rows covered times the edges crossing them.
void fillPolygons(RasterTarget& t, const Brush& brush, std::span<const QPointF> points,
                  std::span<const int> counts, FillRule rule,
                  PolygonSampling sampling = PolygonSampling::Centres);

// The spans fillPolygons fills, rows firstRow..lastRow, without clipping columns: calls
// span(y, x0, x1) with x0 <= x1, left to right within each row.
void forEachPolygonSpan(std::span<const QPointF> points, std::span<const int> counts, FillRule rule,
                        std::int64_t firstRow, std::int64_t lastRow,
                        const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& span,
                        PolygonSampling sampling = PolygonSampling::Centres);

}  // namespace nt
