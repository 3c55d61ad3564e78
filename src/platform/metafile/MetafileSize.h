#pragma once

#include <cstdint>
#include <optional>

#include <QRectF>

#include "platform/Bytes.h"
#include "platform/metafile/Metafile.h"

namespace nt::mf {

// The longest side a metafile is drawn at; larger natural sizes are scaled down together.
inline constexpr std::int64_t kMaxMetafileSide = 4096;

// What the header says about where the picture lies and how large it is drawn.
struct Frame {
    Kind kind = Kind::None;
    int width = 0;  // the picture drawn, after the cap
    int height = 0;
    std::int64_t recordsStart = 0;  // byte offset of the first record after the header(s)
    // WMF: the window the picture shows (placeable: its bounding box).
    QRectF window;
    bool hasWindow = false;
    // EMF: the frame in reference-device pixels that maps onto the picture, and the reference
    // device's pixels per millimetre.
    QRectF deviceFrame;
    double pixelsPerMmX = 96 / 25.4, pixelsPerMmY = 96 / 25.4;
    std::uint32_t handles = 0;  // object table size (EMF nHandles, WMF nObjects)
};

// Reads and checks the header; nothing when it is not a metafile we can play.
std::optional<Frame> readFrame(Bytes data);

// Scales a natural size so that neither side exceeds kMaxMetafileSide, rounding, at least 1.
void capSize(double width, double height, int& outWidth, int& outHeight);

}  // namespace nt::mf
