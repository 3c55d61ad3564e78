#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QByteArray>
#include <QImage>

#include "platform/Picture.h"

// Builders for the hand-made files the picture tests feed to the decoders.

namespace nt::test {

inline void put16(QByteArray& b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
inline void put32(QByteArray& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void poke32(QByteArray& b, int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct Dib {
    int headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks{};    // after a 40-byte header, inside larger ones
    std::vector<std::uint32_t> palette{};  // 0x00RRGGBB
    QByteArray bits{};
};

// The info header, masks, colour table and bits: a packed DIB.
inline QByteArray packedDib(const Dib& d) {
    QByteArray b;
    put32(b, d.headerSize);
    if (d.headerSize == 12) {
        put16(b, d.width);
        put16(b, d.height);
        put16(b, 1);
        put16(b, d.bitCount);
    } else {
        put32(b, d.width);
        put32(b, d.height);
        put16(b, 1);
        put16(b, d.bitCount);
        put32(b, d.compression);
        put32(b, d.headerSize >= 40 ? d.bits.size() : 0);
        put32(b, 0);
        put32(b, 0);
        put32(b, d.colorsUsed);
        put32(b, 0);
        for (std::uint32_t m : d.masks) put32(b, m);
        b.resize(std::max<qsizetype>(b.size(), d.headerSize), '\0');
        b.resize(d.headerSize + (d.headerSize == 40 ? d.masks.size() * 4 : 0));
    }
    for (std::uint32_t c : d.palette) {
        b.append(static_cast<char>(c & 0xFF));
        b.append(static_cast<char>((c >> 8) & 0xFF));
        b.append(static_cast<char>((c >> 16) & 0xFF));
        if (d.headerSize != 12) b.append('\0');
    }
    return b + d.bits;
}

// A BMP file: the file header in front of the packed DIB, pixels right after the table.
inline QByteArray bmpFile(const Dib& d) {
    const QByteArray dib = packedDib(d);
    QByteArray b("BM");
    put32(b, 14 + dib.size());
    put32(b, 0);
    put32(b, 14 + dib.size() - d.bits.size());
    return b + dib;
}

// Rows of palette indices (top row first) packed bottom-up at `bpp` with 4-byte padding.
inline QByteArray packIndices(const std::vector<std::vector<int>>& rows, int bpp) {
    QByteArray out;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        QByteArray line((row->size() * bpp + 31) / 32 * 4, '\0');
        for (std::size_t x = 0; x < row->size(); ++x) {
            const std::size_t bit = x * bpp;
            const int shift = 8 - bpp - static_cast<int>(bit % 8);
            line[bit / 8] = static_cast<char>(line[bit / 8] | ((*row)[x] << shift));
        }
        out += line;
    }
    return out;
}

inline QImage decoded(const QByteArray& bytes, Colour matte = kWhite) {
    auto result = decodePicture(bytes, matte);
    if (auto* error = std::get_if<PictureError>(&result)) {
        ADD_FAILURE() << "refused: " << error->reason;
        return {};
    }
    const QImage image = std::get<QImage>(result);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    return image;
}

inline std::string refusal(const QByteArray& bytes) {
    auto result = decodePicture(bytes);
    if (auto* error = std::get_if<PictureError>(&result)) {
        EXPECT_FALSE(error->reason.empty());
        return error->reason;
    }
    return {};
}

// 0x00RRGGBB of the pixel, the way tests spell colours.
inline std::uint32_t rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

}  // namespace nt::test
