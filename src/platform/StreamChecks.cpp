#include <cstring>

#include "platform/QtDecoders.h"

namespace nt {

std::optional<PngHeader> readPngHeader(Bytes data) {
    if (!data.startsWith("\x89PNG\r\n\x1a\n", 8) || data.u32be(8) != 13 || !data.has(12, 4 + 13) ||
        std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    PngHeader h;
    h.width = data.u32be(16);
    h.height = data.u32be(20);
    const int depth = data.u8(24);
    int channels = 0;
    switch (data.u8(25)) {
        case 0:
            channels = 1;
            break;
        case 2:
            channels = 3;
            break;
        case 3:
            channels = 1;
            break;
        case 4:
            channels = 2;
            break;
        case 6:
            channels = 4;
            break;
        default:
            return std::nullopt;
    }
    h.bitsPerPixel = depth * channels;
    return h;
}

std::optional<std::string> checkPngComplete(Bytes data) {
    if (!readPngHeader(data)) return "not a PNG stream";
    std::int64_t pos = 8;
    while (data.has(pos, 12)) {
        const std::int64_t length = data.u32be(pos);
        if (!data.has(pos + 8, length + 4)) break;
        if (std::memcmp(data.data() + pos + 4, "IEND", 4) == 0) return std::nullopt;
        pos += 12 + length;
    }
    return "PNG data truncated";
}

}  // namespace nt
