#pragma once

#include <optional>

#include <QImage>

#include "platform/Bytes.h"
#include "platform/metafile/Ledger.h"

// Bitmaps inside metafile records, through our own DIB decoder with all of its checks.

namespace nt::mf {

struct Dib {
    QImage image;  // top row first
    bool topDown = false;
    Hold hold;  // its pixels, in the player's ledger
};

class Player;

// A DIB whose info header and colour table (`info`) and pixels (`bits`) lie apart, as in EMF
// records. Nothing when it is damaged, compressed as JPEG/PNG, too large, or more than the
// player's budget or memory can take (decoding is charged to it). With `keepAlpha` the image
// is ARGB32 holding the stored alpha bytes as they are.
std::optional<Dib> decodeDib(Player& player, Bytes info, Bytes bits, bool keepAlpha = false);

// A DIB whose pixels follow its colour table, as in WMF records.
std::optional<Dib> decodePackedDib(Player& player, Bytes dib);

}  // namespace nt::mf
