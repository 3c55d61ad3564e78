#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include <QImage>
#include <QRect>
#include <QString>

#include "surface/Blit.h"
#include "surface/Colour.h"
#include "surface/DirtyRows.h"
#include "surface/ImagePatch.h"
#include "surface/RasterTarget.h"

namespace nt {

struct FontSpec {
    QString name = QStringLiteral("宋体");
    double size = 9.0;  // points; the pixel size is the point size at 96 dpi
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class BoxMode { None, Outline, Filled };  // the B and BF of Line

// A picture box: a persistent image, the screen image shown by the widget, and the drawing
// attributes. With persistence (AutoRedraw) on, drawing goes into the persistent image and
// shows at once; off, it goes to the screen only and Refresh takes it away again.
// Refresh costs what differs between the two images, never the whole picture.
class Surface {
  public:
    // Throws SurfaceSizeError when the size is beyond the project limit (before allocating).
    Surface(int width, int height, Colour back = 0xFFFFFF);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    // Drawing attributes.
    Colour ForeColor = 0;
    Colour FillColor = 0;
    int FillStyle = 1;  // 0 solid, 1 transparent
    int DrawWidth = 1;  // pen width, clamped to 1..100 when used
    int DrawStyle = 0;  // 0 solid .. 4 dash-dot-dot
    FontSpec Font;
    double CurrentX = 0;
    double CurrentY = 0;

    Colour BackColor() const { return backColor_; }
    void setBackColor(Colour c) { backColor_ = c; }

    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }

    // Repaints the screen from the persistent image where the two differ.
    void Refresh();
    // The same, except inside `cover`, which the caller paints over in full at once: a
    // preview that moves a little repaints only what it uncovers.
    void RefreshOutside(const QRect& cover);

    // Segment without its end point, or a box (both corners) outlined / filled with the colour.
    void Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour = {},
              BoxMode box = BoxMode::None);
    // Circle round (cx, cy) through radius r, outlined in the colour, filled per FillStyle.
    void Circle(double cx, double cy, double r, std::optional<Colour> colour = {});
    // A dot of DrawWidth.
    void PSet(double x, double y, std::optional<Colour> colour = {});
    // The colour of the pixel shown at (x, y); kNoColour outside.
    Colour Point(double x, double y) const;
    // Clears both images to BackColor.
    void Cls();
    // Text at (CurrentX, CurrentY) in ForeColor; CurrentY moves to the next line.
    void Print(const QString& text);
    // The size of a line of text in the current font, in pixels.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    // Puts a picture into the surface: with autoSize the surface takes its size, otherwise
    // the picture is drawn at the top-left over BackColor. Throws SurfaceSizeError.
    void setPicture(const QImage& picture, bool autoSize);
    // Takes `picture` (Format_RGB32) as the whole persistent image, size and all. The screen
    // shares its pixels until something draws, so a surface that is only read from, such as
    // the clipboard, never pays for a second copy. Throws SurfaceSizeError.
    void adopt(QImage picture);
    // The persistent image (Format_RGB32).
    const QImage& Image() const { return image_; }
    // The screen image the widget paints (Format_RGB32).
    const QImage& screen() const { return screen_; }
    // Changes the size keeping the top-left content; new area is BackColor. Throws
    // SurfaceSizeError.
    void resize(int width, int height);

    // Long-lived copies of the persistent image kept elsewhere (the undo image of the last
    // press, the snapshot), each brought up to date from the patches of its own slot.
    static constexpr int kCopySlots = 2;
    // What changed in the persistent image since the last call for `slot`: applied to the copy
    // the previous patch brought up to date, it gives the image as it is now. Costs what
    // changed, except that the first patch, and the first after a whole-picture change, starts
    // from the whole picture: shared, not copied.
    ImagePatch takeChanges(int slot);
    // From now on every whole-picture change also keeps the new picture aside for the slots,
    // so that no patch shares pixels the surface will draw into: drawing right after taking
    // changes then never copies the whole picture.
    void keepCopies();

    // Called with the screen rectangle that changed, for the widget to repaint.
    void setScreenListener(std::function<void(const QRect&)> listener) {
        listener_ = std::move(listener);
    }

    // --- what the device context and the raster calls build on ---
    Pen pen() const;
    Pen pen(Colour colour) const;
    // The brush of FillColor / FillStyle, or the selected pattern brush when there is one.
    Brush brush() const;
    void selectPattern(std::shared_ptr<const PatternBrush> p) { pattern_ = std::move(p); }
    std::shared_ptr<const PatternBrush> selectedPattern() const { return pattern_; }
    StretchMode stretchMode = StretchMode::Nearest;

    // Runs op on the image the device context targets (persistent or screen), then keeps
    // the screen and the repaint bookkeeping in step with what op touched.
    void draw(bool persistent, const std::function<void(RasterTarget&)>& op);
    // The same for operations that paint the QImage themselves and record what they touched.
    void drawOnImage(bool persistent, const std::function<void(QImage&, DirtyRows&)>& op);
    // The image a device context reads from.
    const QImage& imageFor(bool persistent) const { return persistent ? image_ : screen_; }

  private:
    void finishOperation(bool persistent);
    void replaceImages(QImage image, bool shareScreen = false);
    void wholePictureChanged();
    void notify(const QRect& r);

    QImage image_;
    QImage screen_;
    Colour backColor_;
    bool autoRedraw_ = true;
    std::shared_ptr<const PatternBrush> pattern_;
    DirtyRows screenDirty_;  // where the screen differs from the persistent image
    DirtyRows opDirty_;      // what the current operation touched
    struct CopySlot {
        DirtyRows changed;  // persistent pixels changed since the slot's last patch
        bool whole = true;  // the next patch starts from the whole picture
    };
    std::array<CopySlot, kCopySlots> copySlots_;
    bool keepsCopies_ = false;
    QImage copyBase_;  // the picture at its last whole change, while a slot still needs it
    std::function<void(const QRect&)> listener_;
};

}  // namespace nt
