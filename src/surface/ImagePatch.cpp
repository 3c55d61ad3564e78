#include "surface/ImagePatch.h"

#include <cstring>

namespace nt {

void ImagePatch::addSpan(const QImage& from, int y, int x0, int x1) {
    const auto* src = reinterpret_cast<const Pixel*>(from.constScanLine(y)) + x0;
    spans_.push_back({y, x0, x1, pixels_.size()});
    pixels_.insert(pixels_.end(), src, src + (x1 - x0 + 1));
}

void ImagePatch::applyTo(QImage& copy) const {
    if (!base_.isNull()) copy = base_.copy();
    for (const Span& s : spans_)
        std::memcpy(reinterpret_cast<Pixel*>(copy.scanLine(s.y)) + s.x0, pixels_.data() + s.offset,
                    static_cast<std::size_t>(s.x1 - s.x0 + 1) * sizeof(Pixel));
}

}  // namespace nt
