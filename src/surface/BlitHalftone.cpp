// Area-averaging stretch: every destination pixel is the average of the source pixels
// under its footprint, each weighted by the area it covers, rounded to nearest.
//
// The weights are exact integers: in units of 1/D source pixels (D the destination length)
// a footprint is S long (S the source length), so after dividing by gcd(S, D) a whole
// source pixel weighs D/g and a footprint S/g. Totals above kWeightScale (only possible for
// source extents far beyond any real picture) are rescaled to it.
//
// Separable, columns of rows first: for each destination row the source rows under it are
// summed per channel across the needed source columns (contiguous, so the loop streams),
// then each destination pixel sums its footprint along that line and divides once.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>
#include <vector>

#include "surface/BlitDetail.h"
#include "surface/HalftoneFootprints.h"

namespace nt::blit {

namespace {

constexpr std::uint64_t kWeightScale = std::uint64_t{1} << 16;

// Brings a footprint's weights to a sum of exactly kWeightScale, rounding the running sum
// so that no weight is off by a whole unit.
void rescale(std::uint32_t* w, int n, std::uint64_t sum) {
    std::uint64_t before = 0, scaledBefore = 0;
    for (int k = 0; k < n; ++k) {
        before += w[k];
        const std::uint64_t scaled = (before * kWeightScale + sum / 2) / sum;
        w[k] = static_cast<std::uint32_t>(scaled - scaledBefore);
        scaledBefore = scaled;
    }
}

// Division of a weighted channel sum by its total weight d, rounded to nearest with halves
// up. The sum never exceeds 255 d, so for d < 2^23 a multiply by ceil(2^54 / d) and a shift
// is exact: the reciprocal's error times the dividend stays below 2^54, and the product
// below 2^63.
class RoundingDivider {
  public:
    explicit RoundingDivider(std::uint64_t d)
        : d_(d),
          half_(d / 2),
          magic_(d < kMagicLimit ? ((std::uint64_t{1} << 54) + d - 1) / d : 0) {}
    std::uint32_t operator()(std::uint64_t sum) const {
        const std::uint64_t n = sum + half_;
        return static_cast<std::uint32_t>(magic_ ? (n * magic_) >> 54 : n / d_);
    }

  private:
    static constexpr std::uint64_t kMagicLimit = std::uint64_t{1} << 23;
    std::uint64_t d_, half_, magic_;
};

// Red and blue of a pixel in the two 32-bit halves of one word, so that one multiply weighs
// both; no lane can carry into the other while a sum stays below 2^32.
inline std::uint64_t redBlue(Pixel p) {
    return (p & 0xFFu) | static_cast<std::uint64_t>(p & 0xFF0000u) << 16;
}
inline std::uint32_t greenOf(Pixel p) {
    return (p >> 8) & 0xFFu;
}
constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;

// Weighted sums of one destination row's source rows over the needed source columns; each
// lane is at most 255 * 2^16.
struct Line {
    std::vector<std::uint64_t> redBlue;
    std::vector<std::uint32_t> green;
};

// Source rows that a footprint covers completely all weigh the same, so they are first
// summed plainly, two pixels to a word in 16-bit lanes (blue and red in one word, green and
// the unused alpha byte in the other), and weighed once. 257 rows of 255 fill a lane.
constexpr int kPlainRows = 257;
constexpr std::uint64_t kByteLanes = 0x00FF00FF00FF00FFu;

struct PairSums {
    std::vector<std::uint64_t> redBlue, greenAlpha;
    std::vector<const Pixel*> rows;
};

inline std::uint64_t pixelPair(const Pixel* s) {
    return static_cast<std::uint64_t>(s[0]) | static_cast<std::uint64_t>(s[1]) << 32;
}

void sumPlainRows(const SourceImage& src, int firstRow, int n, int srcLo, std::size_t width,
                  PairSums& sums) {
    const std::size_t pairs = width / 2;
    sums.rows.resize(static_cast<std::size_t>(n));
    for (int m = 0; m < n; ++m)
        sums.rows[static_cast<std::size_t>(m)] = src.row(firstRow + m) + srcLo;
    const Pixel* const* rows = sums.rows.data();
    for (std::size_t i = 0; i < pairs; ++i) {
        std::uint64_t rb = 0, ga = 0;
        for (int m = 0; m < n; ++m) {
            const std::uint64_t two = pixelPair(rows[m] + 2 * i);
            rb += two & kByteLanes;
            ga += (two >> 8) & kByteLanes;
        }
        sums.redBlue[i] = rb;
        sums.greenAlpha[i] = ga;
    }
    if (width % 2) {
        std::uint64_t rb = 0, ga = 0;
        for (int m = 0; m < n; ++m) {
            rb += rows[m][width - 1] & kByteLanes;
            ga += (rows[m][width - 1] >> 8) & kByteLanes;
        }
        sums.redBlue[pairs] = rb;
        sums.greenAlpha[pairs] = ga;
    }
}

// Adds weight times the plain sums to the line (or sets them, when fresh).
void addPlainSums(const PairSums& sums, std::uint32_t weight, bool fresh, Line& line) {
    const std::size_t width = line.green.size();
    constexpr std::uint64_t kLane = 0xFFFF;
    for (std::size_t x = 0; x < width; ++x) {
        const unsigned shift = x % 2 ? 32 : 0;
        const std::uint64_t rb = sums.redBlue[x / 2] >> shift;
        const std::uint64_t both = weight * ((rb & kLane) | (rb & (kLane << 16)) << 16);
        const auto green =
            static_cast<std::uint32_t>(weight * ((sums.greenAlpha[x / 2] >> shift) & kLane));
        line.redBlue[x] = fresh ? both : line.redBlue[x] + both;
        line.green[x] = fresh ? green : line.green[x] + green;
    }
}

void addWeightedRow(const Pixel* s, std::uint32_t w, bool fresh, Line& line) {
    const std::size_t width = line.green.size();
    std::uint64_t* rb = line.redBlue.data();
    std::uint32_t* g = line.green.data();
    if (fresh) {
        for (std::size_t x = 0; x < width; ++x) {
            rb[x] = w * redBlue(s[x]);
            g[x] = w * greenOf(s[x]);
        }
    } else {
        for (std::size_t x = 0; x < width; ++x) {
            rb[x] += w * redBlue(s[x]);
            g[x] += w * greenOf(s[x]);
        }
    }
}

void sumRows(const SourceImage& src, const Footprints& rows, std::size_t r, int srcLo,
             PairSums& sums, Line& line) {
    const std::uint32_t* w = rows.weight.data() + rows.offset[r];
    const int n = rows.count[r], first = rows.start[r];
    bool fresh = true;
    for (int m = 0; m < n; fresh = false) {
        int run = 0;
        while (m + run < n && run < kPlainRows && w[m + run] == rows.whole) ++run;
        if (run >= 2) {
            sumPlainRows(src, first + m, run, srcLo, line.green.size(), sums);
            addPlainSums(sums, rows.whole, fresh, line);
            m += run;
        } else {
            addWeightedRow(src.row(first + m) + srcLo, w[m], fresh, line);
            ++m;
        }
    }
}

// One destination row from the line. With `packed`, whole sums stay below 2^32 and red and
// blue are weighed together.
template <bool packed>
void resampleLine(const Line& line, const Footprints& cols, int srcLo, std::uint32_t rowTotal,
                  Pixel* out) {
    const std::uint32_t common = cols.maxTotal();
    const RoundingDivider divideCommon(std::uint64_t{common} * rowTotal);
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const std::uint32_t* w = cols.weight.data() + cols.offset[k];
        const std::size_t base = static_cast<std::size_t>(cols.start[k] - srcLo);
        const std::uint64_t* rb = line.redBlue.data() + base;
        const std::uint32_t* g = line.green.data() + base;
        std::uint64_t red = 0, green = 0, blue = 0;
        if constexpr (packed) {
            std::uint64_t both = 0;
            for (int m = 0; m < cols.count[k]; ++m) {
                both += w[m] * rb[m];
                green += w[m] * g[m];
            }
            red = both >> 32;
            blue = both & kLow32;
        } else {
            for (int m = 0; m < cols.count[k]; ++m) {
                const std::uint64_t wm = w[m];
                red += wm * (rb[m] >> 32);
                blue += wm * (rb[m] & kLow32);
                green += wm * g[m];
            }
        }
        // Only footprints cut by the source's edge have a smaller total.
        const auto pixel = [&](const RoundingDivider& divide) {
            return 0xFF000000u | divide(red) << 16 | divide(green) << 8 | divide(blue);
        };
        out[k] = cols.total[k] == common
                     ? pixel(divideCommon)
                     : pixel(RoundingDivider(std::uint64_t{cols.total[k]} * rowTotal));
    }
}

}  // namespace

Footprints footprints(const StretchAxis& a) {
    Footprints f;
    const PixelRange visible = a.visible();
    if (visible.empty()) return f;
    f.first = visible.lo;
    const std::int64_t S = a.srcLength(), D = a.dstLength(), g = std::gcd(S, D);
    f.whole = static_cast<std::uint32_t>(D / g);
    const auto [jMin, jMax] = a.srcIndexRange();
    for (int d = visible.lo; d <= visible.hi; ++d) {
        const std::int64_t i = a.indexOf(d);
        const std::int64_t b0 = i * S, b1 = b0 + S;  // footprint, in 1/D source pixels
        const std::int64_t ja = std::max(b0 / D, jMin), jb = std::min((b1 - 1) / D, jMax);
        const std::size_t off = f.weight.size();
        std::uint64_t sum = 0;
        for (std::int64_t j = ja; j <= jb; ++j) {
            const std::int64_t w = (std::min((j + 1) * D, b1) - std::max(j * D, b0)) / g;
            f.weight.push_back(static_cast<std::uint32_t>(w));
            sum += static_cast<std::uint64_t>(w);
        }
        const int n = static_cast<int>(jb - ja + 1);
        if (a.srcExtent < 0)
            std::reverse(f.weight.begin() + static_cast<std::ptrdiff_t>(off), f.weight.end());
        if (sum > kWeightScale) {
            rescale(f.weight.data() + off, n, sum);
            sum = kWeightScale;
        }
        f.start.push_back(static_cast<int>(std::min(a.srcPixel(ja), a.srcPixel(jb))));
        f.count.push_back(n);
        f.offset.push_back(off);
        f.total.push_back(static_cast<std::uint32_t>(sum));
    }
    return f;
}

void halftoneStretch(RasterTarget& t, const SourceImage& src, const StretchAxis& ax,
                     const StretchAxis& ay) {
    const Footprints cols = footprints(ax), rows = footprints(ay);
    if (cols.size() == 0 || rows.size() == 0) return;
    if (halftoneAcrossFirst(t, src, cols, rows)) return;
    int srcLo = INT_MAX, srcHi = INT_MIN;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        srcLo = std::min(srcLo, cols.start[k]);
        srcHi = std::max(srcHi, cols.start[k] + cols.count[k] - 1);
    }
    const auto width = static_cast<std::size_t>(srcHi - srcLo + 1);
    Line line{std::vector<std::uint64_t>(width), std::vector<std::uint32_t>(width)};
    PairSums sums{std::vector<std::uint64_t>((width + 1) / 2),
                  std::vector<std::uint64_t>((width + 1) / 2),
                  {}};
    const bool packed = std::uint64_t{cols.maxTotal()} * rows.maxTotal() * 255 <= kLow32;
    const int x0 = cols.first, x1 = cols.first + static_cast<int>(cols.size()) - 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        sumRows(src, rows, r, srcLo, sums, line);
        const int y = rows.first + static_cast<int>(r);
        Pixel* out = t.row(y) + x0;
        if (packed) {
            resampleLine<true>(line, cols, srcLo, rows.total[r], out);
        } else {
            resampleLine<false>(line, cols, srcLo, rows.total[r], out);
        }
        t.mark(y, x0, x1);
    }
}

}  // namespace nt::blit
