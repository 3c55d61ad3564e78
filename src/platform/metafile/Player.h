#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include "platform/metafile/ClipRegion.h"
#include "platform/metafile/DcState.h"
#include "platform/metafile/Figures.h"
#include "platform/metafile/GdiObjects.h"
#include "platform/metafile/Ledger.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafileSize.h"
#include "surface/RasterTarget.h"
#include "surface/Shapes.h"

// The device context a metafile draws on: its state (mapping, selected objects, colours,
// modes, clip, path) and the drawing calls in logical coordinates, which it maps to the
// picture's pixels and hands to the surface's raster calls. Shapes are taken to pixels as
// polygons, so world transforms and anisotropic mappings apply to every one of them.

namespace nt::mf {

enum class ArcKind { Arc, Chord, Pie, ArcTo };  // ArcTo: a line to the arc, then on along it

// A vertex of a gradient fill: where (logical) and its colour, 16 bits a channel.
struct GradientVertex {
    QPointF point;
    std::uint16_t red = 0, green = 0, blue = 0;
};

// A metafile font made for drawing at one scale: what it was made from and what it gave.
struct TextFont {
    FontObject object;
    double pixels = 0, scaleX = 0, scaleY = 0;
    bool advanced = false;
    double em = 0, ascent = 0, descent = 0;
    QFont font;
};

// How a blit's source meets the picture besides its raster operation: alpha blending with a
// BLENDFUNCTION, or leaving out the pixels of one colour.
struct Blend {
    enum class Kind { Rop, Alpha, ColourKey } kind = Kind::Rop;
    std::uint32_t value = 0;
};

class BlitWriter;

class Player {
  public:
    Player(const Frame& frame, QImage& image, Stats* stats, double budget = kWorkBudget,
           std::int64_t memoryCap = kMemoryCap);

    DcState& dc() { return dc_; }
    ObjectTable& objects() { return objects_; }

    // Mapping.
    void setWindowExt(QPointF ext);
    void setViewportExt(QPointF ext);
    void setWorld(const QTransform& t);
    void modifyWorld(const QTransform& t, int mode);
    QTransform toPixels() const;  // logical -> picture pixels
    QPointF map(QPointF logical) const { return toPixels().map(logical); }

    void saveDc();
    void restoreDc(int which);  // negative: relative to the top; positive: absolute

    // Objects. `select` takes a copy of the object, so deleting it later changes nothing.
    void select(const GdiObject& object);

    // Drawing, in logical coordinates.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(std::span<const QPointF> points);
    void polylineTo(std::span<const QPointF> points);
    void polyBezier(std::span<const QPointF> points);
    void polyBezierTo(std::span<const QPointF> points);
    void polyPolygon(std::span<const QPointF> points, std::span<const int> counts);
    void polyPolyline(std::span<const QPointF> points, std::span<const int> counts);
    void rectangle(QRectF box);
    void roundRect(QRectF box, QSizeF corner);
    void ellipse(QRectF box);
    void arc(ArcKind kind, QRectF box, QPointF start, QPointF end);
    void setPixel(QPointF p, Colour c);
    // Fills rectangles in picture pixels with a brush (regions, pattern blits).
    void fillPixelRects(std::span<const QRectF> rects, const BrushObject& brush);

    // Paths.
    void beginPath();
    void endPath() { recording_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath() { drawPath(false, true); }
    void strokePath() { drawPath(true, false); }
    void strokeAndFillPath() { drawPath(true, true); }
    void selectClipPath(Combine mode);

    // Clipping, by logical rectangles or by shapes in picture pixels (null: no clip).
    void intersectClip(QRectF logical);
    void excludeClip(QRectF logical);
    void combineClip(const Clip& shape, Combine mode);
    void offsetClip(QPointF logical);
    // The clip joins the meta region, and the clip starts again from none.
    void setMetaRegion();
    // Nothing (and playing ends) when the clip would cost more than the budget or the memory
    // left.
    Clip clipOfPixelRects(std::span<const QRectF> rects);

    // Text: a reference point, the characters (glyph indexes with ETO_GLYPH_INDEX), optional
    // advances (logical units, one per character, y upwards) and the ETO options with their
    // rectangle. `advanced`: the graphics mode in which the mapping transforms glyphs.
    void text(QPointF reference, const QString& text, std::span<const QPointF> advances,
              int options, std::optional<QRectF> rect, bool advanced = false);

    // Bitmaps: `source` part of `bitmap` drawn into the logical rectangle with a ternary
    // raster operation; a null bitmap is a pattern-only operation.
    void blit(QRectF dest, const QImage& bitmap, QRectF source, std::uint32_t rop,
              Blend blend = {});

    // Gradients: rectangles (two vertex indexes; mode 0 shaded across, 1 down) or triangles
    // (mode 2, three indexes) between vertex colours.
    void gradientFill(std::span<const GradientVertex> vertices,
                      std::span<const std::array<std::uint32_t, 3>> shapes, int mode);

    // A DIB of this size about to be decoded: charged, and held while the hold lives; an
    // empty hold refuses it.
    Hold admitBitmap(std::int64_t width, std::int64_t height);
    // A region of `rects` rectangles about to be made: held while it or a copy of it lives;
    // false (and playing ends) when it would not fit in memory.
    bool admitRegion(RegionObject& region, std::int64_t rects);
    // A region's rectangles mapped by `t` into picture pixels; none (and playing ends) when
    // the copy would not fit in memory.
    std::vector<QRectF> pixelRects(const RegionObject& region, const QTransform& t);
    // A pattern brush of a decoded bitmap, kept only as far as it can reach into the picture
    // (it tiles from the picture's origin); null when it does not fit in memory.
    std::shared_ptr<const PatternBrush> patternBrush(const QImage& bitmap);

    // Records that are not drawn.
    void skip(const std::string& name);
    // Each record starts with a clean slate: a bad number stops the one record it is in.
    void beginRecord() { refused_ = false; }
    // True once playing has cost more than any real picture needs or taken the memory it may
    // hold: playing ends.
    bool exhausted() const { return work_ > budget_ || ledger_->refused(); }
    // True when the drawing in hand must stop: playing ends, or the record holds a number no
    // picture can use (NaN, infinite).
    bool overBudget() const { return exhausted() || refused_; }
    double work() const { return work_; }
    const Ledger& ledger() const { return *ledger_; }
    Stats* stats() const { return stats_; }
    // Reference-device pixels (EMF regions) to picture pixels.
    const QTransform& deviceToPixels() const { return init_; }
    const Frame& frame() const { return frame_; }

  private:
    QTransform pageTransform() const;
    double penPixels() const;
    Pen enginePen() const;  // the selected pen as the raster engine draws it
    // How much wider than the face's own the glyphs of the selected font are drawn.
    double glyphStretch(double em, double scaleX, double scaleY, bool advanced) const;
    // The selected font made for a mapping's scales along and across the baseline; null when
    // it has no size.
    const TextFont* textFont(double scaleX, double scaleY, bool advanced);
    void prepareTarget();
    void render(const Figures& fill, const Figures& stroke);
    void strokeFigures(const Figures& f);
    void strokeDashed(const Figures& f);
    void strokeOutlined(const Figures& f);
    void fillFigures(const Figures& f, const BrushObject& brush,
                     PolygonSampling sampling = PolygonSampling::Centres);
    // A blit under a mapping that only scales and moves, and under one that turns or shears.
    void blitStraight(const QTransform& t, QRectF dest, const QImage& bitmap, QRectF source,
                      BlitWriter& writer);
    void blitTurned(const QTransform& t, QRectF dest, const QImage& bitmap, QRectF source,
                    BlitWriter& writer);
    Brush surfaceBrush(const BrushObject& b) const;
    void appendToPath(const Figures& f);
    void drawPath(bool stroke, bool fill);
    std::vector<QPointF> ellipsePoints(QRectF box, double from, double sweep) const;
    // An upright ellipse (no `corner`) or rounded box with a pen the raster engine draws, drawn
    // pixel for pixel as GDI does; false, having drawn nothing, for any other case.
    bool roundedAsGdi(QRectF box, QSizeF corner);
    // Arc, Chord and Pie through the pixels of GDI's ellipse outline; false when the old
    // sampled curve must draw it (turning maps, paths, user-dashed, inside-frame or shaped pens,
    // huge boxes).
    bool arcAsGdi(ArcKind kind, QRectF box, QPointF start, QPointF end);
    static QPointF arcEnd(QRectF box, QPointF end);
    // Nothing, stopping the record, when the curves cost more than the budget or memory left.
    std::vector<QPointF> bezierPoints(QPointF p0, std::span<const QPointF> controls);
    // Nothing, stopping the record, when a point maps to no finite pixel or the points would
    // not fit in memory.
    void mappedPolyline(std::span<const QPointF> logical, bool closed, Figures& out);
    // Work must be a finite, non-negative amount; anything else comes of a NaN or infinite
    // number and stops the record's drawing.
    void charge(double work) {
        if (!(work >= 0) || !std::isfinite(work)) {
            refused_ = true;
            return;
        }
        work_ += std::min(work, budget_ + 1);  // past the budget is past it; the sum stays finite
    }
    // False, stopping the record, when the mapping has overflowed to infinite or NaN scales.
    bool mapsFinitely();
    // The clip of figures in picture pixels with the fill rule; nothing when refused.
    Clip clipOfPolygons(const Figures& f);
    // A clip of at most `spans` spans about to be made: charged, and refused (false) when it
    // would not fit in memory.
    bool admitClip(double spans);
    // A clip made or changed by the player, counted in the ledger at its size now.
    Clip track(Clip clip);
    // The bounds of the clip, walked once per clip.
    QRect clipBox();
    // The path's points, counted in the ledger; false when `more` would not fit.
    bool growPath(std::size_t more);

    // First made, last destroyed: everything below may hold bytes of it.
    std::shared_ptr<Ledger> ledger_;
    Frame frame_;
    QImage& image_;
    RasterTarget target_;
    Stats* stats_;
    QTransform init_;  // reference-device pixels -> picture pixels (EMF); identity for WMF
    DcState dc_;
    std::vector<DcState> saved_;
    ObjectTable objects_;
    Hold savedHold_;  // the saved states themselves (their clips and brushes count apart)
    Figures path_;
    Hold pathHold_;
    const ClipSpans* boxOf_ = nullptr;  // the clip whose bounds clipBox_ holds
    QRect clipBox_;
    std::optional<TextFont> textFont_;
    bool recording_ = false;
    bool figureOpen_ = false;  // the last path figure continues with LineTo and friends
    double work_ = 0;
    double budget_;
    bool refused_ = false;  // the record in hand holds a number no picture can use
};

}  // namespace nt::mf
