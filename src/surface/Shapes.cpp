// Placeholder until the shape rasteriser lands.
#include "surface/Shapes.h"
namespace nt {
void drawLine(RasterTarget&, const Pen&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
void drawDot(RasterTarget&, const Pen&, std::int64_t, std::int64_t) {}
void drawBoxOutline(RasterTarget&, const Pen&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
void drawFilledBox(RasterTarget&, const Pen&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
void drawEllipse(RasterTarget&, const Pen&, const Brush&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
void drawRoundRect(RasterTarget&, const Pen&, const Brush&, std::int64_t, std::int64_t, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
}  // namespace nt
