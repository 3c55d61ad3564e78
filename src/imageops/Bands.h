#pragma once

#include <cstdint>
#include <thread>
#include <vector>

namespace nt {

// Row ranges a whole-picture operation is split into: two on a large picture (one on a
// worker thread, one on the caller's), one on a small one, where starting a thread would
// cost more than the work (the dialog previews run a filter on every scroll step).
struct RowBand {
    int begin = 0;
    int end = 0;  // exclusive
};

inline constexpr std::int64_t kParallelPixels = std::int64_t{1} << 18;

inline std::vector<RowBand> splitRows(int begin, int end, std::int64_t pixels) {
    if (end <= begin) return {};
    if (pixels < kParallelPixels || end - begin < 2) return {{begin, end}};
    const int mid = begin + (end - begin) / 2;
    return {{begin, mid}, {mid, end}};
}

// Runs work(bandIndex, band) for every band; the first band on the calling thread.
// Bands must write disjoint rows and read nothing another band writes.
template <class Work>
void runBands(const std::vector<RowBand>& bands, Work&& work) {
    std::vector<std::jthread> workers;
    workers.reserve(bands.size());
    for (std::size_t i = 1; i < bands.size(); ++i)
        workers.emplace_back([&work, &bands, i] { work(i, bands[i]); });
    if (!bands.empty()) work(std::size_t{0}, bands[0]);
}

}  // namespace nt
