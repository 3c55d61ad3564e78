#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/Bytes.h"
#include "platform/Picture.h"

namespace nt {

// A GIF's first frame on its logical screen, which gives the picture's size. The screen
// outside the frame and the frame's transparent pixels show `matte`; colour indices past
// the colour table (or every index, without one) are black; a frame running past the
// screen is cut at its edge. The whole block chain must be there, up to the trailer, and
// the frame's codes must fill the frame.
PictureResult decodeGif(Bytes file, Colour matte);

// Decodes a GIF LZW stream (the sub-blocks' payload joined) into exactly `out.size()`
// colour indices. The reason when the codes are damaged or end before `out` is full;
// codes past a full `out` are ignored.
std::optional<std::string> decodeLzw(Bytes codes, int minCodeSize, std::span<std::uint8_t> out);

}  // namespace nt
