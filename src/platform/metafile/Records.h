#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include <QPointF>
#include <QString>

#include "platform/Bytes.h"
#include "platform/metafile/GdiObjects.h"

// Reading the fields of one record. A record is a view cut to its own size, so a field past
// its end reads as zero and never touches the next record; the handlers also check sizes
// before they read counted arrays.

namespace nt::mf {

inline std::int16_t s16(Bytes r, std::int64_t at) {
    return static_cast<std::int16_t>(r.u16(at));
}
inline float f32(Bytes r, std::int64_t at) {
    const std::uint32_t bits = r.u32(at);
    float v;
    static_assert(sizeof v == sizeof bits);
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// `count` points of two 16-bit or two 32-bit coordinates from `at`; empty when they do not
// fit in the record.
std::vector<QPointF> readPoints(Bytes r, std::int64_t at, std::int64_t count, bool wide);

// Text in the record's 8-bit code page (by the font's character set) or UTF-16.
QString decodeAnsi(Bytes r, std::int64_t at, std::int64_t length, int charset);
QString decodeUtf16(Bytes r, std::int64_t at, std::int64_t length);

// The colour of a COLORREF: 0x00BBGGRR and the palette-relative 0x02BBGGRR as they are, a
// palette index (0x0100iiii) from the default palette, anything else black.
Colour colourRef(std::uint32_t v);

}  // namespace nt::mf
