#pragma once

#include <QImage>

#include "surface/Blit.h"
#include "surface/RasterTarget.h"

namespace nt {

// The frame of width n: for i = 0 .. n the outline of the box with corners (i-1, i-1) and
// (W-i, H-i), drawn with the pen (its width and style). At width 1 in a solid style that
// is exactly the n outermost pixel rings; n < 0 draws nothing. Rings too far out to touch
// the picture are skipped, so a huge n costs no more than the picture's size.
void DrawFrame(RasterTarget& t, const Pen& pen, int n);

// Lays the picture over the whole target, stretched to the target's size with the given
// mode, pure magenta (255, 0, 255) in the stretched picture being see-through. A null
// picture changes nothing.
void LayPicture(RasterTarget& t, const QImage& picture, StretchMode mode);

// The see-through colour of LayPicture, as a pixel.
inline constexpr Pixel kSeeThrough = 0xFFFF00FFu;

}  // namespace nt
