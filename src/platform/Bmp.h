#pragma once

#include "platform/Bytes.h"
#include "platform/Picture.h"

namespace nt {

// A BMP file: the 14-byte file header ("BM") and a DIB whose pixels start at its offset.
PictureResult decodeBmpFile(Bytes file, Colour matte);

// A packed DIB: an info header, masks, colour table and pixels, without the file header.
PictureResult decodePackedDib(Bytes dib, Colour matte);

// True when the bytes begin with an info header size a packed DIB may have.
bool looksLikePackedDib(Bytes data);

}  // namespace nt
