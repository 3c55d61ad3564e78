#include "platform/metafile/Player.h"

#include <algorithm>
#include <cmath>

// The device context itself: mapping, saved states and selected objects.

namespace nt::mf {

namespace {

// Deeper SaveDC nesting than any real file has; more are ignored.
constexpr std::size_t kMaxSavedStates = 1024;

// A world transform whose parts stay within these bounds keeps every mapped coordinate
// finite; larger ones are damaged files.
constexpr double kMaxWorldScale = 1e6;
constexpr double kMaxWorldOffset = 1e9;

bool finite(const QTransform& t) {
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

// Millimetres per logical unit of the metric mapping modes.
double unitMillimetres(int mode) {
    switch (mode) {
        case MM_LOMETRIC:
            return 0.1;
        case MM_HIMETRIC:
            return 0.01;
        case MM_LOENGLISH:
            return 0.254;
        case MM_HIENGLISH:
            return 0.0254;
        case MM_TWIPS:
            return 25.4 / 1440;
        default:
            return 0;
    }
}

}  // namespace

Player::Player(const Frame& frame, QImage& image, Stats* stats, double budget,
               std::int64_t memoryCap)
    : ledger_(std::make_shared<Ledger>(memoryCap)),
      frame_(frame),
      image_(image),
      target_(image, nullptr),
      stats_(stats),
      objects_(frame.handles),
      savedHold_(ledger_, 0),
      pathHold_(ledger_, 0),
      budget_(budget) {
    if (frame.kind == Kind::Emf) {
        const QRectF f = frame.deviceFrame;
        const double sx = f.width() > 0 ? image.width() / f.width() : 1;
        const double sy = f.height() > 0 ? image.height() / f.height() : 1;
        init_ = QTransform(sx, 0, 0, sy, -f.left() * sx, -f.top() * sy);
    } else {
        dc_.mapMode = MM_ANISOTROPIC;
        dc_.windowOrg = frame.window.topLeft();
        dc_.windowExt = {frame.window.width(), frame.window.height()};
        dc_.viewportExt = {double(image.width()), double(image.height())};
    }
    dc_.brush = BrushObject{BrushObject::Kind::Solid, 0xFFFFFF, 0, nullptr};
    dc_.font.height = 0;
}

// ---- mapping ----

void Player::setWindowExt(QPointF ext) {
    if (ext.x() != 0 && ext.y() != 0 && std::isfinite(ext.x()) && std::isfinite(ext.y()))
        dc_.windowExt = ext;
}

void Player::setViewportExt(QPointF ext) {
    if (ext.x() != 0 && ext.y() != 0 && std::isfinite(ext.x()) && std::isfinite(ext.y()))
        dc_.viewportExt = ext;
}

void Player::setWorld(const QTransform& t) {
    const bool bounded = std::max({std::abs(t.m11()), std::abs(t.m12()), std::abs(t.m21()),
                                   std::abs(t.m22())}) <= kMaxWorldScale &&
                         std::max(std::abs(t.dx()), std::abs(t.dy())) <= kMaxWorldOffset;
    if (finite(t) && bounded && t.isInvertible()) dc_.world = t;
}

void Player::modifyWorld(const QTransform& t, int mode) {
    switch (mode) {
        case 1:
            dc_.world = QTransform();
            return;
        case 2:
            setWorld(t * dc_.world);
            return;  // the new transform applies first
        case 3:
            setWorld(dc_.world * t);
            return;
        case 4:
            setWorld(t);
            return;
        default:
            return;
    }
}

QTransform Player::pageTransform() const {
    double sx = 1, sy = 1;
    if (const double mm = unitMillimetres(dc_.mapMode); mm > 0) {
        sx = frame_.pixelsPerMmX * mm;
        sy = -frame_.pixelsPerMmY * mm;  // metric modes count upwards
    } else if (dc_.mapMode == MM_ISOTROPIC || dc_.mapMode == MM_ANISOTROPIC) {
        sx = dc_.viewportExt.x() / dc_.windowExt.x();
        sy = dc_.viewportExt.y() / dc_.windowExt.y();
        if (dc_.mapMode == MM_ISOTROPIC) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform Player::toPixels() const {
    return dc_.world * pageTransform() * init_;
}

void Player::saveDc() {
    if (saved_.size() >= kMaxSavedStates) return;
    // A saved state shares the clip and brush with the current one; they count on their own.
    if (!savedHold_.resize(std::int64_t(saved_.size() + 1) * std::int64_t(sizeof(DcState)))) return;
    saved_.push_back(dc_);
}

void Player::restoreDc(int which) {
    const auto depth = static_cast<std::int64_t>(saved_.size());
    const std::int64_t keep = which < 0 ? depth + which : std::int64_t{which} - 1;
    if (which == 0 || keep < 0 || keep >= depth) return;
    dc_ = saved_[static_cast<std::size_t>(keep)];
    boxOf_ = nullptr;
    saved_.resize(static_cast<std::size_t>(keep));
    savedHold_.resize(keep * std::int64_t(sizeof(DcState)));
}

void Player::select(const GdiObject& object) {
    if (const auto* pen = std::get_if<PenObject>(&object)) dc_.pen = *pen;
    if (const auto* brush = std::get_if<BrushObject>(&object)) dc_.brush = *brush;
    if (const auto* font = std::get_if<FontObject>(&object)) dc_.font = *font;
    if (const auto* region = std::get_if<RegionObject>(&object)) {
        // Selecting a region makes it the clip.
        const std::vector<QRectF> pixels = pixelRects(*region, toPixels());
        if (!overBudget()) combineClip(clipOfPixelRects(pixels), Combine::Copy);
    }
}

bool Player::mapsFinitely() {
    if (!finite(toPixels())) refused_ = true;
    return !refused_;
}

Hold Player::admitBitmap(std::int64_t width, std::int64_t height) {
    // Decoding clears and writes every pixel, whatever the data holds (an RLE bitmap of a few
    // bytes still has all its pixels): measured at four times a solid fill's pixel.
    constexpr double kWorkPerBitmapPixel = 4;
    if (width <= 0 || height <= 0) return {};
    charge(double(width) * double(height) * kWorkPerBitmapPixel);
    if (overBudget()) return {};
    return Hold(ledger_, width * height * 4);
}

bool Player::admitRegion(RegionObject& region, std::int64_t rects) {
    Hold hold(ledger_, rects * std::int64_t(sizeof(QRectF)));
    if (!hold) return false;
    region.held = std::make_shared<const Hold>(std::move(hold));
    region.rects.reserve(static_cast<std::size_t>(rects));
    return true;
}

std::vector<QRectF> Player::pixelRects(const RegionObject& region, const QTransform& t) {
    std::vector<QRectF> pixels;
    if (!ledger_->fits(std::int64_t(region.rects.size() * sizeof(QRectF)))) {
        ledger_->refuse();
        return pixels;
    }
    pixels.reserve(region.rects.size());
    for (const QRectF& r : region.rects) pixels.push_back(t.mapRect(r));
    return pixels;
}

namespace {

// Keeps a ledger's hold for as long as the object it counts.
template <class T>
struct HeldDeleter {
    Hold hold;
    void operator()(T* p) const { delete p; }
};

}  // namespace

std::shared_ptr<const PatternBrush> Player::patternBrush(const QImage& bitmap) {
    const int width = std::min(bitmap.width(), image_.width());
    const int height = std::min(bitmap.height(), image_.height());
    Hold hold(ledger_, std::int64_t(width) * height * 4);
    if (!hold || width <= 0 || height <= 0) return nullptr;
    QImage tile =
        (width < bitmap.width() || height < bitmap.height() ? bitmap.copy(0, 0, width, height)
                                                            : bitmap)
            .convertToFormat(QImage::Format_RGB32);
    return std::shared_ptr<const PatternBrush>(new PatternBrush{std::move(tile)},
                                               HeldDeleter<const PatternBrush>{std::move(hold)});
}

Clip Player::track(Clip clip) {
    if (!clip) return clip;
    if (auto* deleter = std::get_deleter<HeldDeleter<ClipSpans>>(clip)) {
        // Changed in place: held at its size now.
        deleter->hold.resize(clipBytes(*clip));
        return clip;
    }
    const std::int64_t bytes = clipBytes(*clip);
    Hold hold(ledger_, bytes);
    if (!hold) return nullptr;
    // Made by the clip functions for this player alone, or else copied.
    auto* spans = clip.use_count() == 1 ? new ClipSpans(std::move(*clip)) : new ClipSpans(*clip);
    return Clip(spans, HeldDeleter<ClipSpans>{std::move(hold)});
}

void Player::skip(const std::string& name) {
    if (stats_) ++stats_->skipped[name];
}

}  // namespace nt::mf
