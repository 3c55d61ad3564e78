#pragma once

#include "surface/RasterTarget.h"

namespace nt {

// Records columns x0..x1 of rows y0..y1 (inclusive) as touched, for the surface's repaint
// bookkeeping. Filters mark what they cover after the bulk work, on the calling thread.
inline void markRect(RasterTarget& t, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) t.mark(y, x0, x1);
}
inline void markAll(RasterTarget& t) {
    markRect(t, 0, 0, t.width() - 1, t.height() - 1);
}

}  // namespace nt
