#include "mainwindow/ViewZoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace nt {
namespace {

// Each level as screen pixels over picture pixels.
struct Ratio {
    int screen;
    int picture;
};
constexpr std::array<Ratio, ViewZoom::kLevelCount> kLevels{{{1, 8},
                                                            {1, 4},
                                                            {1, 2},
                                                            {1, 1},
                                                            {2, 1},
                                                            {3, 1},
                                                            {4, 1},
                                                            {6, 1},
                                                            {8, 1},
                                                            {12, 1},
                                                            {16, 1},
                                                            {24, 1},
                                                            {32, 1}}};

Ratio ratio(int level) {
    return kLevels[static_cast<size_t>(level)];
}

long long floorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long long ceilDiv(long long a, long long b) {
    return -floorDiv(-a, b);
}

int clampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -(1LL << 30), 1LL << 30));
}

// Screen pixels of a picture length (ceiling, so a partly covered pixel shows).
long long screenLength(int level, long long picture) {
    const Ratio r = ratio(level);
    return ceilDiv(picture * r.screen, r.picture);
}

}  // namespace

bool ViewZoom::setLevel(int level) {
    level = std::clamp(level, 0, kLevelCount - 1);
    if (level == level_) return false;
    level_ = level;
    return true;
}

double ViewZoom::scale() const {
    const Ratio r = ratio(level_);
    return static_cast<double>(r.screen) / r.picture;
}

QString ViewZoom::percentText() const {
    return QString::number(scale() * 100, 'g', 4);
}

int ViewZoom::magnification() const {
    return ratio(level_).screen;
}

int ViewZoom::reductionShift() const {
    const int p = ratio(level_).picture;
    return p == 8 ? 3 : p == 4 ? 2 : p == 2 ? 1 : 0;
}

QPointF ViewZoom::toPicture(QPointF screen) const {
    if (identity()) return screen;
    const auto one = [this](double v) {
        if (!std::isfinite(v)) return v;
        return std::floor(v / scale());
    };
    return {one(screen.x()), one(screen.y())};
}

QSize ViewZoom::toScreen(QSize picture) const {
    return {clampToInt(screenLength(level_, picture.width())),
            clampToInt(screenLength(level_, picture.height()))};
}

QRect ViewZoom::toScreen(const QRect& picture) const {
    if (identity() || picture.isEmpty()) return picture;
    const Ratio r = ratio(level_);
    const auto left = [&](long long v) { return clampToInt(floorDiv(v * r.screen, r.picture)); };
    const auto end = [&](long long v) { return clampToInt(ceilDiv(v * r.screen, r.picture)); };
    const int l = left(picture.left()), t = left(picture.top());
    const int rr = end(static_cast<long long>(picture.right()) + 1);
    const int b = end(static_cast<long long>(picture.bottom()) + 1);
    return QRect(l, t, rr - l, b - t);
}

long long ViewZoom::pictureLength(long long screen) const {
    const Ratio r = ratio(level_);
    return std::max(1LL, floorDiv(screen * r.picture, r.screen));
}

int ViewZoom::fitLevel(QSize picture, QSize room) {
    for (int level = kLevelCount - 1; level > 0; --level) {
        if (screenLength(level, picture.width()) <= room.width() &&
            screenLength(level, picture.height()) <= room.height())
            return level;
    }
    return 0;
}

}  // namespace nt
