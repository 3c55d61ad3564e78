#include "surface/Surface.h"

#include <algorithm>
#include <cstring>

#include <QFontMetricsF>
#include <QPainter>

#include "surface/Limits.h"
#include "surface/Rounding.h"
#include "surface/Shapes.h"
#include "surface/SystemColours.h"
#include "surface/Text.h"

namespace nt {
namespace {

QImage blankImage(int width, int height, Colour back) {
    if (auto why = checkSurfaceSize(width, height)) throw SurfaceSizeError(*why);
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull()) throw SurfaceSizeError("not enough memory for the picture");
    img.fill(toPixel(plainColour(back)));
    return img;
}

void copySpan(const QImage& from, QImage& to, int y, int x0, int x1) {
    const auto* src = reinterpret_cast<const Pixel*>(from.constScanLine(y)) + x0;
    auto* dst = reinterpret_cast<Pixel*>(to.scanLine(y)) + x0;
    std::memcpy(dst, src, static_cast<size_t>(x1 - x0 + 1) * sizeof(Pixel));
}

}  // namespace

Surface::Surface(int width, int height, Colour back) : backColor_(back) {
    replaceImages(blankImage(width, height, back));
}

void Surface::replaceImages(QImage image, bool shareScreen) {
    image_ = std::move(image);
    // A shared screen is copied by whichever image is written first (Qt's copy-on-write).
    screen_ = shareScreen ? image_ : image_.copy();
    screenDirty_.reset(image_.height());
    opDirty_.reset(image_.height());
    wholePictureChanged();
    notify(image_.rect());
}

void Surface::wholePictureChanged() {
    for (CopySlot& s : copySlots_) {
        s.changed.reset(image_.height());
        s.whole = true;
    }
    // Whole-picture work already: one more copy here spares the next press a copy of it.
    if (keepsCopies_) copyBase_ = image_.copy();
}

void Surface::keepCopies() {
    keepsCopies_ = true;
    wholePictureChanged();
}

ImagePatch Surface::takeChanges(int slot) {
    CopySlot& s = copySlots_.at(static_cast<size_t>(slot));
    ImagePatch patch;
    if (s.whole && !keepsCopies_) {
        patch = ImagePatch(image_);  // the picture as it is now: no spans needed
    } else {
        if (s.whole) patch = ImagePatch(copyBase_);
        s.changed.forEach([&](int y, int x0, int x1) { patch.addSpan(image_, y, x0, x1); });
    }
    s.changed.clear();
    s.whole = false;
    // Once every slot has it, the patches hold the only references to the kept picture.
    if (std::none_of(copySlots_.begin(), copySlots_.end(),
                     [](const CopySlot& c) { return c.whole; }))
        copyBase_ = QImage();
    return patch;
}

void Surface::notify(const QRect& r) {
    if (listener_ && !r.isEmpty()) listener_(r);
}

void Surface::Refresh() {
    if (screenDirty_.empty()) return;
    screenDirty_.forEach([&](int y, int x0, int x1) { copySpan(image_, screen_, y, x0, x1); });
    notify(screenDirty_.bounds());
    screenDirty_.clear();
}

void Surface::RefreshOutside(const QRect& cover) {
    if (screenDirty_.empty()) return;
    QRect changed;
    screenDirty_.takeOutside(cover, [&](int y, int x0, int x1) {
        copySpan(image_, screen_, y, x0, x1);
        changed |= QRect(QPoint(x0, y), QPoint(x1, y));
    });
    notify(changed);
}

void Surface::drawOnImage(bool persistent, const std::function<void(QImage&, DirtyRows&)>& op) {
    op(persistent ? image_ : screen_, opDirty_);
    finishOperation(persistent);
}

void Surface::draw(bool persistent, const std::function<void(RasterTarget&)>& op) {
    drawOnImage(persistent, [&](QImage& img, DirtyRows& dirty) {
        RasterTarget t(img, &dirty);
        op(t);
    });
}

void Surface::finishOperation(bool persistent) {
    if (opDirty_.empty()) return;
    if (persistent) {
        // Persistent drawing shows at once: the screen takes the new pixels.
        opDirty_.forEach([&](int y, int x0, int x1) { copySpan(image_, screen_, y, x0, x1); });
        for (CopySlot& s : copySlots_) s.changed.merge(opDirty_);
    } else {
        screenDirty_.merge(opDirty_);
    }
    notify(opDirty_.bounds());
    opDirty_.clear();
}

Pen Surface::pen(Colour colour) const {
    Pen p;
    p.pixel = toPixel(plainColour(colour));
    p.width = std::clamp(DrawWidth, 1, 100);
    p.style =
        (DrawStyle >= 0 && DrawStyle <= 4) ? static_cast<PenStyle>(DrawStyle) : PenStyle::Solid;
    return p;
}

Pen Surface::pen() const {
    return pen(ForeColor);
}

Brush Surface::brush() const {
    if (pattern_) return Brush{Brush::Kind::Pattern, 0, pattern_};
    if (FillStyle == 0) return Brush::solid(toPixel(plainColour(FillColor)));
    return Brush::none();
}

void Surface::Line(double x1, double y1, double x2, double y2, std::optional<Colour> colour,
                   BoxMode box) {
    const Pen p = pen(colour.value_or(ForeColor));
    const auto ax = roundHalfEven64(x1), ay = roundHalfEven64(y1);
    const auto bx = roundHalfEven64(x2), by = roundHalfEven64(y2);
    draw(autoRedraw_, [&](RasterTarget& t) {
        switch (box) {
            case BoxMode::None:
                drawLine(t, p, ax, ay, bx, by);
                break;
            case BoxMode::Outline:
                drawBoxOutline(t, p, ax, ay, bx, by);
                break;
            case BoxMode::Filled:
                drawFilledBox(t, p, ax, ay, bx, by);
                break;
        }
    });
    CurrentX = x2;
    CurrentY = y2;
}

void Surface::Circle(double cx, double cy, double r, std::optional<Colour> colour) {
    if (!(r >= 0)) return;  // negative or NaN radius draws nothing
    const Pen p = pen(colour.value_or(ForeColor));
    const Brush b = brush();
    const auto x = roundHalfEven64(cx), y = roundHalfEven64(cy), rr = roundHalfEven64(r);
    // The box is centred on the centre pixel, so the circle is symmetric around it.
    draw(autoRedraw_,
         [&](RasterTarget& t) { drawEllipse(t, p, b, x - rr, y - rr, x + rr + 1, y + rr + 1); });
    CurrentX = cx;
    CurrentY = cy;
}

void Surface::PSet(double x, double y, std::optional<Colour> colour) {
    const Pen p = pen(colour.value_or(ForeColor));
    const auto px = roundHalfEven64(x), py = roundHalfEven64(y);
    draw(autoRedraw_, [&](RasterTarget& t) { drawDot(t, p, px, py); });
    CurrentX = x;
    CurrentY = y;
}

Colour Surface::Point(double x, double y) const {
    const auto px = roundHalfEven64(x), py = roundHalfEven64(y);
    if (px < 0 || py < 0 || px >= width() || py >= height()) return kNoColour;
    const QImage& img = imageFor(autoRedraw_);
    return fromPixel(reinterpret_cast<const Pixel*>(img.constScanLine(static_cast<int>(py)))[px]);
}

void Surface::Cls() {
    const Pixel p = toPixel(plainColour(backColor_));
    image_.fill(p);
    screen_.fill(p);
    screenDirty_.clear();
    wholePictureChanged();
    CurrentX = CurrentY = 0;
    notify(image_.rect());
}

void Surface::Print(const QString& text) {
    const Pixel p = toPixel(plainColour(ForeColor));
    const int x = roundCoord(CurrentX), y = roundCoord(CurrentY);
    QRect box;
    drawOnImage(autoRedraw_, [&](QImage& img, DirtyRows& dirty) {
        box = drawText(img, &dirty, x, y, text, Font, p);
    });
    CurrentX = 0;
    CurrentY += box.height();
}

double Surface::TextWidth(const QString& text) const {
    return QFontMetricsF(makeFont(Font)).horizontalAdvance(text);
}

double Surface::TextHeight(const QString&) const {
    // One line's height, whatever the characters, as the line spacing of Print.
    return QFontMetricsF(makeFont(Font)).height();
}

void Surface::setPicture(const QImage& picture, bool autoSize) {
    if (picture.isNull()) {
        Cls();
        return;
    }
    if (autoSize) {
        if (auto why = checkSurfaceSize(picture.width(), picture.height()))
            throw SurfaceSizeError(*why);
        replaceImages(picture.convertToFormat(QImage::Format_RGB32));
        return;
    }
    QImage img = blankImage(width(), height(), backColor_);
    {
        QPainter painter(&img);
        painter.drawImage(0, 0, picture);
    }
    replaceImages(std::move(img));
}

void Surface::adopt(QImage picture) {
    if (auto why = checkSurfaceSize(picture.width(), picture.height()))
        throw SurfaceSizeError(*why);
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    replaceImages(std::move(picture), true);
}

void Surface::resize(int newWidth, int newHeight) {
    QImage img = blankImage(newWidth, newHeight, backColor_);
    const int w = std::min(width(), newWidth), h = std::min(height(), newHeight);
    for (int y = 0; y < h; ++y)
        std::memcpy(img.scanLine(y), image_.constScanLine(y),
                    static_cast<size_t>(w) * sizeof(Pixel));
    replaceImages(std::move(img));
}

}  // namespace nt
