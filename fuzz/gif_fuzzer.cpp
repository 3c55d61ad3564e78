// libFuzzer target for our GIF decoder: the block walk, the LZW codes and the frame's place.

#include <cstdint>
#include <cstdlib>

#include "platform/Gif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nt::Bytes bytes(data, static_cast<std::int64_t>(size));
    // A large screen costs only the time to fill it with the matte, a second under the
    // sanitizers; the unit tests open one.
    if (std::int64_t{bytes.u16(6)} * bytes.u16(8) > (1 << 22)) return 0;
    auto result = nt::decodeGif(bytes, nt::kWhite);
    // A picture reported as decoded must be whole, opaque and the screen's size.
    if (const auto* image = std::get_if<QImage>(&result)) {
        if (image->isNull() || image->format() != QImage::Format_RGB32 ||
            image->width() != bytes.u16(6) || image->height() != bytes.u16(8))
            std::abort();
    }
    return 0;
}
