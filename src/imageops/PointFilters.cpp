#include "imageops/PointFilters.h"

#include <algorithm>

#include "imageops/Bands.h"
#include "imageops/Marking.h"
#include "imageops/Simd.h"

namespace nt {

namespace {

using simd::F32x4;
using simd::I32x4;
using simd::U32x4;
using simd::U8x16;

template <class V, class Kernel>
void mapPixels(RasterTarget& t, Kernel kernel) {
    const int w = t.width();
    const int h = t.height();
    if (w <= 0 || h <= 0) return;
    runBands(splitRows(0, h, std::int64_t{w} * h), [&](std::size_t, RowBand band) {
        for (int y = band.begin; y < band.end; ++y) simd::mapRow<V>(t.row(y), w, kernel);
    });
    markAll(t);
}

// A shift beyond +-255 saturates every channel just as +-255 does.
std::uint8_t raisePart(int d) {
    return static_cast<std::uint8_t>(std::clamp(d, 0, 255));
}
std::uint8_t lowerPart(int d) {
    return static_cast<std::uint8_t>(std::clamp(-d, 0, 255));
}

// s * (1/3 as a float), truncated, is s / 3 for every channel sum s = 0 .. 765: the float
// third lies above a third, so multiples of 3 never fall below their quotient, and the
// error stays far from the next integer.
constexpr bool floatThirdIsExact() {
    for (int s = 0; s <= 765; ++s)
        if (static_cast<int>(static_cast<float>(s) * (1.0f / 3.0f)) != s / 3) return false;
    return true;
}
static_assert(floatThirdIsExact());

}  // namespace

void InvertColors(RasterTarget& t) {
    const U8x16 mask = simd::perPixel(0xFF, 0xFF, 0xFF, 0);
    mapPixels<U8x16>(t, [mask](U8x16 v) { return v ^ mask; });
}

void GrayScale(RasterTarget& t) {
    // Float lanes give the division with SSE2's truncating conversion; 32-bit integer lane
    // multiplies would be emulated there.
    mapPixels<U32x4>(t, [](U32x4 p) {
        const auto sum =
            reinterpret_cast<I32x4>((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF));
        const auto g = reinterpret_cast<U32x4>(
            __builtin_convertvector(__builtin_convertvector(sum, F32x4) * (1.0f / 3.0f), I32x4));
        return g | (g << 8) | (g << 16) | 0xFF000000u;
    });
}

void RemoveChannel(RasterTarget& t, std::int16_t channel) {
    if (channel < 0 || channel > 2) return;
    // Pixel bytes run blue, green, red, alpha.
    const std::uint8_t keepR = channel == 0 ? 0 : 0xFF;
    const std::uint8_t keepG = channel == 1 ? 0 : 0xFF;
    const std::uint8_t keepB = channel == 2 ? 0 : 0xFF;
    const U8x16 mask = simd::perPixel(keepB, keepG, keepR, 0xFF);
    mapPixels<U8x16>(t, [mask](U8x16 v) { return v & mask; });
}

void AdjustRgb(RasterTarget& t, std::int16_t dr, std::int16_t dg, std::int16_t db) {
    if (dr == 0 && dg == 0 && db == 0) return;
    const U8x16 raise = simd::perPixel(raisePart(db), raisePart(dg), raisePart(dr), 0);
    const U8x16 lower = simd::perPixel(lowerPart(db), lowerPart(dg), lowerPart(dr), 0);
    mapPixels<U8x16>(t, [raise, lower](U8x16 v) {
        return simd::subSaturated(simd::addSaturated(v, raise), lower);
    });
}

void AdjustBrightness(RasterTarget& t, std::int16_t v) {
    AdjustRgb(t, v, v, v);
}

}  // namespace nt
