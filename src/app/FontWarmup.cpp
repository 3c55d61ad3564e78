#include "app/FontWarmup.h"

#include <fontconfig/fontconfig.h>

namespace nt {

// Qt asks fontconfig for its configuration at the first font use and keeps the one loaded
// here, since FcInit only loads it once per process.
FontWarmup::FontWarmup() : worker_([] { FcInit(); }) {}

FontWarmup::~FontWarmup() {
    wait();
}

void FontWarmup::wait() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace nt
