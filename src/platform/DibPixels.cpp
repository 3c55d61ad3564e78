#include <bit>
#include <cstring>
#include <vector>

#include "platform/BgrRows.h"
#include "platform/Dib.h"
#include "platform/LargePages.h"

namespace nt::dib {

PictureResult allocateImage(std::int64_t width, std::int64_t height, QImage::Format format) {
    QImage image(static_cast<int>(width), static_cast<int>(height), format);
    if (image.isNull()) return invalid("not enough memory for the picture");
    preferLargePages(image.bits(), image.sizeInBytes());
    return image;
}

namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

std::uint32_t load32(const std::uint8_t* p) {
    if constexpr (kLittleEndian) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// One bit field scaled to 0..255, exactly round(value * 255 / max), through a table when
// the field is narrow enough.
class Scale {
  public:
    explicit Scale(const Mask& mask) : mask_(mask) {
        if (mask_.max == 0 || mask_.max > 65535) return;
        table_.resize(mask_.max + 1);
        for (std::uint64_t v = 0; v <= mask_.max; ++v) table_[v] = compute(v);
    }
    bool present() const { return mask_.max != 0; }
    std::uint32_t operator()(std::uint32_t pixel) const {
        if (mask_.max == 0) return 0;
        const std::uint64_t v = (pixel & mask_.bits) >> mask_.shift;
        return table_.empty() ? compute(v) : table_[v];
    }

  private:
    std::uint8_t compute(std::uint64_t v) const {
        return static_cast<std::uint8_t>((v * 510 + mask_.max) / (2 * mask_.max));
    }
    Mask mask_;
    std::vector<std::uint8_t> table_;
};

void indexedRow(const std::uint8_t* src, Pixel* dst, std::int64_t width, int bpp,
                const std::array<Pixel, 256>& palette) {
    if (bpp == 8) {
        for (std::int64_t x = 0; x < width; ++x) dst[x] = palette[src[x]];
        return;
    }
    const unsigned valueMask = (1u << bpp) - 1;
    for (std::int64_t x = 0; x < width; ++x) {
        const std::int64_t bit = x * bpp;
        const int shift = 8 - bpp - static_cast<int>(bit & 7);
        dst[x] = palette[(src[bit >> 3] >> shift) & valueMask];
    }
}

bool isStandard32(const Info& info) {
    return info.masks[0].bits == 0xFF0000 && info.masks[1].bits == 0xFF00 &&
           info.masks[2].bits == 0xFF;
}

void bgraRow(const std::uint8_t* src, Pixel* dst, std::int64_t width, bool keepAlpha) {
    const std::uint32_t opaque = keepAlpha ? 0 : 0xFF000000u;
    for (std::int64_t x = 0; x < width; ++x) dst[x] = load32(src + 4 * x) | opaque;
}

class FieldRow {
  public:
    FieldRow(const Info& info, bool keepAlpha)
        : red_(info.masks[0]),
          green_(info.masks[1]),
          blue_(info.masks[2]),
          alpha_(info.masks[3]),
          keepAlpha_(keepAlpha && alpha_.present()),
          bytes_(info.bitCount / 8) {}
    void operator()(const std::uint8_t* src, Pixel* dst, std::int64_t width) const {
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint32_t p =
                bytes_ == 2 ? std::uint32_t{src[2 * x]} | src[2 * x + 1] << 8 : load32(src + 4 * x);
            const std::uint32_t a = keepAlpha_ ? alpha_(p) : 0xFF;
            dst[x] = a << 24 | red_(p) << 16 | green_(p) << 8 | blue_(p);
        }
    }

  private:
    Scale red_, green_, blue_, alpha_;
    bool keepAlpha_;
    int bytes_;
};

// Picture rows [first, first + count) into rows 0 .. count - 1 of `out`.
template <typename RowFn>
void eachRow(const Info& info, const std::uint8_t* bits, int first, int count, QImage& out,
             RowFn&& row) {
    const std::int64_t stride = info.stride();
    for (int i = 0; i < count; ++i) {
        const std::int64_t y = first + i;
        const std::int64_t r = info.topDown ? y : info.height - 1 - y;
        row(bits + r * stride, reinterpret_cast<Pixel*>(out.scanLine(i)));
    }
}

}  // namespace

PictureResult decodePixels(const Info& info, Bytes dib, bool keepAlpha) {
    const bool rle = info.compression == Compression::Rle8 || info.compression == Compression::Rle4;
    if (!rle && info.compression != Compression::Rgb && info.compression != Compression::Bitfields)
        return invalid("compressed bitmap data needs another decoder");
    if (!rle && !hasAllRows(info, dib)) return invalid("pixel data truncated");

    auto made = allocateImage(info.width, info.height,
                              keepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (auto* error = std::get_if<PictureError>(&made)) return *error;
    QImage& out = std::get<QImage>(made);
    if (rle) {
        if (auto error = decodeRle(info, dib.sub(info.bitsOffset, dib.size()), out)) return *error;
        return out;
    }

    decodeRows(info, dib, keepAlpha, 0, static_cast<int>(info.height), out);
    return out;
}

bool hasAllRows(const Info& info, Bytes dib) {
    const std::int64_t rowBytes = (info.width * info.bitCount + 7) / 8;
    // The last row's padding is often left out by writers; it is never read.
    return dib.has(info.bitsOffset, info.stride() * (info.height - 1) + rowBytes);
}

void decodeRows(const Info& info, Bytes dib, bool keepAlpha, int first, int count, QImage& out) {
    const std::uint8_t* bits = dib.data() + info.bitsOffset;
    const std::int64_t w = info.width;
    if (info.bitCount <= 8) {
        eachRow(info, bits, first, count, out,
                [&](auto* s, auto* d) { indexedRow(s, d, w, info.bitCount, info.palette); });
    } else if (info.bitCount == 24) {
        eachRow(info, bits, first, count, out, [&](auto* s, auto* d) { bgrToPixels(s, d, w); });
    } else if (info.bitCount == 32 && isStandard32(info) &&
               (!keepAlpha || info.masks[3].bits == 0xFF000000u)) {
        eachRow(info, bits, first, count, out,
                [&](auto* s, auto* d) { bgraRow(s, d, w, keepAlpha); });
    } else {
        const FieldRow fields(info, keepAlpha);
        eachRow(info, bits, first, count, out, [&](auto* s, auto* d) { fields(s, d, w); });
    }
}

}  // namespace nt::dib
