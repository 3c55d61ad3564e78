#include "imageops/NeighbourFilters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "imageops/Bands.h"
#include "imageops/Marking.h"
#include "surface/Rounding.h"

namespace nt {

namespace {

std::vector<Pixel> copyRow(const RasterTarget& t, int y) {
    const Pixel* r = t.row(y);
    return std::vector<Pixel>(r, r + t.width());
}

// ---- blur ----

// (s + 4) * 7282 >> 16 is near(s / 9) for every 3 x 3 channel sum s; s / 9 is never a half.
constexpr bool meanOfNineIsExact() {
    for (std::uint32_t s = 0; s <= 9 * 255; ++s) {
        const std::uint32_t nearest = s / 9 + (s % 9 >= 5 ? 1 : 0);
        if ((((s + 4) * 7282u) >> 16) != nearest) return false;
    }
    return true;
}
static_assert(meanOfNineIsExact());

// Horizontal sums of three per byte lane (blue, green, red, alpha) for pixels 1 .. w-2.
void rowSums(const Pixel* row, int w, std::uint16_t* out) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(row);
    const int n = 4 * w - 4;
    for (int i = 4; i < n; ++i) out[i] = static_cast<std::uint16_t>(b[i - 4] + b[i] + b[i + 4]);
}

void blurRow(const std::uint16_t* above, const std::uint16_t* mid, const std::uint16_t* below,
             Pixel* row, int w) {
    auto* out = reinterpret_cast<std::uint8_t*>(row);
    const int n = 4 * w - 4;
    for (int i = 4; i < n; ++i) {
        const auto s = static_cast<std::uint16_t>(above[i] + mid[i] + below[i] + 4);
        out[i] = static_cast<std::uint8_t>((std::uint32_t{s} * 7282u) >> 16);
    }
    for (int x = 1; x < w - 1; ++x) row[x] |= 0xFF000000u;
}

// ---- sharpen ----

// Result for every (cur, prev) channel pair, indexed cur * 256 + prev.
std::vector<std::uint8_t> sharpenTable(float k) {
    std::vector<std::uint8_t> table(256 * 256);
    const double factor = k;
    for (int cur = 0; cur < 256; ++cur) {
        for (int prev = 0; prev < 256; ++prev) {
            // Exact in double: a 9-bit difference times a 24-bit mantissa.
            const double v = static_cast<double>(cur - prev) * factor + cur;
            const std::int64_t n = roundHalfEven64(v);
            table[static_cast<std::size_t>(cur * 256 + prev)] =
                static_cast<std::uint8_t>(std::clamp<std::int64_t>(n, 0, 255));
        }
    }
    return table;
}

inline Pixel sharpenPixel(Pixel cur, Pixel prev, const std::uint8_t* table) {
    Pixel out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t index = (((cur >> shift) & 0xFFu) << 8) | ((prev >> shift) & 0xFFu);
        out |= Pixel{table[index]} << shift;
    }
    return out;
}

// ---- wave ----

// out[tx] takes src[tx - shift] where the mask of that source column is set.
void blendShifted(Pixel* out, const Pixel* src, const Pixel* mask, int shift, int w) {
    const int begin = std::max(0, shift);
    const int end = std::min(w, w + shift);
    for (int tx = begin; tx < end; ++tx) {
        const int x = tx - shift;
        out[tx] = (src[x] & mask[x]) | (out[tx] & ~mask[x]);
    }
}

struct WaveSource {
    int y;
    const Pixel* row;
};

}  // namespace

void BlurImage(RasterTarget& t) {
    const int w = t.width();
    const int h = t.height();
    if (w < 3 || h < 3) return;
    const auto lanes = static_cast<std::size_t>(4 * w);
    const auto bands = splitRows(1, h - 1, std::int64_t{w} * h);

    // Each band starts from the sums of the row above it and ends with those of the row
    // below it, taken before any band writes; inside a band every row's sums are taken
    // before that row is overwritten.
    struct BandState {
        std::vector<std::uint16_t> above, below, ring;
    };
    std::vector<BandState> state(bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        state[i].above.resize(lanes);
        rowSums(t.row(bands[i].begin - 1), w, state[i].above.data());
        if (bands[i].end < h - 1) {
            state[i].below.resize(lanes);
            rowSums(t.row(bands[i].end), w, state[i].below.data());
        }
        state[i].ring.resize(3 * lanes);
    }

    runBands(bands, [&](std::size_t i, RowBand band) {
        BandState& s = state[i];
        std::array<std::uint16_t*, 3> ring = {s.ring.data(), s.ring.data() + lanes,
                                              s.ring.data() + 2 * lanes};
        const std::uint16_t* above = s.above.data();
        rowSums(t.row(band.begin), w, ring[0]);
        for (int y = band.begin, k = 0; y < band.end; ++y, ++k) {
            std::uint16_t* mid = ring[k % 3];
            const std::uint16_t* below = ring[(k + 1) % 3];
            if (y + 1 == band.end && !s.below.empty())
                below = s.below.data();
            else
                rowSums(t.row(y + 1), w, ring[(k + 1) % 3]);
            blurRow(above, mid, below, t.row(y), w);
            above = mid;
        }
    });
    markRect(t, 1, 1, w - 2, h - 2);
}

void SharpenImage(RasterTarget& t, float k) {
    const int w = t.width();
    const int h = t.height();
    if (w < 3 || h < 3 || k == 0.0f || !std::isfinite(k)) return;
    const std::vector<std::uint8_t> table = sharpenTable(k);
    const auto bands = splitRows(1, h - 1, std::int64_t{w} * h);

    // Rows go bottom-up, so the row above is still the original when a row reads it; a
    // band's top row reads the row above the band, which the band above changes first.
    std::vector<std::vector<Pixel>> above(bands.size());
    for (std::size_t i = 1; i < bands.size(); ++i) above[i] = copyRow(t, bands[i].begin - 1);

    runBands(bands, [&](std::size_t i, RowBand band) {
        for (int y = band.end - 1; y >= band.begin; --y) {
            const Pixel* prev = (y == band.begin && i > 0) ? above[i].data() : t.row(y - 1);
            Pixel* row = t.row(y);
            for (int x = 1; x < w - 1; ++x)
                row[x] = sharpenPixel(row[x], prev[x - 1], table.data());
        }
    });
    markRect(t, 1, 1, w - 2, h - 2);
}

void WavePixels(RasterTarget& t) {
    const int w = t.width();
    const int h = t.height();
    if (w <= 0 || h <= 0) return;

    // near(x + cos y) - x is near(cos y) for whole x: cos y is never within rounding of a
    // half for the sizes a surface can have (a test checks the whole range).
    std::vector<int> shiftOfRow(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) shiftOfRow[y] = static_cast<int>(roundHalfEven64(std::cos(y)));
    // hits[(d + 1) * w + x]: all ones where source column x moves d rows (sin x rounds to d).
    std::vector<Pixel> hits(static_cast<std::size_t>(3 * w), 0);
    for (int x = 0; x < w; ++x) {
        const int d = static_cast<int>(roundHalfEven64(std::sin(x)));
        hits[static_cast<std::size_t>((d + 1) * w + x)] = ~Pixel{0};
    }

    const auto bands = splitRows(0, h, std::int64_t{w} * h);
    struct BandState {
        std::vector<Pixel> above, below, prev, cur;
    };
    std::vector<BandState> state(bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i].begin > 0) state[i].above = copyRow(t, bands[i].begin - 1);
        if (bands[i].end < h) state[i].below = copyRow(t, bands[i].end);
        state[i].prev.resize(static_cast<std::size_t>(w));
        state[i].cur.resize(static_cast<std::size_t>(w));
    }

    runBands(bands, [&](std::size_t i, RowBand band) {
        BandState& s = state[i];
        for (int ty = band.begin; ty < band.end; ++ty) {
            Pixel* out = t.row(ty);
            std::memcpy(s.cur.data(), out, static_cast<std::size_t>(w) * sizeof(Pixel));
            // Sources in rising column-major order, so that the last blend is the last write.
            std::array<WaveSource, 3> sources{};
            int n = 0;
            if (ty > 0) sources[n++] = {ty - 1, ty == band.begin ? s.above.data() : s.prev.data()};
            sources[n++] = {ty, s.cur.data()};
            if (ty + 1 < h)
                sources[n++] = {ty + 1, ty + 1 == band.end ? s.below.data() : t.row(ty + 1)};
            // Insertion sort of at most three; a larger row shift means a smaller source
            // column for the same target.
            auto before = [&](const WaveSource& a, const WaveSource& b) {
                if (shiftOfRow[a.y] != shiftOfRow[b.y]) return shiftOfRow[a.y] > shiftOfRow[b.y];
                return a.y < b.y;
            };
            for (int j = 1; j < n; ++j)
                for (int k = j; k > 0 && before(sources[k], sources[k - 1]); --k)
                    std::swap(sources[k], sources[k - 1]);
            for (int j = 0; j < n; ++j) {
                const WaveSource& src = sources[j];
                const Pixel* mask = hits.data() + static_cast<std::size_t>((ty - src.y + 1) * w);
                blendShifted(out, src.row, mask, shiftOfRow[src.y], w);
            }
            std::swap(s.prev, s.cur);
        }
    });
    markAll(t);
}

}  // namespace nt
