#pragma once

#include <cstdint>
#include <vector>

namespace nt {

// The points GDI's Arc, Chord and Pie run through for the box [left, right) x [top, bottom)
// (x, y pairs): the pixels of its ellipse's width-1 outline in drawing order, from where the
// ray from the centre (left + w/2, top + h/2) towards (sx, sy) meets it to where the ray
// towards (ex, ey) does, that one left out; all the way round when both meet it at one place.
// Costs w + h steps; the caller bounds them.
std::vector<std::int64_t> gdiArcPoints(std::int64_t left, std::int64_t top, std::int64_t right,
                                       std::int64_t bottom, bool clockwise, double sx, double sy,
                                       double ex, double ey);

}  // namespace nt
