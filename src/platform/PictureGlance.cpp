#include "platform/PictureGlance.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <QFile>

#include "platform/Bytes.h"
#include "platform/Picture.h"
#include "surface/Limits.h"

namespace nt {

namespace {

constexpr int kFileHeader = 14, kInfoHeader = 40;

QSize thumbSize(QSize picture, int side) {
    if (picture.isEmpty() || side <= 0) return {};
    return picture
        .scaled(std::min(side, picture.width()), std::min(side, picture.height()),
                Qt::KeepAspectRatio)
        .expandedTo({1, 1});
}

// Pictures up to this many pixels are averaged over every row; larger ones over
// kRowsPerBand rows of each thumbnail row's band, so a huge picture costs a bounded read.
constexpr std::int64_t kEveryRowPixels = std::int64_t{16} << 20;
constexpr int kRowsPerBand = 8;

// The picture rows that make thumbnail row `ty`: the band's rows, or rows spread evenly in it.
std::vector<int> bandRows(int ty, QSize thumb, QSize picture) {
    const std::int64_t h = picture.height(), th = thumb.height();
    const int y0 = static_cast<int>(ty * h / th), y1 = static_cast<int>((ty + 1) * h / th);
    const int count = y1 - y0;
    const bool everyRow = std::int64_t{picture.width()} * picture.height() <= kEveryRowPixels ||
                          count <= kRowsPerBand;
    std::vector<int> rows;
    for (int i = 0; i < (everyRow ? count : kRowsPerBand); ++i)
        rows.push_back(everyRow ? y0 + i
                                : y0 + static_cast<int>((2 * i + 1) * count / (2 * kRowsPerBand)));
    return rows;
}

// Each thumbnail pixel is the average of the picture pixels of its cell over the rows read,
// so thin lines stay visible. `row(y, add)` hands every pixel of picture row y to add(x, pixel)
// and is false when the row cannot be read.
template <class ReadRow>
std::optional<QImage> averagedThumbnail(QSize picture, int side, ReadRow row) {
    const QSize t = thumbSize(picture, side);
    if (t.isEmpty()) return QImage();
    QImage thumb(t, QImage::Format_RGB32);
    std::vector<int> column(static_cast<size_t>(picture.width()));
    for (int x = 0; x < picture.width(); ++x)
        column[static_cast<size_t>(x)] =
            static_cast<int>(std::int64_t{x} * t.width() / picture.width());
    std::vector<std::int64_t> sums(static_cast<size_t>(t.width()) * 4);
    for (int ty = 0; ty < t.height(); ++ty) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int y : bandRows(ty, t, picture)) {
            const bool ok = row(y, [&](int x, QRgb p) {
                std::int64_t* s = &sums[static_cast<size_t>(column[static_cast<size_t>(x)]) * 4];
                s[0] += qRed(p);
                s[1] += qGreen(p);
                s[2] += qBlue(p);
                ++s[3];
            });
            if (!ok) return std::nullopt;
        }
        auto* out = reinterpret_cast<QRgb*>(thumb.scanLine(ty));
        for (int tx = 0; tx < t.width(); ++tx) {
            const std::int64_t* s = &sums[static_cast<size_t>(tx) * 4];
            const std::int64_t n = std::max<std::int64_t>(s[3], 1);
            out[tx] =
                qRgb(static_cast<int>((s[0] + n / 2) / n), static_cast<int>((s[1] + n / 2) / n),
                     static_cast<int>((s[2] + n / 2) / n));
        }
    }
    return thumb;
}

// An uncompressed BMP as this program writes it, read row by row from the open file.
class RawBmp {
  public:
    // Nothing unless the file is a BMP with a 40-byte header, 24 or 32 bits, no compression,
    // a size within the surface limit and every pixel row present.
    static std::optional<RawBmp> open(QFile& file) {
        QByteArray head = file.read(kFileHeader + kInfoHeader);
        const Bytes h(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size());
        if (!h.startsWith("BM", 2) || h.u32(14) != kInfoHeader || h.u16(26) != 1) return {};
        RawBmp b(file);
        b.offset_ = h.u32(10);
        b.width_ = static_cast<std::int32_t>(h.u32(18));
        const auto height = static_cast<std::int32_t>(h.u32(22));
        b.bytesPerPixel_ = h.u16(28) / 8;
        if ((h.u16(28) != 24 && h.u16(28) != 32) || h.u32(30) != 0) return {};
        b.topDown_ = height < 0;
        b.height_ = b.topDown_ ? -std::int64_t{height} : height;
        if (checkSurfaceSize(b.width_, b.height_)) return {};
        b.stride_ = (b.width_ * b.bytesPerPixel_ + 3) / 4 * 4;
        if (b.offset_ < kFileHeader + kInfoHeader ||
            file.size() - b.offset_ < b.stride_ * b.height_)
            return {};
        return b;
    }

    QSize size() const { return {static_cast<int>(width_), static_cast<int>(height_)}; }
    std::int64_t rowBytes() const { return width_ * bytesPerPixel_; }

    // Picture row y (top first) into `row`; false when the read fails.
    bool readRow(std::int64_t y, QByteArray& row) {
        const std::int64_t fileRow = topDown_ ? y : height_ - 1 - y;
        if (!file_->seek(offset_ + fileRow * stride_)) return false;
        row.resize(rowBytes());
        return file_->read(row.data(), rowBytes()) == rowBytes();
    }
    QRgb pixel(const QByteArray& row, int x) const {
        const auto* p = reinterpret_cast<const std::uint8_t*>(row.constData()) +
                        std::int64_t{x} * bytesPerPixel_;
        return qRgb(p[2], p[1], p[0]);
    }

  private:
    explicit RawBmp(QFile& file) : file_(&file) {}
    QFile* file_;
    std::int64_t offset_ = 0, width_ = 0, height_ = 0, stride_ = 0;
    int bytesPerPixel_ = 0;
    bool topDown_ = false;
};

std::optional<QImage> rawThumbnail(RawBmp& bmp, int side) {
    QByteArray bytes;
    return averagedThumbnail(bmp.size(), side, [&](int y, auto&& add) {
        if (!bmp.readRow(y, bytes)) return false;
        for (int x = 0; x < bmp.size().width(); ++x) add(x, bmp.pixel(bytes, x));
        return true;
    });
}

// Every pixel of the first row alike, and every other row byte for byte the first.
std::optional<bool> rawUniform(RawBmp& bmp) {
    QByteArray first, row;
    if (!bmp.readRow(0, first)) return {};
    const QRgb colour = bmp.pixel(first, 0);
    for (int x = 1; x < bmp.size().width(); ++x)
        if (bmp.pixel(first, x) != colour) return false;
    for (int y = 1; y < bmp.size().height(); ++y) {
        if (!bmp.readRow(y, row)) return {};
        if (std::memcmp(row.constData(), first.constData(), first.size()) != 0) return false;
    }
    return true;
}

bool uniformImage(const QImage& image) {
    if (image.isNull()) return true;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb colour = rgb.pixel(0, 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        if (std::any_of(line, line + rgb.width(), [&](QRgb p) { return p != colour; }))
            return false;
    }
    return true;
}

}  // namespace

QImage thumbnailOf(const QImage& image, int side) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return *averagedThumbnail(rgb.size(), side, [&](int y, auto&& add) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) add(x, line[x]);
        return true;
    });
}

std::optional<PictureGlance> glancePicture(const QString& path, int thumbSide, bool checkUniform) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (std::optional<RawBmp> bmp = RawBmp::open(file)) {
        std::optional<QImage> thumb = rawThumbnail(*bmp, thumbSide);
        if (!thumb) return {};
        PictureGlance g{bmp->size(), std::move(*thumb), false};
        // A thumbnail of more than one colour answers at once; only a uniform one needs every row.
        if (checkUniform && uniformImage(g.thumbnail)) {
            const std::optional<bool> uniform = rawUniform(*bmp);
            if (!uniform) return {};
            g.uniform = *uniform;
        }
        return g;
    }
    file.close();
    PictureResult picture = loadPicture(path);
    const auto* image = std::get_if<QImage>(&picture);
    if (!image) return {};
    return PictureGlance{image->size(), thumbnailOf(*image, thumbSide),
                         checkUniform && uniformImage(*image)};
}

}  // namespace nt
