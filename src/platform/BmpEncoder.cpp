#include <algorithm>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/BgrRows.h"
#include "platform/Bmp.h"
#include "platform/LargePages.h"
#include "platform/Picture.h"
#include "surface/Colour.h"

namespace nt {

namespace {

constexpr std::int64_t kHeaderBytes = 54;
// Rows are written to the file in batches of about this many bytes.
constexpr std::int64_t kBatchBytes = std::int64_t{1} << 20;

struct Layout {
    std::int64_t width = 0, height = 0, stride = 0, fileBytes = 0;
};

// The file's sizes are 32-bit fields, so a picture whose file would pass 4 GiB is refused.
constexpr std::int64_t kMaxFileBytes = 0xFFFFFFFFll;

Layout layoutOf(std::int64_t width, std::int64_t height) {
    Layout l;
    l.width = width;
    l.height = height;
    l.stride = (l.width * 3 + 3) / 4 * 4;
    l.fileBytes = kHeaderBytes + l.stride * l.height;
    return l;
}

std::optional<Layout> layoutOf(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const Layout l = layoutOf(image.width(), image.height());
    if (l.fileBytes > kMaxFileBytes) return std::nullopt;
    return l;
}

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

void writeHeader(const Layout& l, std::uint8_t* p) {
    constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch
    std::memset(p, 0, kHeaderBytes);
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(l.fileBytes));
    put32(p + 10, kHeaderBytes);
    put32(p + 14, 40);
    put32(p + 18, static_cast<std::uint32_t>(l.width));
    put32(p + 22, static_cast<std::uint32_t>(l.height));
    put16(p + 26, 1);
    put16(p + 28, 24);
    put32(p + 34, static_cast<std::uint32_t>(l.stride * l.height));
    put32(p + 38, kPixelsPerMetre);
    put32(p + 42, kPixelsPerMetre);
}

void encodeRow(const Pixel* src, std::uint8_t* dst, std::int64_t width, std::int64_t stride) {
    pixelsToBgr(src, dst, width);
    std::memset(dst + 3 * width, 0, static_cast<std::size_t>(stride - 3 * width));
}

// File rows [first, first + count) into dst: the file is bottom-up.
void encodeRows(const QImage& rgb, const Layout& l, std::int64_t first, std::int64_t count,
                std::uint8_t* dst) {
    for (std::int64_t r = 0; r < count; ++r) {
        const int y = static_cast<int>(l.height - 1 - (first + r));
        encodeRow(reinterpret_cast<const Pixel*>(rgb.constScanLine(y)), dst + r * l.stride, l.width,
                  l.stride);
    }
}

// Pixels as 0x??RRGGBB words; other formats are converted first.
QImage asRgbWords(const QImage& image) {
    const auto f = image.format();
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32) return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QByteArray bmpHeader(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const Layout l = layoutOf(width, height);
    if (l.fileBytes > kMaxFileBytes) return {};
    QByteArray header(kHeaderBytes, Qt::Uninitialized);
    writeHeader(l, reinterpret_cast<std::uint8_t*>(header.data()));
    return header;
}

std::int64_t bmpRowBytes(int width) {
    return layoutOf(width, 1).stride;
}

void encodeBmpRows(const QImage& image, int firstFileRow, int count, std::uint8_t* out) {
    encodeRows(image, layoutOf(image.width(), image.height()), firstFileRow, count, out);
}

QByteArray encodeBmp(const QImage& image) {
    QByteArray out;
    encodeBmpInto(image, out);
    return out;
}

bool encodeBmpInto(const QImage& image, QByteArray& out) {
    const auto layout = layoutOf(image);
    if (!layout) {
        out.clear();
        return false;
    }
    const QImage rgb = asRgbWords(image);
    const auto bytes = static_cast<qsizetype>(layout->fileBytes);
    // A buffer kept from an earlier call is reused; a new one is asked for in large pages.
    const bool fresh = out.capacity() < bytes;
    out.resize(bytes);
    if (fresh) preferLargePages(out.data(), out.size());
    auto* p = reinterpret_cast<std::uint8_t*>(out.data());
    writeHeader(*layout, p);
    encodeRows(rgb, *layout, 0, layout->height, p + kHeaderBytes);
    return true;
}

std::optional<PictureError> savePictureBmp(const QImage& image, const QString& path) {
    const auto layout = layoutOf(image);
    if (!layout)
        return PictureError{"picture is empty or too large for a bitmap file",
                            PictureError::Kind::InvalidPicture};
    const QImage rgb = asRgbWords(image);
    AtomicFile file(path, layout->fileBytes);
    const std::int64_t rowsPerBatch = std::max<std::int64_t>(1, kBatchBytes / layout->stride);
    std::vector<std::uint8_t> batch(
        static_cast<std::size_t>(std::max(kHeaderBytes, rowsPerBatch * layout->stride)));
    writeHeader(*layout, batch.data());
    bool ok = file.write(batch.data(), kHeaderBytes);
    for (std::int64_t row = 0; ok && row < layout->height; row += rowsPerBatch) {
        const std::int64_t count = std::min(rowsPerBatch, layout->height - row);
        encodeRows(rgb, *layout, row, count, batch.data());
        ok = file.write(batch.data(), count * layout->stride);
    }
    return file.commit();
}

}  // namespace nt
