#pragma once

#include "platform/Bytes.h"
#include "platform/Picture.h"

namespace nt {

// A JPEG through libjpeg: baseline and progressive, grey, YCbCr, RGB, CMYK and YCCK (stored
// inverted, as Adobe writes them). Bytes before a marker are skipped, as libjpeg does with a
// warning. Refused: a size over the surface limit (before decoding), missing or corrupt
// entropy-coded data even when an end-of-image marker follows, a progressive file whose
// scans stop before every coefficient is complete, and 12-bit data. EXIF orientation is not
// applied.
PictureResult decodeJpeg(Bytes file);

}  // namespace nt
