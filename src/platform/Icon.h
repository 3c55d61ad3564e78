#pragma once

#include "platform/Bytes.h"
#include "platform/Picture.h"

namespace nt {

// An ICO or CUR file: the largest image, then the deepest, then the first. Every directory
// entry must lie inside the file and have a readable header. Transparent pixels end up as
// `matte`; pixels whose AND-mask bit is set show matte XOR the colour, as a screen does.
PictureResult decodeIcon(Bytes file, Colour matte);

bool looksLikeIcon(Bytes data);

}  // namespace nt
