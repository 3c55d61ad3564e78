#pragma once

#include <optional>

#include "platform/Bytes.h"
#include "platform/Dib.h"
#include "platform/Picture.h"

namespace nt {

// A BMP file: the 14-byte file header ("BM") and a DIB whose pixels start at its offset.
PictureResult decodeBmpFile(Bytes file, Colour matte);

// A packed DIB: an info header, masks, colour table and pixels, without the file header.
PictureResult decodePackedDib(Bytes dib, Colour matte);

// True when the bytes begin with an info header size a packed DIB may have.
bool looksLikePackedDib(Bytes data);

// A BMP file whose pixels are stored uncompressed and complete, so that its rows can be
// decoded a band at a time (dib::decodeRows); nothing for any other file.
struct UncompressedBmp {
    dib::Info info;
    Bytes dib;
};
std::optional<UncompressedBmp> uncompressedBmp(Bytes file);

// The pieces of encodeBmp for a writer that streams the file: the header, and the bytes of
// file rows [firstFileRow, firstFileRow + count) of `image`, an RGB32 or ARGB32 picture (file
// rows run bottom-up), bmpRowBytes each. The header is empty where encodeBmp's would be.
QByteArray bmpHeader(int width, int height);
std::int64_t bmpRowBytes(int width);
void encodeBmpRows(const QImage& image, int firstFileRow, int count, std::uint8_t* out);

}  // namespace nt
