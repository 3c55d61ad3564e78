#include <algorithm>
#include <cmath>

#include "platform/metafile/Player.h"

// The clipping records: rectangles intersected or excluded, regions combined and moved.

namespace nt::mf {

void Player::intersectClip(QRectF logical) {
    const QRectF r = toPixels().mapRect(logical.normalized());
    combineClip(clipOfPixelRects(std::span(&r, 1)), Combine::And);
}

void Player::excludeClip(QRectF logical) {
    const QRectF r = toPixels().mapRect(logical.normalized());
    combineClip(clipOfPixelRects(std::span(&r, 1)), Combine::Diff);
}

void Player::combineClip(const Clip& shape, Combine mode) {
    if (mode < Combine::And || mode > Combine::Copy) return;
    charge(shape ? double(shape->rows.size()) * 4 : 0);
    mf::combineClip(dc_.clip, shape, mode, image_.width(), image_.height());
    if (dc_.meta)
        mf::combineClip(dc_.clip, dc_.meta, Combine::And, image_.width(), image_.height());
}

void Player::offsetClip(QPointF logical) {
    const QTransform t = toPixels();
    const QPointF by = t.map(logical) - t.map(QPointF(0, 0));
    if (!std::isfinite(by.x()) || !std::isfinite(by.y())) return;
    const auto whole = [](double v) { return std::int64_t(std::clamp(std::round(v), -1e9, 1e9)); };
    charge(dc_.clip ? double(dc_.clip->rows.size()) : 0);
    // Only the clip moves; the meta region stays where it is.
    Clip moved = dc_.clip;
    mf::offsetClip(moved, whole(by.x()), whole(by.y()), image_.width(), image_.height());
    combineClip(moved, Combine::Copy);
}

void Player::setMetaRegion() {
    if (dc_.clip) dc_.meta = dc_.clip;
}

}  // namespace nt::mf
