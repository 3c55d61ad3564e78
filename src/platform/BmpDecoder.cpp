#include "platform/Bmp.h"
#include "platform/Dib.h"
#include "platform/Jpeg.h"
#include "platform/QtDecoders.h"

namespace nt {

namespace {

constexpr std::int64_t kFileHeader = 14;

PictureResult decodeEmbedded(const dib::Info& info, Bytes dib, Colour matte) {
    const std::int64_t rest = dib.size() - info.bitsOffset;
    const std::int64_t length =
        info.sizeImage > 0 && info.sizeImage <= rest ? info.sizeImage : rest;
    const Bytes embedded = dib.sub(info.bitsOffset, length);
    if (info.compression == dib::Compression::Jpeg) return decodeJpeg(embedded);
    return decodePngWithQt(embedded, matte);
}

PictureResult decodeDib(Bytes dib, dib::Kind kind, std::int64_t bitsOffset, Colour matte) {
    auto parsed = dib::parse(dib, kind, bitsOffset);
    if (auto* error = std::get_if<PictureError>(&parsed)) return *error;
    const dib::Info& info = std::get<dib::Info>(parsed);
    if (info.compression == dib::Compression::Jpeg || info.compression == dib::Compression::Png)
        return decodeEmbedded(info, dib, matte);
    return dib::decodePixels(info, dib, false);
}

}  // namespace

PictureResult decodeBmpFile(Bytes file, Colour matte) {
    if (!file.startsWith("BM", 2) || !file.has(0, kFileHeader))
        return dib::invalid("file too short for a bitmap file header");
    // The file header's size field is often wrong and is not used; the offset is.
    const std::int64_t offset = file.u32(10);
    return decodeDib(file.sub(kFileHeader, file.size()), dib::Kind::File, offset - kFileHeader,
                     matte);
}

std::optional<UncompressedBmp> uncompressedBmp(Bytes file) {
    if (!file.startsWith("BM", 2) || !file.has(0, kFileHeader)) return std::nullopt;
    const Bytes dib = file.sub(kFileHeader, file.size());
    auto parsed = dib::parse(dib, dib::Kind::File, std::int64_t{file.u32(10)} - kFileHeader);
    const auto* info = std::get_if<dib::Info>(&parsed);
    if (!info ||
        (info->compression != dib::Compression::Rgb &&
         info->compression != dib::Compression::Bitfields) ||
        !dib::hasAllRows(*info, dib))
        return std::nullopt;
    return UncompressedBmp{*info, dib};
}

PictureResult decodePackedDib(Bytes dib, Colour matte) {
    return decodeDib(dib, dib::Kind::Packed, 0, matte);
}

bool looksLikePackedDib(Bytes data) {
    if (!data.has(0, 4)) return false;
    const std::uint32_t size = data.u32(0);
    return size == 12 || (size >= 16 && size <= 64) || size == 108 || size == 124;
}

}  // namespace nt
