#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/Bytes.h"
#include "platform/Picture.h"

// WMF (placeable or plain) and EMF pictures, played by our own player drawing through the
// surface's raster calls. EMF+ records inside comments are not drawn: dual files show their
// EMF records.

namespace nt::mf {

enum class Kind { None, Wmf, PlaceableWmf, Emf };

// Decided by content: EMF by its header record and " EMF" signature, a placeable WMF by its
// key, a plain WMF by its type and header size.
Kind detect(Bytes data);

// What playing a file left out, for the batch tool's report.
struct Stats {
    std::int64_t records = 0;
    std::map<std::string, std::int64_t> skipped;  // record name -> times not drawn
    bool stoppedEarly = false;  // a damaged record or the work budget ended playing
    double workPerPixel = 0;    // pixels touched (estimated) per pixel of the picture
};

// The work playing may cost, in pixel writes and their like: real pictures cost a few hundred
// per pixel at most; a file that asks for far more (a second or so of work) is stopped rather
// than allowed to hang the program.
inline constexpr double kWorkBudget = double(std::int64_t{1} << 30);

// The picture at the file's natural size at 96 dpi on white (see MetafileSize.h), or
// "invalid picture" when the header is unusable.
PictureResult decode(Bytes data, Stats* stats = nullptr, double budget = kWorkBudget);

}  // namespace nt::mf
