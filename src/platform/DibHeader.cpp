#include <bit>
#include <limits>

#include "platform/Dib.h"
#include "surface/Limits.h"

namespace nt::dib {

PictureError invalid(std::string reason) {
    return PictureError{std::move(reason), PictureError::Kind::InvalidPicture};
}

Mask makeMask(std::uint32_t bits) {
    Mask m;
    m.bits = bits;
    if (bits == 0) return m;
    m.shift = std::countr_zero(bits);
    m.max = bits >> m.shift;
    return m;
}

namespace {

bool isWindowsHeader(std::int64_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}
bool isKnownHeader(std::int64_t size) {
    return size == 12 || (size >= 16 && size <= 64) || size == 108 || size == 124;
}

struct Raw {
    std::int64_t width = 0, height = 0;
    unsigned planes = 0, bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0, colorsUsed = 0;
};

Raw readRaw(Bytes dib, std::int64_t headerSize) {
    Raw r;
    if (headerSize == 12) {
        r.width = dib.u16(4);
        r.height = dib.u16(6);
        r.planes = dib.u16(8);
        r.bitCount = dib.u16(10);
        return r;
    }
    // OS/2 2.x headers may stop after any field; a missing field reads as 0.
    auto field = [&](std::int64_t at) { return at + 4 <= headerSize ? dib.u32(at) : 0u; };
    r.width = dib.i32(4);
    r.height = dib.i32(8);
    r.planes = dib.u16(12);
    r.bitCount = dib.u16(14);
    r.compression = field(16);
    r.sizeImage = field(20);
    r.colorsUsed = field(32);
    return r;
}

std::optional<std::string> readCompression(const Raw& raw, std::int64_t headerSize, Info& info) {
    const bool windows = isWindowsHeader(headerSize);
    switch (raw.compression) {
        case 0:
            info.compression = Compression::Rgb;
            return std::nullopt;
        case 1:
            info.compression = Compression::Rle8;
            return std::nullopt;
        case 2:
            info.compression = Compression::Rle4;
            return std::nullopt;
        case 3:
        case 6:
            if (!windows) return "OS/2 Huffman compression is not supported";
            info.compression = Compression::Bitfields;
            return std::nullopt;
        case 4:
            if (!windows) return "OS/2 RLE24 compression is not supported";
            info.compression = Compression::Jpeg;
            return std::nullopt;
        case 5:
            if (!windows) break;
            info.compression = Compression::Png;
            return std::nullopt;
        default:
            break;
    }
    return "unknown compression " + std::to_string(raw.compression);
}

std::optional<std::string> checkDepth(const Info& info) {
    const int bpp = info.bitCount;
    switch (info.compression) {
        case Compression::Rle8:
            if (bpp != 8) return "RLE8 needs 8 bits per pixel";
            break;
        case Compression::Rle4:
            if (bpp != 4) return "RLE4 needs 4 bits per pixel";
            break;
        case Compression::Bitfields:
            if (bpp != 16 && bpp != 32) return "bit fields need 16 or 32 bits per pixel";
            break;
        case Compression::Rgb:
            if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
                return "unsupported bit count " + std::to_string(bpp);
            break;
        case Compression::Jpeg:
        case Compression::Png:
            break;
    }
    if ((info.compression == Compression::Rle8 || info.compression == Compression::Rle4) &&
        info.topDown)
        return "a compressed bitmap cannot be top-down";
    return std::nullopt;
}

// Reads the colour masks; returns the bytes they occupy after the header.
std::int64_t readMasks(Bytes dib, const Raw& raw, Info& info) {
    std::array<std::uint32_t, 4> bits{};
    std::int64_t after = 0;
    if (info.compression == Compression::Bitfields) {
        const int count = raw.compression == 6 ? 4 : 3;
        if (info.headerSize == 40) {
            for (int i = 0; i < count; ++i) bits[i] = dib.u32(40 + 4 * i);
            after = 4 * count;
        } else {
            for (int i = 0; i < 4; ++i)
                if (40 + 4 * i + 4 <= info.headerSize) bits[i] = dib.u32(40 + 4 * i);
        }
    } else if (info.bitCount == 16) {
        bits = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (info.bitCount == 32) {
        bits = {0xFF0000, 0xFF00, 0xFF, 0xFF000000u};
    }
    for (int i = 0; i < 4; ++i) info.masks[i] = makeMask(bits[i]);
    return after;
}

std::optional<std::string> readDimensions(const Raw& raw, Kind kind, Info& info) {
    if (raw.planes != 1) return "planes must be 1";
    if (raw.width <= 0) return "width must be positive";
    if (raw.height == 0) return "height must not be 0";
    if (raw.height == std::numeric_limits<std::int32_t>::min()) return "height out of range";
    info.width = raw.width;
    info.topDown = raw.height < 0;
    info.height = raw.height < 0 ? -raw.height : raw.height;
    if (kind == Kind::Icon) {
        if (info.topDown || info.height % 2 != 0)
            return "an icon bitmap's height must be positive and even";
        info.height /= 2;
    }
    if (auto refused = checkSurfaceSize(info.width, info.height)) return refused;
    return std::nullopt;
}

// Colour table: how many entries the file stores, how many of them index the pixels.
std::optional<std::string> readPalette(Bytes dib, const Raw& raw, Kind kind,
                                       std::int64_t tableStart, std::int64_t bitsOffset,
                                       Info& info) {
    const std::int64_t entrySize = info.headerSize == 12 ? 3 : 4;
    const bool indexed = info.bitCount <= 8 && info.compression != Compression::Jpeg &&
                         info.compression != Compression::Png;
    const std::int64_t full = indexed ? std::int64_t{1} << info.bitCount : 0;
    std::int64_t stored = raw.colorsUsed == 0 ? full : raw.colorsUsed;
    if (indexed && stored > 256) return "colour table larger than 256 entries";
    if (kind == Kind::File) {
        if (bitsOffset < tableStart) return "pixel data offset inside the header";
    } else {
        bitsOffset = tableStart + stored * entrySize;  // 64-bit: stored < 2^32
    }
    if (bitsOffset >= dib.size()) return "pixel data offset past the end of the file";
    info.bitsOffset = bitsOffset;
    // A short table (fewer entries fit before the pixels than declared) leaves the rest black.
    const std::int64_t fit = (bitsOffset - tableStart) / entrySize;
    const std::int64_t used = std::min({stored, full, fit});
    info.palette.fill(0xFF000000u);
    for (std::int64_t i = 0; i < used; ++i) {
        const std::int64_t at = tableStart + i * entrySize;
        info.palette[i] = 0xFF000000u | dib.u8(at + 2) << 16 | dib.u8(at + 1) << 8 | dib.u8(at);
    }
    return std::nullopt;
}

}  // namespace

InfoResult parse(Bytes dib, Kind kind, std::int64_t bitsOffset) {
    if (!dib.has(0, 4)) return invalid("file too short for a bitmap header");
    Info info;
    info.headerSize = dib.u32(0);
    if (!isKnownHeader(info.headerSize))
        return invalid("unknown bitmap header size " + std::to_string(info.headerSize));
    if (!dib.has(0, info.headerSize)) return invalid("bitmap header runs past the end of the file");
    const Raw raw = readRaw(dib, info.headerSize);
    info.bitCount = static_cast<int>(raw.bitCount);
    info.sizeImage = raw.sizeImage;
    if (auto e = readCompression(raw, info.headerSize, info)) return invalid(*e);
    if (auto e = readDimensions(raw, kind, info)) return invalid(*e);
    if (auto e = checkDepth(info)) return invalid(*e);
    const std::int64_t maskBytes = readMasks(dib, raw, info);
    if (!dib.has(info.headerSize, maskBytes))
        return invalid("colour masks past the end of the file");
    if (auto e = readPalette(dib, raw, kind, info.headerSize + maskBytes, bitsOffset, info))
        return invalid(*e);
    return info;
}

}  // namespace nt::dib
