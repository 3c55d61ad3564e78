// libFuzzer target for the JPEG decoder: libjpeg's error and warning paths through our handlers.

#include <cstdint>
#include <cstdlib>

#include "platform/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nt::Bytes bytes(data, static_cast<std::int64_t>(size));
    auto result = nt::decodeJpeg(bytes);
    // A picture reported as decoded must be whole and opaque.
    if (const auto* image = std::get_if<QImage>(&result)) {
        if (image->isNull() || image->format() != QImage::Format_RGB32) std::abort();
    }
    return 0;
}
