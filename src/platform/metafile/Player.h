#pragma once

#include <array>
#include <cstdint>
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

class Player {
  public:
    Player(const Frame& frame, QImage& image, Stats* stats, double budget = kWorkBudget);

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
    Clip clipOfPixelRects(std::span<const QRectF> rects) const {
        return clipFromRects(rects, image_.height());
    }

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

    // Records that are not drawn.
    void skip(const std::string& name);
    // True once playing has cost more than any real picture needs.
    bool overBudget() const { return work_ > budget_; }
    double work() const { return work_; }
    Stats* stats() const { return stats_; }
    // Reference-device pixels (EMF regions) to picture pixels.
    const QTransform& deviceToPixels() const { return init_; }
    const Frame& frame() const { return frame_; }

  private:
    QTransform pageTransform() const;
    double penPixels() const;
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
    void fillFigures(const Figures& f, const BrushObject& brush);
    Brush surfaceBrush(const BrushObject& b) const;
    void appendToPath(const Figures& f);
    void drawPath(bool stroke, bool fill);
    std::vector<QPointF> ellipsePoints(QRectF box, double from, double sweep) const;
    std::vector<QPointF> bezierPoints(QPointF p0, std::span<const QPointF> controls) const;
    void mappedPolyline(std::span<const QPointF> logical, bool closed, Figures& out) const;
    void charge(double work) { work_ += work; }

    Frame frame_;
    QImage& image_;
    RasterTarget target_;
    Stats* stats_;
    QTransform init_;  // reference-device pixels -> picture pixels (EMF); identity for WMF
    DcState dc_;
    std::vector<DcState> saved_;
    ObjectTable objects_;
    Figures path_;
    std::optional<TextFont> textFont_;
    bool recording_ = false;
    bool figureOpen_ = false;  // the last path figure continues with LineTo and friends
    double work_ = 0;
    double budget_;
};

}  // namespace nt::mf
