#pragma once

// The halftone stretch's footprints along one axis, shared by its two ways of summing them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "surface/BlitDetail.h"

namespace nt::blit {

// The footprints of one axis's visible destination pixels: each a run of source pixels in
// ascending order with their weights.
struct Footprints {
    int first = 0;  // first destination pixel
    std::vector<int> start;
    std::vector<int> count;
    std::vector<std::size_t> offset;  // into weight
    std::vector<std::uint32_t> weight;
    std::vector<std::uint32_t> total;
    std::uint32_t whole = 0;  // the weight of a source pixel covered completely
    std::size_t size() const { return start.size(); }
    std::uint32_t maxTotal() const { return *std::max_element(total.begin(), total.end()); }
    int maxCount() const { return *std::max_element(count.begin(), count.end()); }
};

Footprints footprints(const StretchAxis& a);

// Rows first across, then down, in 32-bit sums: done (true) only when every weighted sum fits,
// which it does unless the two lengths of an axis have almost no common factor.
bool halftoneAcrossFirst(RasterTarget& t, const SourceImage& src, const Footprints& cols,
                         const Footprints& rows);

}  // namespace nt::blit
