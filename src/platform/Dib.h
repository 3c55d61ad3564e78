#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <variant>

#include <QImage>

#include "platform/Bytes.h"
#include "platform/Picture.h"
#include "surface/Colour.h"

// The device-independent bitmap shared by BMP files, packed DIBs and icon entries.

namespace nt::dib {

enum class Compression { Rgb, Rle8, Rle4, Bitfields, Jpeg, Png };

// Where the DIB comes from decides where its pixels start and how its height is read.
enum class Kind {
    File,    // after a BMP file header: pixels at the header's offset
    Packed,  // pixels right after the colour table
    Icon,    // an icon entry: pixels after the colour table, height doubled for the AND mask
};

struct Mask {
    std::uint32_t bits = 0;
    int shift = 0;
    std::uint64_t max = 0;  // bits >> shift: the largest value the field can hold
};
Mask makeMask(std::uint32_t bits);

struct Info {
    std::int64_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows of the picture (an icon's XOR part only)
    bool topDown = false;
    int bitCount = 0;
    Compression compression = Compression::Rgb;
    std::array<Mask, 4> masks{};       // red, green, blue, alpha
    std::array<Pixel, 256> palette{};  // entries past the file's colour table are black
    std::int64_t bitsOffset = 0;       // from the start of the info header
    std::int64_t sizeImage = 0;
    std::int64_t stride() const { return (width * bitCount + 31) / 32 * 4; }
};

using InfoResult = std::variant<Info, PictureError>;

// Parses the info header, masks and colour table of a DIB that starts at `dib`'s first byte.
// For Kind::File, `bitsOffset` is where the file header puts the pixels (relative to `dib`).
InfoResult parse(Bytes dib, Kind kind, std::int64_t bitsOffset = 0);

// Decodes the pixels of a parsed RGB, bit-field or RLE DIB straight into a new image of
// width x height: RGB32, or ARGB32 holding the file's alpha (0xFF without one) when
// `keepAlpha`. Uncompressed data must be complete.
PictureResult decodePixels(const Info& info, Bytes dib, bool keepAlpha);

// The uncompressed part of decodePixels, a band at a time: picture rows [first, first + count)
// (counted from the top) into rows 0 .. count - 1 of `out`, which is at least info.width
// wide. The pixel data must be complete (hasAllRows).
void decodeRows(const Info& info, Bytes dib, bool keepAlpha, int first, int count, QImage& out);
bool hasAllRows(const Info& info, Bytes dib);

// The RLE8/RLE4 part of decodePixels, into an allocated image of the right size. Skipped
// pixels take palette entry 0; a stream that ends before its end-of-bitmap marker (or
// before its last row) is refused.
std::optional<PictureError> decodeRle(const Info& info, Bytes bits, QImage& out);

// A new image of the given size, or the reason it could not be allocated; the size must
// already have passed checkSurfaceSize.
PictureResult allocateImage(std::int64_t width, std::int64_t height, QImage::Format format);

PictureError invalid(std::string reason);

}  // namespace nt::dib
