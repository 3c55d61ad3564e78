#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace nt {

// One limit for every surface and every decoded picture: two full images of the
// largest allowed size (persistent and screen) stay well inside a desktop's memory.
inline constexpr std::int64_t kMaxSide = 30000;
inline constexpr std::int64_t kMaxPixels = std::int64_t{100} * 1000 * 1000;

// Returns the reason a size is refused, or nothing when it is acceptable.
std::optional<std::string> checkSurfaceSize(std::int64_t width, std::int64_t height);

class SurfaceSizeError : public std::length_error {
  public:
    using std::length_error::length_error;
};

}  // namespace nt
