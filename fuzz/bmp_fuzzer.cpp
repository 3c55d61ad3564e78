// libFuzzer target for our BMP/DIB/RLE decoder: files with and without the file header.

#include <cstdint>
#include <cstdlib>

#include "platform/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const nt::Bytes bytes(data, static_cast<std::int64_t>(size));
    auto result = bytes.startsWith("BM", 2) ? nt::decodeBmpFile(bytes, nt::kWhite)
                                            : nt::decodePackedDib(bytes, nt::kWhite);
    // A picture reported as decoded must be whole and opaque.
    if (const auto* image = std::get_if<QImage>(&result)) {
        if (image->isNull() || image->format() != QImage::Format_RGB32) std::abort();
    }
    return 0;
}
