#include "platform/LargePages.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace nt {

void preferLargePages([[maybe_unused]] void* data, [[maybe_unused]] std::int64_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (start + static_cast<std::uintptr_t>(bytes)) & ~(kLargePage - 1);
    if (bytes <= 0 || end <= first) return;
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

}  // namespace nt
