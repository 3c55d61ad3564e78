// The halftone stretch across first: each source row is summed across into the destination's
// columns once (red, green and blue apart), then each destination row weighs the few such
// rows under it and divides, in loops over plain 32-bit arrays that the compiler turns into
// vector code. The sums and the rounding are those of the other order exactly: integers all
// the way, one division per channel at the end.

#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#include "surface/HalftoneFootprints.h"

namespace nt::blit {

namespace {

// Every sum, plus half its divisor, stays below 256 times the divisor, so with totals
// products up to 2^20 everything fits 32 bits, and so do the reciprocals below.
constexpr std::uint64_t kMaxDivisor = std::uint64_t{1} << 20;

// Division rounded to nearest, halves up, of any n < 256 d, by a multiply and a shift: with
// 2^shift >= 256 d^2 the reciprocal's error never reaches the quotient.
struct Reciprocal {
    explicit Reciprocal(std::uint32_t d) : half(d / 2) {
        while ((std::uint64_t{1} << shift) < 256 * std::uint64_t{d} * d) ++shift;
        magic = static_cast<std::uint32_t>(((std::uint64_t{1} << shift) + d - 1) / d);
    }
    std::uint32_t operator()(std::uint32_t sum) const {
        return static_cast<std::uint32_t>((std::uint64_t{sum + half} * magic) >> shift);
    }
    std::uint32_t half, magic;
    unsigned shift = 0;
};

// The column footprints as windows of one width, `taps`, each starting where it can hold its
// weights without passing the needed source columns, with zero weights in its spare places.
struct Windows {
    int taps = 0;
    std::vector<int> start;
    std::vector<std::uint32_t> weight;  // taps per window
};

Windows windows(const Footprints& cols, int srcLo, int srcHi) {
    Windows w;
    w.taps = cols.maxCount();
    w.start.resize(cols.size());
    w.weight.assign(cols.size() * static_cast<std::size_t>(w.taps), 0);
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const int start = std::max(srcLo, std::min(cols.start[k], srcHi - w.taps + 1));
        w.start[k] = start;
        for (int m = 0; m < cols.count[k]; ++m)
            w.weight[k * static_cast<std::size_t>(w.taps) +
                     static_cast<std::size_t>(cols.start[k] - start + m)] =
                cols.weight[cols.offset[k] + static_cast<std::size_t>(m)];
    }
    return w;
}

// One source row across: per channel a plane of sums, one per destination column.
struct Planes {
    std::vector<std::uint32_t> red, green, blue;
    explicit Planes(std::size_t n) : red(n), green(n), blue(n) {}
};

// Red and blue share one word's two halves (a lane's sum stays below 2^28, no carry).
template <int kTaps>
void acrossRow(const Pixel* row, const Windows& w, int taps, Planes& out) {
    const int n = kTaps ? kTaps : taps;
    const std::uint32_t* weight = w.weight.data();
    for (std::size_t k = 0; k < w.start.size(); ++k, weight += n) {
        const Pixel* p = row + w.start[k];
        std::uint64_t redBlue = 0;
        std::uint32_t green = 0;
        for (int m = 0; m < n; ++m) {
            const std::uint64_t rb = (p[m] & 0xFFu) | std::uint64_t{p[m] & 0xFF0000u} << 16;
            redBlue += weight[m] * rb;
            green += weight[m] * ((p[m] >> 8) & 0xFFu);
        }
        out.red[k] = static_cast<std::uint32_t>(redBlue >> 32);
        out.green[k] = green;
        out.blue[k] = static_cast<std::uint32_t>(redBlue);
    }
}

void across(const Pixel* row, const Windows& w, Planes& out) {
    switch (w.taps) {
        case 1:
            return acrossRow<1>(row, w, 1, out);
        case 2:
            return acrossRow<2>(row, w, 2, out);
        case 3:
            return acrossRow<3>(row, w, 3, out);
        case 4:
            return acrossRow<4>(row, w, 4, out);
        default:
            return acrossRow<0>(row, w, w.taps, out);
    }
}

// The last few source rows summed across, by row: consecutive destination rows share some.
class AcrossCache {
  public:
    AcrossCache(const SourceImage& src, const Windows& w)
        : src_(src), windows_(w), planes_(kSlots, Planes(w.start.size())) {
        rows_.fill(INT_MIN);
    }
    const Planes& row(int y) {
        for (std::size_t i = 0; i < kSlots; ++i)
            if (rows_[i] == y) return planes_[i];
        const std::size_t slot = next_++ % kSlots;
        across(src_.row(y), windows_, planes_[slot]);
        rows_[slot] = y;
        return planes_[slot];
    }

  private:
    static constexpr std::size_t kSlots = 4;
    const SourceImage& src_;
    const Windows& windows_;
    std::vector<Planes> planes_;
    std::array<int, kSlots> rows_{};
    std::size_t next_ = 0;
};

__attribute__((target_clones("avx2", "default"))) void weigh(const std::uint32_t* in,
                                                             std::uint32_t w, bool fresh,
                                                             std::uint32_t* sum, std::size_t n) {
    if (fresh) {
        for (std::size_t k = 0; k < n; ++k) sum[k] = w * in[k];
    } else {
        for (std::size_t k = 0; k < n; ++k) sum[k] += w * in[k];
    }
}

__attribute__((target_clones("avx2", "default"))) void divide(const Planes& sums,
                                                              const Reciprocal& q, Pixel* out,
                                                              std::size_t n) {
    const std::uint32_t* r = sums.red.data();
    const std::uint32_t* g = sums.green.data();
    const std::uint32_t* b = sums.blue.data();
    for (std::size_t k = 0; k < n; ++k)
        out[k] = 0xFF000000u | q(r[k]) << 16 | q(g[k]) << 8 | q(b[k]);
}

}  // namespace

bool halftoneAcrossFirst(RasterTarget& t, const SourceImage& src, const Footprints& cols,
                         const Footprints& rows) {
    const std::uint32_t common = cols.maxTotal();
    if (std::uint64_t{common} * rows.maxTotal() > kMaxDivisor) return false;
    int srcLo = INT_MAX, srcHi = INT_MIN;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        srcLo = std::min(srcLo, cols.start[k]);
        srcHi = std::max(srcHi, cols.start[k] + cols.count[k] - 1);
    }
    const Windows w = windows(cols, srcLo, srcHi);
    // Only footprints cut by the source's edge have a smaller total.
    std::vector<std::size_t> cut;
    for (std::size_t k = 0; k < cols.size(); ++k)
        if (cols.total[k] != common) cut.push_back(k);
    AcrossCache cache(src, w);
    const std::size_t n = cols.size();
    Planes sums(n);
    const int x0 = cols.first, x1 = cols.first + static_cast<int>(n) - 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::uint32_t* weight = rows.weight.data() + rows.offset[r];
        for (int m = 0; m < rows.count[r]; ++m) {
            const Planes& row = cache.row(rows.start[r] + m);
            weigh(row.red.data(), weight[m], m == 0, sums.red.data(), n);
            weigh(row.green.data(), weight[m], m == 0, sums.green.data(), n);
            weigh(row.blue.data(), weight[m], m == 0, sums.blue.data(), n);
        }
        const int y = rows.first + static_cast<int>(r);
        Pixel* out = t.row(y) + x0;
        divide(sums, Reciprocal(common * rows.total[r]), out, n);
        for (const std::size_t k : cut) {
            const Reciprocal q(cols.total[k] * rows.total[r]);
            out[k] = 0xFF000000u | q(sums.red[k]) << 16 | q(sums.green[k]) << 8 | q(sums.blue[k]);
        }
        t.mark(y, x0, x1);
    }
    return true;
}

}  // namespace nt::blit
