#pragma once

#include <optional>
#include <string>

#include "platform/Bytes.h"
#include "platform/Picture.h"

// PNG (files, and inside icons and BMP files) is left to Qt's reader, after our own checks: the
// picture's size against the surface limit before decoding, and that the stream is complete
// (Qt's reader fills in a truncated picture and reports success).

namespace nt {

PictureResult decodePngWithQt(Bytes data, Colour matte);

// Walk the stream's structure without decoding it; the reason when it is incomplete or
// malformed. Every step consumes input, so a walk ends with the data.
std::optional<std::string> checkPngComplete(Bytes data);

struct PngHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitsPerPixel = 0;
};
std::optional<PngHeader> readPngHeader(Bytes data);

// Blends an ARGB32 (straight alpha) picture onto `matte` in place and makes it RGB32.
void compositeOnto(QImage& argb, Colour matte);

}  // namespace nt
