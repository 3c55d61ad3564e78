#pragma once

#include <cstdint>
#include <functional>

#include <QImage>

#include "surface/Colour.h"
#include "surface/RasterTarget.h"

namespace nt::test {

// A small picture whose pixels are given as 0x00BBGGRR colours.
inline QImage makePicture(int w, int h, const std::function<Colour(int, int)>& colourAt) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<Pixel*>(img.scanLine(y))[x] = toPixel(colourAt(x, y));
    return img;
}

// Every pixel different, channels spread over the whole range (asymmetric on both axes).
inline QImage scrambled(int w, int h, std::uint32_t seed = 1) {
    return makePicture(w, h, [seed](int x, int y) {
        std::uint32_t v = (static_cast<std::uint32_t>(x) * 73856093u) ^
                          (static_cast<std::uint32_t>(y) * 19349663u) ^ (seed * 83492791u);
        v ^= v >> 13;
        v *= 0x5bd1e995u;
        v ^= v >> 15;
        return v & 0xFFFFFFu;
    });
}

inline Colour at(const QImage& img, int x, int y) {
    return fromPixel(reinterpret_cast<const Pixel*>(img.constScanLine(y))[x]);
}
inline Pixel rawAt(const QImage& img, int x, int y) {
    return reinterpret_cast<const Pixel*>(img.constScanLine(y))[x];
}

// Applies op to the image through a raster target, as the surface does.
template <class Op>
QImage applied(QImage img, Op op) {
    RasterTarget t(img, nullptr);
    op(t);
    return img;
}

// Large enough that the operations split it between two threads.
inline constexpr int kBandedWidth = 701;
inline constexpr int kBandedHeight = 403;

}  // namespace nt::test
