#include "imageops/RandomFilters.h"

#include <algorithm>
#include <vector>

#include "imageops/Bands.h"
#include "imageops/Marking.h"

namespace nt {

namespace {

using Jump = UniformRandom::Jump;

// ---- noise ----

// near(base + spread * bits / 2^24) clamped to 0..255, exactly and without branches (the
// draws are random, so a branch would be mispredicted half the time): with
// T = base * 2^24 + spread * bits, halves to even is (T + 2^23 - 1 + bit 24 of T) >> 24.
inline Pixel noisyChannel(std::int64_t base, std::int64_t spread, std::uint32_t bits) {
    const std::int64_t scaled = base * UniformRandom::kOne + spread * bits;
    const std::int64_t half = (std::int64_t{1} << (UniformRandom::kBits - 1)) - 1;
    const std::int64_t v =
        (scaled + half + ((scaled >> UniformRandom::kBits) & 1)) >> UniformRandom::kBits;
    return static_cast<Pixel>(std::clamp<std::int64_t>(v, 0, 255));
}

// ---- diffuse ----

// How far up-left (0, 1 or 2) near(p + 2r - 2) lies from p, r = bits / 2^24: 2 below
// r = 1/4, 1 up to 3/4, 0 above; at r = 1/4 (p - 1.5) and r = 3/4 (p - 0.5) the tie goes
// to the even neighbour. Branch-free, as the draws are random.
inline int diffuseStep(std::uint32_t bits, int p) {
    constexpr std::uint32_t kQuarter = UniformRandom::kOne / 4;
    const int odd = p & 1;
    return static_cast<int>(bits < kQuarter) + static_cast<int>(bits < 3 * kQuarter) +
           (static_cast<int>(bits == kQuarter) & (odd ^ 1)) +
           (static_cast<int>(bits == 3 * kQuarter) & odd);
}

}  // namespace

void AddNoise(RasterTarget& t, std::int16_t amount, UniformRandom& random) {
    const int w = t.width();
    const int h = t.height();
    if (w <= 0 || h <= 0) return;
    const std::int64_t spread = 2 * std::int64_t{amount} + 1;
    const std::uint64_t start = random.state();
    // Pixel (x, y) takes draws 3 (x H + y) .. 3 (x H + y) + 2: along a row the state jumps
    // 3H draws, from one row to the next 3.
    const Jump alongRow = Jump::draws(3 * static_cast<std::uint64_t>(h));
    const Jump nextRow = Jump::draws(3);

    runBands(splitRows(0, h, std::int64_t{w} * h), [&](std::size_t, RowBand band) {
        std::uint64_t rowState = Jump::draws(3 * static_cast<std::uint64_t>(band.begin))(start);
        for (int y = band.begin; y < band.end; ++y, rowState = nextRow(rowState)) {
            Pixel* row = t.row(y);
            std::uint64_t s = rowState;
            for (int x = 0; x < w; ++x, s = alongRow(s)) {
                const std::uint64_t s1 = UniformRandom::step(s);
                const std::uint64_t s2 = UniformRandom::step(s1);
                const Pixel p = row[x];
                const Pixel r = noisyChannel(std::int64_t{(p >> 16) & 0xFF} - amount, spread,
                                             UniformRandom::bitsAt(s));
                const Pixel g = noisyChannel(std::int64_t{(p >> 8) & 0xFF} - amount, spread,
                                             UniformRandom::bitsAt(s1));
                const Pixel b = noisyChannel(std::int64_t{p & 0xFF} - amount, spread,
                                             UniformRandom::bitsAt(s2));
                row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            }
        }
    });
    random.discard(3 * static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h));
    markAll(t);
}

void DiffuseImage(RasterTarget& t, UniformRandom& random) {
    const int w = t.width();
    const int h = t.height();
    if (w < 5 || h < 5) return;
    const int coveredRows = h - 4;
    const std::uint64_t start = random.state();
    // Pixel (x, y) takes draw (x - 2)(H - 4) + (y - 2).
    const Jump alongRow = Jump::draws(static_cast<std::uint64_t>(coveredRows));
    const auto bands = splitRows(2, h - 2, std::int64_t{w} * h);

    // Rows go bottom-up, so the two rows above are still original when a row reads them;
    // a band's top rows read the two rows above the band, which the band above changes.
    struct BandState {
        std::vector<Pixel> above1, above2, out;
    };
    std::vector<BandState> state(bands.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int top = bands[i].begin;
        const Pixel* r1 = t.row(top - 1);
        const Pixel* r2 = t.row(top - 2);
        state[i].above1.assign(r1, r1 + w);
        state[i].above2.assign(r2, r2 + w);
        state[i].out.resize(static_cast<std::size_t>(w));
    }

    runBands(bands, [&](std::size_t i, RowBand band) {
        BandState& s = state[i];
        auto original = [&](int y) -> const Pixel* {
            if (y == band.begin - 1) return s.above1.data();
            if (y == band.begin - 2) return s.above2.data();
            return t.row(y);
        };
        for (int y = band.end - 1; y >= band.begin; --y) {
            const Pixel* rows[3] = {original(y), original(y - 1), original(y - 2)};
            std::uint64_t cursor = Jump::draws(static_cast<std::uint64_t>(y - 2))(start);
            for (int x = 2; x < w - 2; ++x, cursor = alongRow(cursor)) {
                const std::uint32_t bits = UniformRandom::bitsAt(cursor);
                s.out[static_cast<std::size_t>(x)] =
                    rows[diffuseStep(bits, y)][x - diffuseStep(bits, x)];
            }
            std::copy(s.out.begin() + 2, s.out.end() - 2, t.row(y) + 2);
        }
    });
    random.discard(static_cast<std::uint64_t>(w - 4) * static_cast<std::uint64_t>(coveredRows));
    markRect(t, 2, 2, w - 3, h - 3);
}

}  // namespace nt
