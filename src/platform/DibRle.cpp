#include <algorithm>

#include "platform/Dib.h"

namespace nt::dib {

namespace {

// Writes RLE pixels into the picture; x may run past the row's end, where pixels are dropped.
class RleCanvas {
  public:
    RleCanvas(const Info& info, QImage& out)
        : info_(info), bits_(out.bits()), bytesPerLine_(out.bytesPerLine()) {}

    bool done() const { return y_ >= info_.height; }
    void put(std::uint8_t index) {
        if (x_ < info_.width) row()[x_] = info_.palette[index];
        ++x_;
    }
    void skip(std::int64_t count) { x_ += count; }
    void endLine() {
        x_ = 0;
        ++y_;
    }
    void move(int dx, int dy) {
        x_ += dx;
        y_ += dy;
    }
    // Room left in the row, so runs stop at its end instead of looping over dropped pixels.
    std::int64_t room() const { return std::max<std::int64_t>(0, info_.width - x_); }

  private:
    Pixel* row() {
        return reinterpret_cast<Pixel*>(bits_ + (info_.height - 1 - y_) * bytesPerLine_);
    }
    const Info& info_;
    std::uint8_t* bits_;
    std::int64_t bytesPerLine_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;  // counted from the bottom row
};

std::uint8_t nibble(std::uint8_t byte, std::int64_t i) {
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

}  // namespace

std::optional<PictureError> decodeRle(const Info& info, Bytes bits, QImage& out) {
    out.fill(info.palette[0]);
    const bool four = info.compression == Compression::Rle4;
    RleCanvas canvas(info, out);
    std::int64_t pos = 0;
    // Every step consumes at least two bytes, so the loop ends with the input.
    while (!canvas.done()) {
        if (!bits.has(pos, 2)) return invalid("RLE data ends before the end of the bitmap");
        const int count = bits.u8(pos);
        const std::uint8_t value = bits.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            const std::int64_t drawn = std::min<std::int64_t>(count, canvas.room());
            for (std::int64_t i = 0; i < drawn; ++i) canvas.put(four ? nibble(value, i) : value);
            canvas.skip(count - drawn);
        } else if (value == 0) {
            canvas.endLine();
        } else if (value == 1) {
            return std::nullopt;
        } else if (value == 2) {
            if (!bits.has(pos, 2)) return invalid("RLE delta truncated");
            canvas.move(bits.u8(pos), bits.u8(pos + 1));
            pos += 2;
        } else {
            const std::int64_t bytes = four ? (value + 1) / 2 : value;
            if (!bits.has(pos, bytes)) return invalid("RLE literal run truncated");
            const std::int64_t drawn = std::min<std::int64_t>(value, canvas.room());
            for (std::int64_t i = 0; i < drawn; ++i)
                canvas.put(four ? nibble(bits.u8(pos + i / 2), i) : bits.u8(pos + i));
            canvas.skip(value - drawn);
            pos += (bytes + 1) / 2 * 2;  // literal runs are padded to 16 bits
        }
    }
    return std::nullopt;
}

}  // namespace nt::dib
