#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QImage>
#include <QRect>

namespace nt {

// Draws the screen pixels `screen` of `picture` magnified `magnification` times (nearest
// pixel) into the top-left of `out`, which grows when it is too small. With `grid`, the first
// screen row and column of every picture pixel show a line instead. Costs the screen pixels
// drawn, whatever the picture's size.
void magnifyInto(const QImage& picture, int magnification, const QRect& screen, bool grid,
                 QImage& out);

// Reductions of a picture by 2, 4 and 8 (each pixel the mean of the square it covers), for
// showing it below 100 %. Each is made from the one above it, tile by tile and only where it
// is shown; changed picture pixels mark the tiles over them to be made again.
class ReductionCache {
  public:
    // The picture reduced by 2^shift (1..3), up to date at least inside `area` (in its pixels).
    const QImage& reduced(const QImage& picture, int shift, const QRect& area);
    // Picture pixels in `changed` are no longer what the reductions were made from.
    void invalidate(const QRect& changed);
    // Memory back; the next use starts afresh.
    void clear();

  private:
    static constexpr int kTile = 64;
    struct Level {
        QImage image;
        int tilesX = 0, tilesY = 0;
        std::vector<std::uint8_t> valid;
    };
    void prepare(Level& level, QSize size);
    void update(const QImage& picture, int shift, const QRect& area);

    std::array<Level, 3> levels_;
};

}  // namespace nt
