#include "platform/metafile/MetafileSize.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "surface/Limits.h"

namespace nt::mf {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr std::int64_t kPlaceableSize = 22;
constexpr std::int64_t kWmfHeaderSize = 18;
constexpr std::int64_t kEmfMinHeader = 88;
// More objects than any real file uses; a larger count is a damaged header.
constexpr std::uint32_t kMaxHandles = 65535;
// A plain WMF without a window extent is drawn one unit per pixel on this canvas.
constexpr int kDefaultWidth = 800, kDefaultHeight = 600;

bool plainWmfHeader(Bytes d, std::int64_t at) {
    const std::uint16_t type = d.u16(at);
    return d.has(at, kWmfHeaderSize) && (type == 1 || type == 2) && d.u16(at + 2) == 9 &&
           (d.u16(at + 4) == 0x0300 || d.u16(at + 4) == 0x0100);
}

std::int16_t s16(Bytes d, std::int64_t at) {
    return static_cast<std::int16_t>(d.u16(at));
}

// The first SetWindowOrg and the first SetWindowExt of a plain WMF, wherever each comes: an
// origin set after the extent still places what was drawn before either. The walk stops at
// the first record that does not fit.
void findWindow(Bytes d, Frame& f) {
    std::optional<QPointF> origin;
    std::optional<QSizeF> extent;
    for (std::int64_t at = f.recordsStart; d.has(at, 6) && !(origin && extent);) {
        const std::int64_t size = std::int64_t{d.u32(at)} * 2;
        const std::uint16_t function = d.u16(at + 4);
        if (size < 6 || !d.has(at, size) || function == 0) break;
        if (function == 0x020B && size >= 10 && !origin)
            origin = QPointF(s16(d, at + 8), s16(d, at + 6));
        if (function == 0x020C && size >= 10 && !extent) {
            const double w = s16(d, at + 8), h = s16(d, at + 6);
            if (w != 0 && h != 0) extent = QSizeF(w, h);
        }
        at += size;
    }
    f.hasWindow = extent.has_value();
    f.window =
        QRectF(origin.value_or(QPointF()), extent.value_or(QSizeF(kDefaultWidth, kDefaultHeight)));
}

std::optional<Frame> wmfFrame(Bytes d, bool placeable) {
    Frame f;
    f.kind = placeable ? Kind::PlaceableWmf : Kind::Wmf;
    const std::int64_t header = placeable ? kPlaceableSize : 0;
    if (!plainWmfHeader(d, header)) return std::nullopt;
    f.recordsStart = header + std::int64_t{d.u16(header + 2)} * 2;
    f.handles = d.u16(header + 10);
    double width = 0, height = 0;
    if (placeable) {
        const double left = s16(d, 6), top = s16(d, 8), right = s16(d, 10), bottom = s16(d, 12);
        const double inch = d.u16(14) == 0 ? 1440 : d.u16(14);
        f.window = QRectF(QPointF(left, top), QPointF(right, bottom));
        f.hasWindow = true;
        width = std::abs(right - left) * 96 / inch;
        height = std::abs(bottom - top) * 96 / inch;
    } else {
        findWindow(d, f);
        width = std::abs(f.window.width());
        height = std::abs(f.window.height());
    }
    capSize(width, height, f.width, f.height);
    return f;
}

std::optional<Frame> emfFrame(Bytes d) {
    const std::int64_t headerSize = d.u32(4);
    if (headerSize < kEmfMinHeader || headerSize % 4 != 0 || !d.has(0, headerSize))
        return std::nullopt;
    Frame f;
    f.kind = Kind::Emf;
    f.recordsStart = headerSize;
    f.handles = d.u16(56);
    if (f.handles > kMaxHandles) return std::nullopt;
    const double devW = d.i32(72), devH = d.i32(76), mmW = d.i32(80), mmH = d.i32(84);
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
        f.pixelsPerMmX = devW / mmW;
        f.pixelsPerMmY = devH / mmH;
    }
    const double fl = d.i32(24), ft = d.i32(28), fr = d.i32(32), fb = d.i32(36);
    double width = 0, height = 0;
    if (fr > fl && fb > ft) {
        width = (fr - fl) * 96 / 2540;
        height = (fb - ft) * 96 / 2540;
        f.deviceFrame = QRectF(QPointF(fl * f.pixelsPerMmX / 100, ft * f.pixelsPerMmY / 100),
                               QPointF(fr * f.pixelsPerMmX / 100, fb * f.pixelsPerMmY / 100));
    } else {
        // No usable frame: the bounds of what was drawn, in reference-device pixels.
        const double bl = d.i32(8), bt = d.i32(12), br = d.i32(16), bb = d.i32(20);
        width = std::max(br - bl + 1, 1.0);
        height = std::max(bb - bt + 1, 1.0);
        f.deviceFrame = QRectF(bl, bt, width, height);
    }
    capSize(width, height, f.width, f.height);
    return f;
}

}  // namespace

Kind detect(Bytes d) {
    if (d.u32(0) == 1 && d.u32(40) == kEmfSignature) return Kind::Emf;
    if (d.u32(0) == kPlaceableKey) return Kind::PlaceableWmf;
    if (plainWmfHeader(d, 0)) return Kind::Wmf;
    return Kind::None;
}

void capSize(double width, double height, int& outWidth, int& outHeight) {
    if (!std::isfinite(width) || !std::isfinite(height)) width = height = 1;
    const double longest = std::max(width, height);
    const double scale = longest > kMaxMetafileSide ? kMaxMetafileSide / longest : 1.0;
    outWidth = static_cast<int>(std::max(1.0, std::round(width * scale)));
    outHeight = static_cast<int>(std::max(1.0, std::round(height * scale)));
}

std::optional<Frame> readFrame(Bytes d) {
    switch (detect(d)) {
        case Kind::Emf:
            return emfFrame(d);
        case Kind::PlaceableWmf:
            return wmfFrame(d, true);
        case Kind::Wmf:
            return wmfFrame(d, false);
        case Kind::None:
            break;
    }
    return std::nullopt;
}

}  // namespace nt::mf
