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
    // The same at once: tiles not made yet are sampled (one picture pixel each) and left to
    // `refine`, so showing a large picture never waits for all of its pixels to be read.
    const QImage& shown(const QImage& picture, int shift, const QRect& area);
    // Makes sampled tiles of the last `shown` properly for about `budgetMs`; returns the part
    // made (to be shown again). Nothing is left to do once `pending` is false.
    QRect refine(const QImage& picture, int budgetMs);
    bool pending() const { return !rough_.empty(); }
    // Picture pixels in `changed` are no longer what the reductions were made from.
    void invalidate(const QRect& changed);
    // Memory back; the next use starts afresh.
    void clear();

  private:
    static constexpr int kTile = 64;
    enum : std::uint8_t { kStale = 0, kSampled = 1, kMade = 2 };
    struct Level {
        QImage image;
        int tilesX = 0, tilesY = 0;
        std::vector<std::uint8_t> valid;
    };
    void prepare(Level& level, QSize size);
    void update(const QImage& picture, int shift, const QRect& area);

    std::array<Level, 3> levels_;
    int roughShift_ = 0;
    std::vector<QPoint> rough_;  // sampled tiles of level roughShift_, to be made
};

}  // namespace nt
