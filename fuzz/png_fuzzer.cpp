// libFuzzer target for PNG: our structure and size checks in front of Qt's reader (libpng),
// and the compositing of transparent pixels.

#include <cstdint>
#include <cstdlib>

#include "platform/QtDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nt::Bytes bytes(data, static_cast<std::int64_t>(size));
    auto result = nt::decodePngWithQt(bytes, nt::kWhite);
    // A picture reported as decoded must be whole, opaque and of the size its header says.
    if (const auto* image = std::get_if<QImage>(&result)) {
        const auto header = nt::readPngHeader(bytes);
        if (image->isNull() || image->format() != QImage::Format_RGB32 || !header ||
            image->width() != header->width || image->height() != header->height)
            std::abort();
    }
    return 0;
}
