#include "platform/BgrRows.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define NT_HAVE_SHUFFLES 1
#endif

namespace nt {

namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void store32(std::uint8_t* p, std::uint32_t v) {
    std::memcpy(p, &v, 4);
}

// Pixels [x, width) one word at a time (little-endian machines) or byte by byte.
void bgrToPixelsFrom(std::int64_t x, const std::uint8_t* src, Pixel* dst, std::int64_t width) {
    if constexpr (kLittleEndian) {
        // Four pixels from three word loads; the last pixel never reads past the row.
        for (; x + 4 < width; x += 4) {
            const std::uint32_t a = load32(src + 3 * x);
            const std::uint32_t b = load32(src + 3 * x + 4);
            const std::uint32_t c = load32(src + 3 * x + 8);
            dst[x] = a | 0xFF000000u;
            dst[x + 1] = (a >> 24 | b << 8) | 0xFF000000u;
            dst[x + 2] = (b >> 16 | c << 16) | 0xFF000000u;
            dst[x + 3] = (c >> 8) | 0xFF000000u;
        }
    }
    for (; x < width; ++x) {
        const std::uint8_t* p = src + 3 * x;
        dst[x] = 0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
    }
}

void pixelsToBgrFrom(std::int64_t x, const Pixel* src, std::uint8_t* dst, std::int64_t width) {
    dst += 3 * x;
    if constexpr (kLittleEndian) {
        // Four pixels become three words of B, G, R bytes.
        for (; x + 4 <= width; x += 4, dst += 12) {
            const Pixel a = src[x], b = src[x + 1], c = src[x + 2], d = src[x + 3];
            store32(dst, (a & 0xFFFFFF) | b << 24);
            store32(dst + 4, (b >> 8 & 0xFFFF) | c << 16);
            store32(dst + 8, (c >> 16 & 0xFF) | d << 8);
        }
    }
    for (; x < width; ++x, dst += 3) {
        dst[0] = static_cast<std::uint8_t>(src[x]);
        dst[1] = static_cast<std::uint8_t>(src[x] >> 8);
        dst[2] = static_cast<std::uint8_t>(src[x] >> 16);
    }
}

#ifdef NT_HAVE_SHUFFLES

bool haveShuffles() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}

// Sixteen pixels a step, four to a 16-byte shuffle; each load takes 16 bytes for 12 used, so
// the steps stop where the last load would pass the row's end. Returns the first pixel left.
__attribute__((target("ssse3"))) std::int64_t bgrToPixelsShuffled(const std::uint8_t* src,
                                                                  Pixel* dst, std::int64_t width) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    std::int64_t x = 0;
    for (; 3 * x + 52 <= 3 * width; x += 16) {
        for (int k = 0; k < 4; ++k) {
            const __m128i in =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * x + 12 * k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x + 4 * k),
                             _mm_or_si128(_mm_shuffle_epi8(in, spread), opaque));
        }
    }
    return x;
}

// Sixteen pixels a step; each 16-byte store carries 12 bytes and 4 the next store overwrites,
// so the steps stop where the last store would pass the row's end.
__attribute__((target("ssse3"))) std::int64_t pixelsToBgrShuffled(const Pixel* src,
                                                                  std::uint8_t* dst,
                                                                  std::int64_t width) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    std::int64_t x = 0;
    for (; 3 * x + 52 <= 3 * width; x += 16) {
        for (int k = 0; k < 4; ++k) {
            const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + 4 * k));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * x + 12 * k),
                             _mm_shuffle_epi8(in, pack));
        }
    }
    return x;
}

#endif

}  // namespace

void bgrToPixels(const std::uint8_t* src, Pixel* dst, std::int64_t width) {
    std::int64_t x = 0;
#ifdef NT_HAVE_SHUFFLES
    if (haveShuffles()) x = bgrToPixelsShuffled(src, dst, width);
#endif
    bgrToPixelsFrom(x, src, dst, width);
}

void pixelsToBgr(const Pixel* src, std::uint8_t* dst, std::int64_t width) {
    std::int64_t x = 0;
#ifdef NT_HAVE_SHUFFLES
    if (haveShuffles()) x = pixelsToBgrShuffled(src, dst, width);
#endif
    pixelsToBgrFrom(x, src, dst, width);
}

}  // namespace nt
