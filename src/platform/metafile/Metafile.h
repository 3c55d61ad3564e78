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
    bool stoppedEarly = false;   // a damaged record or the work budget ended playing
    double workPerPixel = 0;     // pixels touched (estimated) per pixel of the picture
    double work = 0;             // the work charged in all
    std::int64_t peakBytes = 0;  // the most the player held at once (see kMemoryCap)
};

// The work playing may cost, in pixel writes and their like: real pictures cost a few hundred
// per pixel at most; a file that asks for far more (a second or so of work) is stopped rather
// than allowed to hang the program.
inline constexpr double kWorkBudget = double(std::int64_t{1} << 30);

// The memory playing may hold besides the picture: decoded bitmaps, pattern brushes, clips,
// saved states and the path. Real pictures hold a few megabytes; a file that asks for more is
// stopped where it asks, which keeps a whole batch-tool process within half a gigabyte.
inline constexpr std::int64_t kMemoryCap = std::int64_t{256} << 20;

// The picture at the file's natural size at 96 dpi on white (see MetafileSize.h), or
// "invalid picture" when the header is unusable.
PictureResult decode(Bytes data, Stats* stats = nullptr, double budget = kWorkBudget,
                     std::int64_t memoryCap = kMemoryCap);

}  // namespace nt::mf
