#include <algorithm>
#include <cmath>

#include "platform/metafile/Player.h"
#include "platform/metafile/PlayerInternal.h"

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

namespace {

double rowsAndSpans(const Clip& clip) {
    return clip ? double(clip->rows.size()) + double(clipSpanCount(*clip)) : 0;
}

}  // namespace

Clip Player::clipOfPixelRects(std::span<const QRectF> rects) {
    // Each rectangle adds at most one span to each row it covers.
    double spans = 1;
    for (const QRectF& r : rects) {
        const QRectF n = r.normalized();
        spans += std::clamp(n.bottom(), 0.0, double(image_.height())) -
                 std::clamp(n.top(), 0.0, double(image_.height())) + 1;
    }
    if (!admitClip(spans)) return nullptr;
    return track(clipFromRects(rects, image_.height()));
}

Clip Player::clipOfPolygons(const Figures& f) {
    if (!admitClip(double(clipSpanBound(f.points, f.counts, image_.height())))) return nullptr;
    return track(clipFromPolygons(f.points, f.counts, dc_.fillRule, image_.height()));
}

bool Player::admitClip(double spans) {
    charge(spans * kWorkPerClipSpan);
    const double bytes = spans * sizeof(ClipSpans::Row::value_type) +
                         std::min(spans, double(image_.height())) * sizeof(ClipSpans::Row);
    if (!overBudget() && !ledger_->fits(std::int64_t(std::min(bytes, 1e15)))) ledger_->refuse();
    return !overBudget();
}

void Player::combineClip(const Clip& shape, Combine mode) {
    if (mode < Combine::And || mode > Combine::Copy || overBudget()) return;
    // Combining merges the shape's rows with the clip's spans there, and clears the clip's
    // other rows; a clip shared with a saved state is copied first.
    const bool copied = dc_.clip && dc_.clip.use_count() > 1 && mode != Combine::Copy && shape;
    const double clipRows = dc_.clip ? double(dc_.clip->rows.size()) : double(image_.height());
    const double clipSpans = dc_.clip ? double(clipSpanCount(*dc_.clip)) : clipRows;
    double merged = rowsAndSpans(shape) + (mode == Combine::And || copied ? clipSpans : 0) +
                    (copied ? clipRows : 0);
    if (dc_.meta) merged += rowsAndSpans(dc_.meta) + rowsAndSpans(shape);
    charge(merged * kWorkPerClipSpan + (mode == Combine::And ? clipRows : 0));
    if (copied && !ledger_->fits(clipBytes(*dc_.clip))) ledger_->refuse();
    if (overBudget()) return;
    boxOf_ = nullptr;  // the clip may change in place
    mf::combineClip(dc_.clip, shape, mode, image_.width(), image_.height());
    dc_.clip = track(std::move(dc_.clip));
    if (dc_.meta) {
        mf::combineClip(dc_.clip, dc_.meta, Combine::And, image_.width(), image_.height());
        dc_.clip = track(std::move(dc_.clip));
    }
}

QRect Player::clipBox() {
    if (!dc_.clip || boxOf_ != dc_.clip.get()) {
        charge(rowsAndSpans(dc_.clip) * kWorkPerClipWalk);
        clipBox_ = clipBounds(dc_.clip, image_.width(), image_.height());
        boxOf_ = dc_.clip.get();
    }
    return clipBox_;
}

void Player::offsetClip(QPointF logical) {
    const QTransform t = toPixels();
    const QPointF by = t.map(logical) - t.map(QPointF(0, 0));
    if (!std::isfinite(by.x()) || !std::isfinite(by.y())) return;
    const auto whole = [](double v) { return std::int64_t(std::clamp(std::round(v), -1e9, 1e9)); };
    charge(rowsAndSpans(dc_.clip) * kWorkPerClipSpan);
    if (dc_.clip && !ledger_->fits(clipBytes(*dc_.clip))) ledger_->refuse();
    if (overBudget()) return;
    // Only the clip moves; the meta region stays where it is.
    Clip moved = dc_.clip;
    mf::offsetClip(moved, whole(by.x()), whole(by.y()), image_.width(), image_.height());
    combineClip(track(std::move(moved)), Combine::Copy);
}

void Player::setMetaRegion() {
    if (dc_.clip) dc_.meta = dc_.clip;
}

}  // namespace nt::mf
