#pragma once

#include <optional>

#include <QImage>
#include <QSize>
#include <QString>

namespace nt {

// What a list of pictures shows of a file without holding it in memory: its size, a small
// thumbnail and, when asked, whether every pixel has the same colour.
struct PictureGlance {
    QSize size;
    QImage thumbnail;      // Format_RGB32, its longer side at most the side asked for
    bool uniform = false;  // only looked at when asked
};

// Each thumbnail pixel averages its cell of the picture (over every row, or over eight rows of
// each band for pictures over 16 million pixels). An uncompressed 24- or 32-bit BMP (the
// program's own working files) is read in place, only the rows the thumbnail needs; the uniform
// check then reads every row only when the thumbnail has one colour. Any other picture is
// decoded whole. Nothing when the file is no picture.
std::optional<PictureGlance> glancePicture(const QString& path, int thumbSide, bool checkUniform);

// The thumbnail of an image in memory, made as glancePicture makes those of files.
QImage thumbnailOf(const QImage& image, int thumbSide);

}  // namespace nt
