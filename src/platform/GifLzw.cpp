#include <array>
#include <memory>

#include "platform/Gif.h"

namespace nt {

namespace {

constexpr int kMaxCodes = 4096;

// Reads codes of the current width, least significant bit first.
class CodeReader {
  public:
    explicit CodeReader(Bytes data) : data_(data) {}

    // -1 once the data cannot hold another whole code.
    int next(int width) {
        while (bits_ < width) {
            if (at_ >= data_.size()) return -1;
            acc_ |= static_cast<std::uint32_t>(data_.data()[at_++]) << bits_;
            bits_ += 8;
        }
        const int code = static_cast<int>(acc_ & ((1u << width) - 1));
        acc_ >>= width;
        bits_ -= width;
        return code;
    }

  private:
    Bytes data_;
    std::int64_t at_ = 0;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

// Every string is its prefix's string plus one byte, so it is written back to front.
struct Table {
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> last{};
    std::array<std::uint8_t, kMaxCodes> first{};
    std::array<std::uint16_t, kMaxCodes> length{};

    void literal(int code) {
        last[code] = first[code] = static_cast<std::uint8_t>(code);
        length[code] = 1;
    }
    void add(int code, int prefixCode, std::uint8_t byte) {
        prefix[code] = static_cast<std::uint16_t>(prefixCode);
        last[code] = byte;
        first[code] = first[prefixCode];
        length[code] = static_cast<std::uint16_t>(length[prefixCode] + 1);
    }
    // Writes as much of the string as fits; the count written.
    std::int64_t write(int code, std::uint8_t* out, std::int64_t room) const {
        const std::int64_t n = length[code];
        for (std::int64_t i = n - 1; i >= 0; --i, code = prefix[code])
            if (i < room) out[i] = last[code];
        return n < room ? n : room;
    }
};

}  // namespace

std::optional<std::string> decodeLzw(Bytes codes, int minCodeSize, std::span<std::uint8_t> out) {
    if (minCodeSize < 2 || minCodeSize > 8) return "GIF code size out of range";
    const int clear = 1 << minCodeSize, end = clear + 1;
    auto table = std::make_unique<Table>();
    for (int c = 0; c < clear; ++c) table->literal(c);
    CodeReader reader(codes);
    int width = minCodeSize + 1, next = clear + 2, previous = -1;
    const auto total = static_cast<std::int64_t>(out.size());
    std::int64_t done = 0;
    while (done < total) {
        const int code = reader.next(width);
        if (code < 0 || code == end) return "GIF frame data ends before the frame is full";
        if (code == clear) {
            width = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        // After a clear only a literal can come; later, at most the code about to be defined.
        if (previous < 0 ? code >= clear : code > next) return "GIF frame data damaged";
        if (previous >= 0 && next < kMaxCodes) {
            const std::uint8_t byte = code < next ? table->first[code] : table->first[previous];
            table->add(next++, previous, byte);
            if (next == (1 << width) && width < 12) ++width;
        }
        done += table->write(code, out.data() + done, total - done);
        previous = code;
    }
    return std::nullopt;
}

}  // namespace nt
