#pragma once

#include <cstdint>

namespace nt {

// Asks the system to back a large, freshly allocated and not yet touched buffer with large
// pages. First-touch faults of a 100 MB picture in 4 KiB pages cost several times what
// decoding it does. A hint only: it does nothing where unsupported or for small buffers.
void preferLargePages(void* data, std::int64_t bytes);

}  // namespace nt
