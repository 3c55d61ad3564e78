#pragma once

#include <cstdint>
#include <cstring>

#include "surface/Colour.h"

namespace nt::simd {

// Four pixels at a time through the compiler's generic vector types: portable, and
// lowered to the target's SIMD instructions where there are any.
using U8x16 = std::uint8_t __attribute__((vector_size(16)));
using U32x4 = std::uint32_t __attribute__((vector_size(16)));
using I32x4 = std::int32_t __attribute__((vector_size(16)));
using F32x4 = float __attribute__((vector_size(16)));

inline constexpr int kLanes = 4;  // pixels per vector

template <class V>
inline V load(const Pixel* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class V>
inline void store(Pixel* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// Bytes of four pixels with the same byte pattern per pixel (blue, green, red, alpha).
inline U8x16 perPixel(std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
    return U8x16{b, g, r, a, b, g, r, a, b, g, r, a, b, g, r, a};
}

inline U32x4 reversed(U32x4 v) {
    return __builtin_shufflevector(v, v, 3, 2, 1, 0);
}

inline U8x16 addSaturated(U8x16 a, U8x16 b) {
    const U8x16 s = a + b;
    return s | reinterpret_cast<U8x16>(s < a);
}
inline U8x16 subSaturated(U8x16 a, U8x16 b) {
    const U8x16 d = a - b;
    return d & reinterpret_cast<U8x16>(d <= a);
}

// Applies kernel (a function of four pixels) to a row of n pixels; the tail goes through
// a padded copy so that there is one kernel only.
template <class V, class Kernel>
inline void mapRow(Pixel* row, int n, Kernel&& kernel) {
    int x = 0;
    for (; x + kLanes <= n; x += kLanes) store(row + x, kernel(load<V>(row + x)));
    if (x < n) {
        Pixel tail[kLanes] = {};
        const auto bytes = static_cast<std::size_t>(n - x) * sizeof(Pixel);
        std::memcpy(tail, row + x, bytes);
        store(tail, kernel(load<V>(tail)));
        std::memcpy(row + x, tail, bytes);
    }
}

}  // namespace nt::simd
