#pragma once

#include <optional>
#include <string>
#include <variant>

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include "surface/Colour.h"

// The program's picture services: reading every picture format it opens and writing BMP
// and PNG.
//
// The format is decided from the content, never from the file name:
// - BMP with its 14-byte file header, or a packed DIB without it (OS/2 1.x, OS/2 2.x and
//   Windows headers of 40, 52, 56, 108 and 124 bytes; 1, 2, 4, 8, 16, 24 and 32 bits; RGB,
//   RLE8, RLE4, bit fields; an embedded JPEG or PNG is handed to Qt). Our own decoder.
//   Choices: pixels an RLE stream skips (deltas, early end of line or end of bitmap) take
//   palette entry 0; palette indices past the palette's end are black; an alpha channel in
//   a BMP is ignored (the picture is opaque); OS/2 bitmap arrays and OS/2 Huffman/RLE24
//   compression are refused; an RLE stream whose data runs out before its end-of-bitmap
//   marker and before its last row is refused (a truncated file, not a picture).
// - ICO and CUR, our own decoder: the largest entry, then the deepest, then the first; the
//   AND mask is applied to every depth; PNG entries go through Qt.
// - JPEG through libjpeg (see Jpeg.h). EXIF orientation is not applied.
// - GIF, our own decoder: the first frame of an animation on the logical screen (see Gif.h).
// - PNG through Qt's reader (libpng), after our own checks of its size and completeness
//   (see QtDecoders.h); every colour type and depth, the first frame of an animated one.
// - WMF (placeable and plain) and EMF, played by our own metafile player (metafile/) through
//   the surface's raster calls on white, at the natural size at 96 dpi: EMF its frame,
//   placeable WMF its bounding box and units per inch, plain WMF its first window extent
//   (800 x 600 units when it has none); sides over 4096 are scaled down together. EMF+
//   records are not drawn; damaged records end the picture where they start.
// Transparent pixels (ICO/CUR, GIF, PNG) are composited onto `matte`.
// Every result is opaque QImage::Format_RGB32; every size is checked against the surface
// limit (checkSurfaceSize) before anything is allocated.

namespace nt {

struct PictureError {
    enum class Kind {
        InvalidPicture,  // not a supported picture, damaged, truncated or too large
        NotFound,        // the file does not exist
        PathNotFound,    // the folder it should be in does not exist
        AccessDenied,    // no permission to read or write, or the path is a folder
        ReadFailed,      // the file could not be read completely
        WriteFailed,     // the file could not be written completely
        DiskFull,        // writing stopped because the disk has no room
    };
    std::string reason;
    Kind kind = Kind::InvalidPicture;
};

using PictureResult = std::variant<QImage, PictureError>;

inline constexpr Colour kWhite = 0xFFFFFF;

PictureResult decodePicture(QByteArrayView bytes, Colour matte = kWhite);
PictureResult loadPicture(const QString& path, Colour matte = kWhite);

// 24-bit bottom-up BMP, 54-byte header, rows padded to 4 bytes; the alpha byte is dropped.
// Empty when the image is null or too large for the format's 32-bit sizes.
QByteArray encodeBmp(const QImage& image);
// The same into `out`, reusing its memory when it is large enough; false (and `out` empty)
// where encodeBmp gives an empty array.
bool encodeBmpInto(const QImage& image, QByteArray& out);

// Writes encodeBmp's file through a temporary file renamed over `path` when complete, so a
// failed write leaves an existing file as it was. Returns the reason on failure.
std::optional<PictureError> savePictureBmp(const QImage& image, const QString& path);

// The file types the program writes. A name ending in ".png" (in any case) is PNG; every
// other name is BMP, whatever its extension says.
enum class PictureFileType { Bmp, Png };
PictureFileType fileTypeForName(const QString& path);

// A lossless 8-bit RGB PNG stream (24 bits a pixel; the alpha byte is dropped). Empty when
// the image is null.
QByteArray encodePng(const QImage& image);
// Writes encodePng's file as savePictureBmp writes its own: atomically, with the reason.
std::optional<PictureError> savePicturePng(const QImage& image, const QString& path);
std::optional<PictureError> savePicture(const QImage& image, const QString& path,
                                        PictureFileType type);

}  // namespace nt
