#pragma once

#include <optional>
#include <string>

#include "platform/Bytes.h"
#include "platform/Picture.h"

// Formats whose decoding is left to Qt's readers, after our own checks: the picture's size
// against the surface limit before decoding, and that the stream is complete (Qt's readers
// fill in a truncated picture and report success).

namespace nt {

enum class QtFormat { Jpeg, Png };

PictureResult decodeWithQt(Bytes data, QtFormat format, Colour matte);

// Walk the stream's structure without decoding it; the reason when it is incomplete or
// malformed. Every step consumes input, so a walk ends with the data.
std::optional<std::string> checkJpegComplete(Bytes data);
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
