#pragma once

// Building blocks of the shape rasteriser, shared by its source files and its tests.

#include <array>
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

// Every pattern's period divides this many pixels.
inline constexpr int kDashPeriod = 24;

// Whether position `index` (0-based, counted from the start of a figure) of the style's
// pattern is drawn. Solid draws everywhere.
bool dashOn(PenStyle style, std::int64_t index);

// Width-1 segment: one pixel per step along the major axis, from the start up to the end
// (the end itself only when includeEnd). The minor coordinate is the nearest to the ideal
// line with ties to the smaller one, computed the same from either end. The pixel k steps
// from the start takes position phase + k of the style's pattern.
// The pen's width is not looked at; its gap pixel, if any, fills the pattern's gaps.
void thinLine(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, bool includeEnd, std::int64_t phase = 0);

// An inclusive run of columns.
struct Span {
    std::int64_t x0, x1;
};

// Writes the union of `spans` (in any order, overlapping or not) to row y, clipped.
void fillSpanUnion(RasterTarget& t, Pixel pixel, std::int64_t y, std::vector<Span>& spans);

// What a wide pen puts at a point, as GDI draws it: the filled width-1 ellipse of a w x w box
// whose top-left is w/2 up and left of the point (w 2: a 2 x 2 square, w 3: a plus of 5).
class PenDot {
  public:
    explicit PenDot(int width);
    int width() const { return w_; }
    // Columns of the dot at (x, y) in row py; false when the row misses it.
    bool rowSpan(std::int64_t x, std::int64_t y, std::int64_t py, Span& s) const;

  private:
    int w_;
    std::vector<std::int64_t> inset_;  // per row of the box, from either side
};

// A segment of a wide pen as GDI draws it: a dot at each end and between them a quadrilateral
// whose corners are the ends moved across the line by the pen's rounded half widths (the
// larger half to one side), filled with the polygon rule: rows [top, bottom), and in a row the
// columns from each edge's crossing rounded up, the right one excluded.
class WideSegment {
  public:
    WideSegment(const PenDot& dot, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                std::int64_t y1);

    std::int64_t firstRow() const { return top_; }
    std::int64_t lastRow() const { return bottom_; }
    // Adds the pieces of row py (up to three, possibly apart) to `out`.
    void addRow(std::int64_t py, std::vector<Span>& out) const;
    void fill(RasterTarget& t, Pixel pixel) const;

  private:
    void setCorners(std::array<std::int64_t, 4> xs, std::array<std::int64_t, 4> ys) {
        qx_ = xs;
        qy_ = ys;
    }

    const PenDot& dot_;
    std::int64_t ax_, ay_, bx_, by_;
    std::array<std::int64_t, 4> qx_{}, qy_{};
    bool body_ = false;
    std::int64_t top_, bottom_;
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

// A wide pen's ring around the width-1 outline of `thin` (its pixels drawn as one closed wide
// line: a dot on each, a segment on each diagonal step), the brush inside that outline.
void drawWideRing(RasterTarget& t, const Pen& pen, const Brush& brush, const RoundedBox& thin,
                  int w);

// Ellipse / rounded rectangle in the GDI sense, corners already normalised and clamped.
void drawRounded(RasterTarget& t, const Pen& pen, const Brush& brush, std::int64_t left,
                 std::int64_t top, std::int64_t right, std::int64_t bottom, std::int64_t cw,
                 std::int64_t ch);

}  // namespace nt::shapes
