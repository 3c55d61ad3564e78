#include <algorithm>
#include <array>
#include <vector>

#include "platform/Dib.h"
#include "platform/Gif.h"
#include "surface/Limits.h"

namespace nt {

namespace {

constexpr int kNoTransparency = -1;

struct Frame {
    std::int64_t left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    Bytes colourTable;
    int transparent = kNoTransparency;
    int minCodeSize = 0;
    std::vector<std::uint8_t> codes;  // the sub-blocks' payload, joined
};

std::int64_t colourTableBytes(std::uint8_t flags) {
    return (flags & 0x80) ? 3 * (std::int64_t{2} << (flags & 7)) : 0;
}

// Walks a chain of data sub-blocks, appending their payload to `payload` when given; the
// position after the terminator, or -1 when the chain runs past the end.
std::int64_t readSubBlocks(Bytes data, std::int64_t pos, std::vector<std::uint8_t>* payload) {
    while (data.has(pos, 1)) {
        const std::int64_t length = data.u8(pos++);
        if (length == 0) return pos;
        if (!data.has(pos, length)) return -1;
        if (payload) payload->insert(payload->end(), data.data() + pos, data.data() + pos + length);
        pos += length;
    }
    return -1;
}

// The transparent index a graphic control extension gives the next frame.
int transparentIndex(Bytes data, std::int64_t pos) {
    if (data.u8(pos) < 4 || !(data.u8(pos + 1) & 1)) return kNoTransparency;
    return data.u8(pos + 4);
}

// Row of the screen for the i-th row stored: interlaced frames store every 8th row from
// 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
std::int64_t storedRow(std::int64_t i, std::int64_t height, bool interlaced) {
    if (!interlaced) return i;
    const std::int64_t pass1 = (height + 7) / 8, pass2 = (height + 3) / 8, pass3 = (height + 1) / 4;
    if (i < pass1) return i * 8;
    if ((i -= pass1) < pass2) return 4 + i * 8;
    if ((i -= pass2) < pass3) return 2 + i * 4;
    return 1 + (i - pass3) * 2;
}

PictureResult compose(const Frame& frame, std::int64_t width, std::int64_t height, Colour matte) {
    if (frame.width < 1 || frame.height < 1) return dib::invalid("GIF frame size is 0");
    if (auto refused = checkSurfaceSize(frame.width, frame.height)) return dib::invalid(*refused);
    // A code yields at most 4096 indices: a frame its data cannot fill is refused before
    // its indices are allocated.
    const std::int64_t maxCodes = static_cast<std::int64_t>(frame.codes.size()) * 8 / 3 + 1;
    if (frame.width * frame.height > maxCodes * 4096)
        return dib::invalid("GIF frame data ends before the frame is full");
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(frame.width * frame.height));
    const Bytes codes(frame.codes.data(), static_cast<std::int64_t>(frame.codes.size()));
    if (auto damaged = decodeLzw(codes, frame.minCodeSize, indices)) return dib::invalid(*damaged);

    std::array<Pixel, 256> colours;
    colours.fill(0xFF000000u);
    for (std::int64_t i = 0; i < frame.colourTable.size() / 3; ++i)
        colours[i] = 0xFF000000u | std::uint32_t{frame.colourTable.u8(3 * i)} << 16 |
                     std::uint32_t{frame.colourTable.u8(3 * i + 1)} << 8 |
                     frame.colourTable.u8(3 * i + 2);
    if (frame.transparent != kNoTransparency) colours[frame.transparent] = toPixel(matte);

    auto made = dib::allocateImage(width, height, QImage::Format_RGB32);
    if (auto* error = std::get_if<PictureError>(&made)) return *error;
    QImage& image = std::get<QImage>(made);
    image.fill(toPixel(matte));
    const std::int64_t visible = std::min(frame.width, width - frame.left);
    for (std::int64_t i = 0; i < frame.height && visible > 0; ++i) {
        const std::int64_t y = frame.top + storedRow(i, frame.height, frame.interlaced);
        if (y >= height) continue;
        auto* row = reinterpret_cast<Pixel*>(image.scanLine(static_cast<int>(y))) + frame.left;
        const std::uint8_t* from = indices.data() + i * frame.width;
        for (std::int64_t x = 0; x < visible; ++x) row[x] = colours[from[x]];
    }
    return image;
}

// Reads the image descriptor at `pos` (after its separator) and its data into `frame`, or
// skips them without one; the position after the data, or -1 when it runs past the end.
std::int64_t readFrame(Bytes data, std::int64_t pos, Bytes globalTable, Frame* frame) {
    if (!data.has(pos, 10)) return -1;
    const std::uint8_t flags = data.u8(pos + 8);
    const std::int64_t local = colourTableBytes(flags);
    if (!frame) return readSubBlocks(data, pos + 9 + local + 1, nullptr);
    frame->left = data.u16(pos);
    frame->top = data.u16(pos + 2);
    frame->width = data.u16(pos + 4);
    frame->height = data.u16(pos + 6);
    frame->interlaced = flags & 0x40;
    pos += 9;
    if (!data.has(pos, local + 1)) return -1;
    frame->colourTable = local ? data.sub(pos, local) : globalTable;
    pos += local;
    frame->minCodeSize = data.u8(pos);
    return readSubBlocks(data, pos + 1, &frame->codes);
}

}  // namespace

PictureResult decodeGif(Bytes data, Colour matte) {
    if (!data.startsWith("GIF87a", 6) && !data.startsWith("GIF89a", 6))
        return dib::invalid("not a GIF stream");
    if (!data.has(0, 13)) return dib::invalid("GIF header truncated");
    const std::int64_t width = data.u16(6), height = data.u16(8);
    if (auto refused = checkSurfaceSize(width, height)) return dib::invalid(*refused);
    const std::int64_t global = colourTableBytes(data.u8(10));
    const Bytes globalTable = data.sub(13, global);
    std::int64_t pos = 13 + global;
    std::optional<Frame> first;
    int transparent = kNoTransparency;
    // Later frames are skipped, but the file must still be whole up to its trailer.
    while (pos >= 0 && data.has(pos, 1)) {
        const std::uint8_t block = data.u8(pos++);
        if (block == 0x3B) {
            if (!first) return dib::invalid("GIF holds no image");
            return compose(*first, width, height, matte);
        }
        if (block == 0x21) {
            const std::uint8_t label = data.u8(pos++);
            if (label == 0xF9 && !first) transparent = transparentIndex(data, pos);
            pos = readSubBlocks(data, pos, nullptr);
        } else if (block == 0x2C) {
            if (first) {
                pos = readFrame(data, pos, globalTable, nullptr);
            } else {
                first.emplace().transparent = transparent;
                pos = readFrame(data, pos, globalTable, &*first);
            }
        } else {
            return dib::invalid("unknown GIF block");
        }
    }
    return dib::invalid("GIF data truncated");
}

}  // namespace nt
