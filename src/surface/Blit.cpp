// Placeholder until the blit engine lands.
#include "surface/Blit.h"
namespace nt {
void copyRect(RasterTarget&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, const QImage&, std::int64_t, std::int64_t) {}
void stretchRect(RasterTarget&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, const QImage&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, StretchMode) {}
void transparentRect(RasterTarget&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, const QImage&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, Pixel) {}
void gradientRect(RasterTarget&, const GradientVertex&, const GradientVertex&, bool) {}
void floodFillSurface(RasterTarget&, std::int64_t, std::int64_t, Pixel, const Brush&) {}
}  // namespace nt
