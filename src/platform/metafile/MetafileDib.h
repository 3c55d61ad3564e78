#pragma once

#include <optional>

#include <QImage>

#include "platform/Bytes.h"

// Bitmaps inside metafile records, through our own DIB decoder with all of its checks.

namespace nt::mf {

struct Dib {
    QImage image;  // top row first
    bool topDown = false;
};

// A DIB whose info header and colour table (`info`) and pixels (`bits`) lie apart, as in EMF
// records. Nothing when it is damaged, compressed as JPEG/PNG or too large. With `keepAlpha`
// the image is ARGB32 holding the stored alpha bytes as they are.
std::optional<Dib> decodeDib(Bytes info, Bytes bits, bool keepAlpha = false);

// A DIB whose pixels follow its colour table, as in WMF records.
std::optional<Dib> decodePackedDib(Bytes dib);

}  // namespace nt::mf
