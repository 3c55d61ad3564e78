#include "platform/Dib.h"
#include "platform/Icon.h"
#include "platform/QtDecoders.h"
#include "surface/Limits.h"

namespace nt {

namespace {

constexpr std::int64_t kDirectoryHeader = 6;
constexpr std::int64_t kDirectoryEntry = 16;
constexpr std::int64_t kMinDibEntry = 40;

struct Entry {
    Bytes data;
    bool png = false;
    std::int64_t area = 0;
    int depth = 0;
    dib::Info info;
};

using EntryResult = std::variant<Entry, PictureError>;

PictureError entryError(int index, const std::string& reason) {
    return dib::invalid("icon entry " + std::to_string(index + 1) + ": " + reason);
}

EntryResult readEntry(Bytes file, int index, std::int64_t directoryEnd) {
    const std::int64_t at = kDirectoryHeader + kDirectoryEntry * index;
    const std::int64_t size = file.u32(at + 8);
    const std::int64_t offset = file.u32(at + 12);
    if (offset < directoryEnd) return entryError(index, "overlaps the directory");
    if (!file.has(offset, size)) return entryError(index, "lies outside the file");
    Entry entry;
    entry.data = file.sub(offset, size);
    if (const auto png = readPngHeader(entry.data)) {
        if (auto refused = checkSurfaceSize(png->width, png->height))
            return entryError(index, *refused);
        entry.png = true;
        entry.area = png->width * png->height;
        entry.depth = png->bitsPerPixel;
        return entry;
    }
    if (size < kMinDibEntry) return entryError(index, "too small for an image");
    auto parsed = dib::parse(entry.data, dib::Kind::Icon);
    if (auto* error = std::get_if<PictureError>(&parsed)) return entryError(index, error->reason);
    entry.info = std::get<dib::Info>(parsed);
    if (entry.info.compression != dib::Compression::Rgb &&
        entry.info.compression != dib::Compression::Bitfields)
        return entryError(index, "compressed icon bitmaps are not supported");
    entry.area = entry.info.width * entry.info.height;
    entry.depth = entry.info.bitCount;
    return entry;
}

bool hasAlpha(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const Pixel*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] >> 24 != 0) return true;
    }
    return false;
}

// Opaque pixels, except where the AND mask is set: there the screen (matte) shows through,
// inverted by whatever colour the XOR bitmap holds.
void applyMask(const Entry& entry, QImage& image, Colour matte) {
    const dib::Info& info = entry.info;
    const std::int64_t maskStride = (info.width + 31) / 32 * 4;
    const std::int64_t maskOffset = info.bitsOffset + info.stride() * info.height;
    const bool present =
        entry.data.has(maskOffset, maskStride * (info.height - 1) + (info.width + 7) / 8);
    const Pixel screen = toPixel(matte) & 0xFFFFFFu;
    for (std::int64_t r = 0; r < info.height; ++r) {
        auto* row = reinterpret_cast<Pixel*>(image.scanLine(static_cast<int>(info.height - 1 - r)));
        if (!present) {
            for (std::int64_t x = 0; x < info.width; ++x) row[x] |= 0xFF000000u;
            continue;
        }
        const std::uint8_t* mask = entry.data.data() + maskOffset + r * maskStride;
        for (std::int64_t x = 0; x < info.width; ++x) {
            const bool see = mask[x >> 3] >> (7 - (x & 7)) & 1;
            row[x] = 0xFF000000u | (see ? (row[x] ^ screen) : row[x]);
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

PictureResult decodeEntry(const Entry& entry, Colour matte) {
    if (entry.png) return decodePngWithQt(entry.data, matte);
    auto decoded = dib::decodePixels(entry.info, entry.data, true);
    if (auto* error = std::get_if<PictureError>(&decoded)) return *error;
    QImage& image = std::get<QImage>(decoded);
    if (entry.info.bitCount == 32 && hasAlpha(image))
        compositeOnto(image, matte);
    else
        applyMask(entry, image, matte);
    return image;
}

}  // namespace

bool looksLikeIcon(Bytes data) {
    return data.has(0, 4) && data.u16(0) == 0 && (data.u16(2) == 1 || data.u16(2) == 2);
}

PictureResult decodeIcon(Bytes file, Colour matte) {
    if (!looksLikeIcon(file) || !file.has(0, kDirectoryHeader))
        return dib::invalid("not an icon or cursor file");
    const int count = file.u16(4);
    if (count == 0) return dib::invalid("icon file holds no image");
    const std::int64_t directoryEnd = kDirectoryHeader + kDirectoryEntry * count;
    if (!file.has(0, directoryEnd)) return dib::invalid("icon directory truncated");
    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        auto read = readEntry(file, i, directoryEnd);
        if (auto* error = std::get_if<PictureError>(&read)) return *error;
        Entry& entry = std::get<Entry>(read);
        if (!best || entry.area > best->area ||
            (entry.area == best->area && entry.depth > best->depth))
            best = std::move(entry);
    }
    return decodeEntry(*best, matte);
}

}  // namespace nt
