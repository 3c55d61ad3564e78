#include <bit>
#include <csetjmp>
#include <cstdio>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "platform/Dib.h"
#include "platform/Jpeg.h"
#include "surface/Limits.h"

namespace nt {

namespace {

// Room for libjpeg's own buffers (a progressive file keeps every coefficient), beside the
// picture itself.
constexpr long kMaxLibjpegBytes = kMaxPixels * 10;

struct ErrorManager {
    jpeg_error_mgr base;  // first: libjpeg sees only this part
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool damaged;  // a warning that data was missing or corrupt
};

ErrorManager& errorsOf(j_common_ptr cinfo) {
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void onError(j_common_ptr cinfo) {
    ErrorManager& err = errorsOf(cinfo);
    cinfo->err->format_message(cinfo, err.message);
    std::longjmp(err.jump, 1);
}

// Libjpeg goes on after a warning, filling what is missing; the warnings that mean missing
// or corrupt data make the picture a refusal, so decoding stops there (a few damaged bytes
// can announce a huge picture); the others (junk before a marker, unknown versions) are
// harmless.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    switch (cinfo->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_MUST_RESYNC:
            break;
        default:
            return;
    }
    ErrorManager& err = errorsOf(cinfo);
    cinfo->err->format_message(cinfo, err.message);
    err.damaged = true;
    std::longjmp(err.jump, 1);
}

class Decompressor {
  public:
    Decompressor() {
        cinfo_.err = jpeg_std_error(&err_.base);
        err_.base.error_exit = onError;
        err_.base.emit_message = onMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // Runs a step of libjpeg's; false when it failed. The step's frames hold nothing that
    // needs destroying, so leaving them through longjmp is sound.
    template <typename Step>
    [[gnu::noinline]] bool run(Step&& step) {
        if (setjmp(err_.jump)) return false;
        step(&cinfo_);
        return true;
    }

    std::string reason(const char* what) const { return std::string(what) + ": " + err_.message; }
    bool damaged() const { return err_.damaged; }

  private:
    jpeg_decompress_struct cinfo_{};
    ErrorManager err_{};
};

// Every coefficient of every component must have reached full precision; a progressive
// file cut between scans shows a blurred picture otherwise.
bool progressionComplete(j_decompress_ptr cinfo) {
    if (!cinfo->progressive_mode || !cinfo->coef_bits) return true;
    for (int c = 0; c < cinfo->num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (cinfo->coef_bits[c][k] != 0) return false;
    return true;
}

// Inverted CMYK, as Adobe stores it: each ink times the black.
void cmykToRgb(const std::uint8_t* in, Pixel* out, std::int64_t width) {
    for (std::int64_t x = 0; x < width; ++x, in += 4) {
        const std::uint32_t k = in[3];
        out[x] = 0xFF000000u | (in[0] * k / 255) << 16 | (in[1] * k / 255) << 8 | in[2] * k / 255;
    }
}

void readRows(j_decompress_ptr cinfo, QImage& image, bool cmyk, std::uint8_t* cmykRow) {
    while (cinfo->output_scanline < cinfo->output_height) {
        const auto y = static_cast<int>(cinfo->output_scanline);
        JSAMPROW row = cmyk ? cmykRow : image.scanLine(y);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return;
        if (cmyk) cmykToRgb(cmykRow, reinterpret_cast<Pixel*>(image.scanLine(y)), image.width());
    }
}

}  // namespace

PictureResult decodeJpeg(Bytes data) {
    Decompressor jpeg;
    if (!jpeg.run([](j_decompress_ptr c) { jpeg_create_decompress(c); }))
        return dib::invalid(jpeg.reason("JPEG decoder failed"));
    bool cmyk = false;
    std::int64_t width = 0, height = 0;
    const bool headerRead = jpeg.run([&](j_decompress_ptr c) {
        jpeg_mem_src(c, data.data(), static_cast<unsigned long>(data.size()));
        jpeg_read_header(c, TRUE);
        width = c->image_width;
        height = c->image_height;
        cmyk = c->jpeg_color_space == JCS_CMYK || c->jpeg_color_space == JCS_YCCK;
    });
    if (jpeg.damaged()) return dib::invalid(jpeg.reason("JPEG data truncated"));
    if (!headerRead) return dib::invalid(jpeg.reason("unreadable JPEG header"));
    if (auto refused = checkSurfaceSize(width, height)) return dib::invalid(*refused);

    bool complete = true;
    const bool started = jpeg.run([&](j_decompress_ptr c) {
        c->mem->max_memory_to_use = kMaxLibjpegBytes;
        c->out_color_space = cmyk                                         ? JCS_CMYK
                             : std::endian::native == std::endian::little ? JCS_EXT_BGRA
                                                                          : JCS_EXT_ARGB;
        jpeg_start_decompress(c);
        // A multi-scan file has been read to its end by now, and its progression table
        // is gone once the decompression finishes.
        complete = progressionComplete(c);
    });
    if (!started) return dib::invalid(jpeg.reason("JPEG data damaged"));
    if (!complete) return dib::invalid("JPEG data truncated: scans missing");

    auto made = dib::allocateImage(width, height, QImage::Format_RGB32);
    if (auto* error = std::get_if<PictureError>(&made)) return *error;
    QImage& image = std::get<QImage>(made);
    std::vector<std::uint8_t> cmykRow(cmyk ? static_cast<std::size_t>(width) * 4 : 0);
    const bool read = jpeg.run([&](j_decompress_ptr c) {
        readRows(c, image, cmyk, cmykRow.data());
        jpeg_finish_decompress(c);
    });
    if (!read) return dib::invalid(jpeg.reason("JPEG data damaged"));
    if (jpeg.damaged()) return dib::invalid(jpeg.reason("JPEG data damaged"));
    return image;
}

}  // namespace nt
