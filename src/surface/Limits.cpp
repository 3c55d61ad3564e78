#include "surface/Limits.h"

namespace nt {

std::optional<std::string> checkSurfaceSize(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1)
        return "picture size must be at least 1 x 1 (got " + std::to_string(width) + " x " +
               std::to_string(height) + ")";
    if (width > kMaxSide || height > kMaxSide)
        return "picture side exceeds the limit of " + std::to_string(kMaxSide) + " pixels (got " +
               std::to_string(width) + " x " + std::to_string(height) + ")";
    if (width * height > kMaxPixels)
        return "picture exceeds the limit of " + std::to_string(kMaxPixels) + " pixels (got " +
               std::to_string(width) + " x " + std::to_string(height) + ")";
    return std::nullopt;
}

}  // namespace nt
