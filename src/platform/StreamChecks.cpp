#include <cstring>

#include "platform/QtDecoders.h"

namespace nt {

namespace {

// A marker's segment payload follows a 16-bit big-endian length that includes itself.
bool hasLength(std::uint8_t marker) {
    return !(marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9));
}

// Skips entropy-coded data after a start of scan; returns the position of the next marker.
std::int64_t skipScan(Bytes data, std::int64_t pos) {
    const std::int64_t size = data.size();
    while (pos + 1 < size) {
        const auto* hit = static_cast<const std::uint8_t*>(
            std::memchr(data.data() + pos, 0xFF, static_cast<std::size_t>(size - pos - 1)));
        if (!hit) return size;
        pos = hit - data.data();
        const std::uint8_t next = data.u8(pos + 1);
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            pos += 2;  // stuffed byte or restart marker: still inside the scan
        } else if (next == 0xFF) {
            pos += 1;  // fill byte before a marker
        } else {
            return pos;
        }
    }
    return size;
}

}  // namespace

std::optional<std::string> checkJpegComplete(Bytes data) {
    if (!data.has(0, 2) || data.u8(0) != 0xFF || data.u8(1) != 0xD8) return "not a JPEG stream";
    std::int64_t pos = 2;
    while (data.has(pos, 2)) {
        if (data.u8(pos) != 0xFF) return "JPEG marker expected";
        std::uint8_t marker = data.u8(pos + 1);
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        pos += 2;
        if (marker == 0xD9) return std::nullopt;
        if (!hasLength(marker)) continue;
        const std::int64_t length = data.u16be(pos);
        if (length < 2 || !data.has(pos, length)) break;
        pos += length;
        if (marker == 0xDA) pos = skipScan(data, pos);
    }
    return "JPEG data truncated";
}

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
