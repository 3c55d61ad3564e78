#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include <QByteArray>

#include "PictureTestSupport.h"

// Writers of the small WMF and EMF files the metafile tests play.

namespace nt::test {

// An EMF whose frame is width x height pixels at 96 dpi on a 96-dpi reference device, so
// that one logical unit in MM_TEXT is one pixel of the picture when the sides are multiples
// of 24 (the frame is in whole hundredths of a millimetre).
class EmfWriter {
  public:
    EmfWriter(int width, int height, int handles = 8) : handles_(handles) {
        frame_[2] = width * 2540 / 96;
        frame_[3] = height * 2540 / 96;
    }
    // A record of 32-bit words after its type and size.
    EmfWriter& rec(std::uint32_t type, std::initializer_list<std::uint32_t> words) {
        QByteArray body;
        for (const std::uint32_t w : words) put32(body, w);
        return raw(type, body);
    }
    EmfWriter& raw(std::uint32_t type, const QByteArray& body) {
        put32(records_, type);
        put32(records_, static_cast<std::uint32_t>(8 + body.size()));
        records_.append(body);
        ++count_;
        return *this;
    }
    QByteArray bytes() const {
        QByteArray out;
        put32(out, 1);
        put32(out, 88);
        for (int i = 0; i < 4; ++i) put32(out, 0);  // bounds
        for (const int f : frame_) put32(out, static_cast<std::uint32_t>(f));
        put32(out, 0x464D4520);
        put32(out, 0x10000);
        put32(out, static_cast<std::uint32_t>(88 + records_.size() + 20));
        put32(out, static_cast<std::uint32_t>(count_ + 2));
        put16(out, static_cast<std::uint32_t>(handles_));
        put16(out, 0);
        for (int i = 0; i < 3; ++i) put32(out, 0);  // description, palette
        for (const std::uint32_t v : {960u, 960u, 254u, 254u}) put32(out, v);
        out.append(records_);
        for (const std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) put32(out, v);  // EOF
        return out;
    }

  private:
    int handles_;
    int frame_[4] = {0, 0, 0, 0};
    QByteArray records_;
    int count_ = 0;
};

// Two 16-bit values in one word, as the 16-bit point records store x and y.
inline std::uint32_t xy16(int x, int y) {
    return (static_cast<std::uint32_t>(y) & 0xFFFF) << 16 |
           (static_cast<std::uint32_t>(x) & 0xFFFF);
}

// The body of an EMR_STRETCHDIBITS record drawing the whole of a packed DIB (a 40-byte header
// and no colour table) of width x height pixels into the logical rectangle `dest`.
inline QByteArray stretchDibits(const QByteArray& dib, int width, int height, int x, int y,
                                int destWidth, int destHeight) {
    QByteArray body;
    for (int i = 0; i < 4; ++i) put32(body, 0);  // bounds
    for (const int v : {x, y, 0, 0, width, height}) put32(body, static_cast<std::uint32_t>(v));
    const std::uint32_t header = 40, offBmi = 8 + 72;
    for (const std::uint32_t v : {offBmi, header, offBmi + header,
                                  static_cast<std::uint32_t>(dib.size()) - header, 0u, 0x00CC0020u})
        put32(body, v);
    put32(body, static_cast<std::uint32_t>(destWidth));
    put32(body, static_cast<std::uint32_t>(destHeight));
    body.append(dib);
    return body;
}

// A placeable WMF with a bounding box of width x height units at `inch` units per inch
// (0 for a plain WMF without the placeable header).
class WmfWriter {
  public:
    WmfWriter(int width, int height, int inch = 96) : width_(width), height_(height), inch_(inch) {}
    // A record of 16-bit parameters after its size and function.
    WmfWriter& rec(std::uint16_t function, std::initializer_list<int> params) {
        return rec(function, std::vector<int>(params));
    }
    WmfWriter& rec(std::uint16_t function, const std::vector<int>& params) {
        put32(records_, static_cast<std::uint32_t>(3 + params.size()));
        put16(records_, function);
        for (const int p : params) put16(records_, static_cast<std::uint32_t>(p) & 0xFFFF);
        return *this;
    }
    QByteArray bytes() const {
        QByteArray out;
        if (inch_ > 0) {
            put32(out, 0x9AC6CDD7);
            put16(out, 0);
            for (const int v : {0, 0, width_, height_}) put16(out, static_cast<std::uint32_t>(v));
            put16(out, static_cast<std::uint32_t>(inch_));
            put32(out, 0);
            put16(out, 0);  // checksum, not checked
        }
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x300);
        put32(out, static_cast<std::uint32_t>(9 + records_.size() / 2 + 3));
        put16(out, 8);  // objects
        put32(out, 0);
        put16(out, 0);
        out.append(records_);
        put32(out, 3);
        put16(out, 0);
        return out;
    }

  private:
    int width_, height_, inch_;
    QByteArray records_;
};

}  // namespace nt::test
