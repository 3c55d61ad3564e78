#pragma once

#include <cstddef>
#include <vector>

#include <QImage>

#include "surface/Colour.h"

namespace nt {

// What changed in a picture since a copy of it was last brought up to date: a whole picture to
// start from (shared, never written by its owner), the changed spans with their pixels, or both.
// Taking one costs what changed; applying it is left to whoever owns the copy, on any thread.
class ImagePatch {
  public:
    ImagePatch() = default;
    explicit ImagePatch(QImage base) : base_(std::move(base)) {}

    // Records columns x0..x1 of row y as they are in `from`.
    void addSpan(const QImage& from, int y, int x0, int x1);
    bool wholePicture() const { return !base_.isNull(); }
    // Brings `copy` to the picture the patch was taken from; `copy` ends with pixels of its own.
    void applyTo(QImage& copy) const;

  private:
    struct Span {
        int y, x0, x1;
        std::size_t offset;  // into pixels_
    };
    QImage base_;
    std::vector<Span> spans_;
    std::vector<Pixel> pixels_;
};

}  // namespace nt
