#pragma once

// Building blocks of the shape rasteriser, shared by its source files and its tests.

#include <cstdint>
#include <memory>
#include <vector>

#include "surface/RasterTarget.h"

namespace nt::shapes {

// Exact arithmetic for products of coordinates: differences reach 2^32 in doubled units.
__extension__ typedef __int128 Wide;

inline int clampPenWidth(int w) {
    return w < 1 ? 1 : (w > 100 ? 100 : w);
}

// Whether position `index` (0-based, counted from the start of a figure) of the style's
// pattern is drawn. Solid draws everywhere.
bool dashOn(PenStyle style, std::int64_t index);

// Width-1 segment: one pixel per step along the major axis, from the start up to the end
// (the end itself only when includeEnd). The minor coordinate is the nearest to the ideal
// line with ties to the smaller one, computed the same from either end. The pixel k steps
// from the start takes position phase + k of the style's pattern.
void thinLine(RasterTarget& t, Pixel pixel, PenStyle style, std::int64_t x0, std::int64_t y0,
              std::int64_t x1, std::int64_t y1, bool includeEnd, std::int64_t phase = 0);

// Pixel centres closer than width/2 to a segment (whose ends move up-left by half a pixel
// for even widths, so the cross-section of a horizontal line at y is y - w/2 .. y + (w-1)/2).
// Convex, so every row is a single span.
class Capsule {
  public:
    Capsule(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int width);

    bool contains(std::int64_t px, std::int64_t py) const;
    // Columns of row py inside the capsule, limited to [clipL, clipR]; false when none.
    bool rowSpan(std::int64_t py, std::int64_t clipL, std::int64_t clipR, std::int64_t& x0,
                 std::int64_t& x1) const;
    std::int64_t firstRow() const;
    std::int64_t lastRow() const;
    void fill(RasterTarget& t, Pixel pixel) const;

  private:
    void estimateRow(double py, double& lo, double& hi) const;

    // Doubled coordinates of the (shifted) ends and the doubled radius, for exact tests.
    std::int64_t ax2_, ay2_, bx2_, by2_;
    int w_;
    bool small_;                   // every doubled coordinate below 2^29: tests fit in 64 bits
    double dx_, dy_, len2_, len_;  // the segment in pixel units, for the row estimates
};

// Half the width of row e's span, in doubled units from the centre column, of the ellipse
// inscribed in a cw x ch pixel box: the pixel centres strictly inside the ellipse through
// the box's outer edges, and at least the middle pixel(s) so that no row is empty.
std::int64_t ellipseHalfSpan(std::int64_t cw, std::int64_t ch, std::int64_t e);

// The width-1 outline of a cw x ch ellipse as GDI draws it: a curve through the centres of
// the outermost pixels of the box, stepped like a midpoint ellipse (Zingl's algorithm), with
// the longer axis stepped along x so that a tall ellipse is the transpose of the flat one.
// Row e (0 <= e <= (ch - 1) / 2, from the top) of the top-right quarter is the run of
// columns [first[e], last[e]] counted from the ellipse's left.
struct EllipseQuarter {
    std::vector<std::int64_t> first, last;
    // Position along the outline of row e's rightmost pixel: the outline runs from the end of
    // the horizontal axis (the right side) up to the top, one step per pixel; `count` pixels.
    std::vector<std::int64_t> start;
    std::int64_t count = 1;
    // Whether the walk is cheap enough to run (the box's extents are bounded).
    static bool fits(std::int64_t cw, std::int64_t ch) { return cw + ch <= (1 << 16); }
    EllipseQuarter(std::int64_t cw, std::int64_t ch);
};

// A box of width x height pixels at (left, top) whose corners are the quadrants of a
// cw x ch ellipse (cw == width and ch == height give the ellipse itself). With `gdiOutline`
// (width-1 pens) the corners follow EllipseQuarter where it fits.
class RoundedBox {
  public:
    RoundedBox(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
               std::int64_t cw, std::int64_t ch, bool gdiOutline = false);

    std::int64_t top() const { return top_; }
    std::int64_t bottom() const { return top_ + height_ - 1; }
    // The span of absolute row y; false outside the box.
    bool span(std::int64_t y, std::int64_t& x0, std::int64_t& x1) const;
    // Width-1 outline of row y as its span [x0, x1] minus the interior [in0, in1] (empty when
    // in0 > in1): the span's ends and every pixel whose neighbour in the adjacent row toward
    // the outside is not inside, which makes an 8-connected curve.
    void outlineRow(std::int64_t y, std::int64_t& x0, std::int64_t& x1, std::int64_t& in0,
                    std::int64_t& in1) const;
    // Position of an outline pixel along the outline, counterclockwise from the middle of
    // the right side: rows are counted where the curve is steep, columns where it is flat.
    std::int64_t pathIndex(std::int64_t x, std::int64_t y) const;

  private:
    std::int64_t inset(std::int64_t row) const;
    // Corner row of a box row, or -1 for the straight part between the corners.
    std::int64_t cornerRow(std::int64_t row) const;
    std::int64_t gdiPathIndex(std::int64_t x, std::int64_t y) const;

    std::shared_ptr<const EllipseQuarter> quarter_;  // null: the closed-form profile

    std::int64_t left_, top_, width_, height_, cw_, ch_;
    double steepLimit_ = 0;  // doubled row offset where the corner's slope reaches 1
    std::int64_t steepRows_ = 0, flatColumns_ = 0;
};

// Ellipse / rounded rectangle in the GDI sense, corners already normalised and clamped.
void drawRounded(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                 std::int64_t ch);

}  // namespace nt::shapes
