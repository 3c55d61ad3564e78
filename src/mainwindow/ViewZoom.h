#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

namespace nt {

// The view's zoom: the one mapping between the canvas widget's pixels (the screen) and the
// picture's. Every pointer event on the canvas passes through it before the pointer pipeline
// sees it, and the canvas widget paints through it; the picture, the tools and the files stay
// in picture pixels. At 100 % it is the identity, exactly.
class ViewZoom {
  public:
    static constexpr int kLevelCount = 13;
    static constexpr int kActualSize = 3;  // the level of 100 %
    static constexpr int kGridLevel = 6;   // 400 %: the first level that can show the grid

    int level() const { return level_; }
    // Changes the level, kept within the list; false when it stays as it was.
    bool setLevel(int level);
    bool identity() const { return level_ == kActualSize; }
    bool showsGrid() const { return level_ >= kGridLevel; }
    // The zoom as a factor, and its percentage as the status bar shows it ("12.5", "400").
    double scale() const;
    QString percentText() const;
    // Screen pixels per picture pixel (1 at 100 % and below), and the power of two a reduction
    // divides by (0 at 100 % and above).
    int magnification() const;
    int reductionShift() const;

    // The picture point under a screen position: unchanged at 100 %, otherwise the picture
    // pixel under it, floor(screen / zoom).
    QPointF toPicture(QPointF screen) const;
    // The same without the floor: where between pixels the position lies, for keeping a picture
    // point under the pointer while the zoom changes.
    QPointF toPictureExact(QPointF screen) const { return screen / scale(); }
    // The screen size of a picture (a partly covered last screen pixel counts whole).
    QSize toScreen(QSize picture) const;
    // The screen pixels that show any of the picture pixels of `picture`.
    QRect toScreen(const QRect& picture) const;
    // A picture size for a screen size: whole picture pixels, at least 1.
    long long pictureLength(long long screen) const;

    // The largest level at which a picture of `picture` fits into `room`; the smallest level
    // when it fits at none.
    static int fitLevel(QSize picture, QSize room);

  private:
    int level_ = kActualSize;
};

}  // namespace nt
