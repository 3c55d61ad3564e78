#include "platform/metafile/Player.h"

// Path brackets: figures recorded instead of drawn, then filled, stroked or made the clip.

namespace nt::mf {

void Player::beginPath() {
    path_ = {};
    pathHold_.resize(0);
    recording_ = true;
    figureOpen_ = false;
}

void Player::abortPath() {
    path_ = {};
    pathHold_.resize(0);
    recording_ = false;
}

void Player::closeFigure() {
    if (recording_ && !path_.closed.empty()) path_.closed.back() = true;
    figureOpen_ = false;
}

void Player::appendToPath(const Figures& f) {
    // A path longer than the whole file could describe is refused point by point.
    constexpr std::size_t kMaxPathPoints = std::size_t{1} << 24;
    if (path_.points.size() + f.points.size() > kMaxPathPoints || !growPath(f.points.size()))
        return;
    path_.points.insert(path_.points.end(), f.points.begin(), f.points.end());
    path_.counts.insert(path_.counts.end(), f.counts.begin(), f.counts.end());
    path_.closed.insert(path_.closed.end(), f.closed.begin(), f.closed.end());
}

bool Player::growPath(std::size_t more) {
    // A point and, at most, a figure of its own.
    constexpr std::int64_t kBytesPerPoint = sizeof(QPointF) + sizeof(int) + sizeof(char);
    if (pathHold_.resize(std::int64_t(path_.points.size() + more) * kBytesPerPoint)) return true;
    ledger_->refuse();
    return false;
}

void Player::drawPath(bool stroke, bool fill) {
    recording_ = false;
    prepareTarget();
    if (fill) fillFigures(path_, dc_.brush, PolygonSampling::Corners);
    if (stroke) strokeFigures(path_);
    path_ = {};
    pathHold_.resize(0);
}

void Player::selectClipPath(Combine mode) {
    recording_ = false;
    if (Clip clip = clipOfPolygons(path_); !overBudget()) combineClip(clip, mode);
    path_ = {};
    pathHold_.resize(0);
}

}  // namespace nt::mf
