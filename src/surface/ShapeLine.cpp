// Segments: the width-1 stepping line and the wide capsule.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "surface/ShapesDetail.h"

namespace nt::shapes {

namespace {

// Below this (doubled) magnitude the capsule tests fit in 64-bit arithmetic.
constexpr std::int64_t kSmall = std::int64_t{1} << 29;

// Every pattern's period divides 24, so one table of 24 positions per style serves all.
constexpr int kPeriod = 24;
using DashMask = std::array<bool, kPeriod>;

constexpr DashMask makeMask(std::initializer_list<int> runs) {
    DashMask m{};
    int pos = 0;
    bool on = true;
    while (pos < kPeriod) {
        for (int run : runs) {
            for (int k = 0; k < run && pos < kPeriod; ++k) m[static_cast<size_t>(pos++)] = on;
            on = !on;
        }
    }
    return m;
}

constexpr DashMask kDash = makeMask({18, 6});
constexpr DashMask kDot = makeMask({3, 3});
constexpr DashMask kDashDot = makeMask({9, 6, 3, 6});
constexpr DashMask kDashDotDot = makeMask({9, 3, 3, 3, 3, 3});

Wide floorDiv(Wide a, Wide b) {
    Wide q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}

// The minor coordinate of the pixel at major coordinate m of the ideal segment from
// (ma, na) to (ma + dm, na + dn), dm > 0: the nearest integer, halves to the smaller one.
// Working from the end with the smaller major coordinate makes A->B and B->A agree.
struct MinorAt {
    std::int64_t ma, na, dm, dn;
    std::int64_t operator()(std::int64_t m) const {
        // ceil(v - 1/2) with v = (m - ma) * dn / dm.
        const Wide num = 2 * static_cast<Wide>(m - ma) * dn - dm;
        const Wide den = 2 * static_cast<Wide>(dm);
        return na + static_cast<std::int64_t>(-floorDiv(-num, den));
    }
};

// First m in [lo, hi] where pred turns true (pred monotone false..true); hi + 1 if never.
template <class Pred>
std::int64_t firstTrue(std::int64_t lo, std::int64_t hi, Pred pred) {
    std::int64_t end = hi + 1;
    while (lo < end) {
        const std::int64_t mid = lo + (end - lo) / 2;
        if (pred(mid))
            end = mid;
        else
            lo = mid + 1;
    }
    return end;
}

// Collects the pixels of one row into spans so a shallow line writes runs, not pixels.
class RunWriter {
  public:
    RunWriter(RasterTarget& t, Pixel p) : t_(t), p_(p) {}
    ~RunWriter() { flush(); }
    void add(std::int64_t x, std::int64_t y) {
        if (open_ && y == y_ && x == x1_ + 1) {
            x1_ = x;
            return;
        }
        flush();
        open_ = true;
        y_ = y;
        x0_ = x1_ = x;
    }
    void flush() {
        if (open_) t_.span(y_, x0_, x1_, p_);
        open_ = false;
    }

  private:
    RasterTarget& t_;
    Pixel p_;
    bool open_ = false;
    std::int64_t y_ = 0, x0_ = 0, x1_ = 0;
};

}  // namespace

bool dashOn(PenStyle style, std::int64_t index) {
    const auto pos = static_cast<size_t>(index % kPeriod);
    switch (style) {
        case PenStyle::Solid:
            return true;
        case PenStyle::Dash:
            return kDash[pos];
        case PenStyle::Dot:
            return kDot[pos];
        case PenStyle::DashDot:
            return kDashDot[pos];
        case PenStyle::DashDotDot:
            return kDashDotDot[pos];
    }
    return true;
}

void thinLine(RasterTarget& t, Pixel pixel, PenStyle style, std::int64_t x0, std::int64_t y0,
              std::int64_t x1, std::int64_t y1, bool includeEnd, std::int64_t phase) {
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        if (includeEnd && dashOn(style, phase)) t.pixel(x0, y0, pixel);
        return;
    }
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const std::int64_t m1 = xMajor ? x1 : y1, n1 = xMajor ? y1 : x1;
    const std::int64_t majorSize = xMajor ? t.width() : t.height();
    const std::int64_t minorSize = xMajor ? t.height() : t.width();

    const std::int64_t step = m1 > m0 ? 1 : -1;
    const std::int64_t mLast = includeEnd ? m1 : m1 - step;
    std::int64_t lo = std::max<std::int64_t>(std::min(m0, mLast), 0);
    std::int64_t hi = std::min<std::int64_t>(std::max(m0, mLast), majorSize - 1);
    if (lo > hi) return;

    const MinorAt minor =
        m0 < m1 ? MinorAt{m0, n0, m1 - m0, n1 - n0} : MinorAt{m1, n1, m0 - m1, n0 - n1};
    // The minor coordinate is monotone, so the visible part is one range of m.
    if (minor.dn >= 0) {
        lo = firstTrue(lo, hi, [&](std::int64_t m) { return minor(m) >= 0; });
        hi = firstTrue(lo, hi, [&](std::int64_t m) { return minor(m) >= minorSize; }) - 1;
    } else {
        lo = firstTrue(lo, hi, [&](std::int64_t m) { return minor(m) < minorSize; });
        hi = firstTrue(lo, hi, [&](std::int64_t m) { return minor(m) < 0; }) - 1;
    }

    // Step the exact quotient: minor = n + ceil(num / den), kept as num = q * den - rem.
    const Wide den = 2 * static_cast<Wide>(minor.dm);
    const Wide num = 2 * static_cast<Wide>(lo - minor.ma) * minor.dn - minor.dm;
    std::int64_t n = minor(lo);
    auto rem = static_cast<std::int64_t>(static_cast<Wide>(n - minor.na) * den - num);
    const auto den64 = static_cast<std::int64_t>(den);
    const std::int64_t inc = 2 * minor.dn;  // |inc| <= den, so one correction per step
    RunWriter runs(t, pixel);
    for (std::int64_t m = lo; m <= hi; ++m) {
        if (dashOn(style, phase + std::abs(m - m0))) {
            if (xMajor)
                runs.add(m, n);
            else
                t.pixel(n, m, pixel);
        }
        rem -= inc;
        if (rem < 0) {
            ++n;
            rem += den64;
        } else if (rem >= den64) {
            --n;
            rem -= den64;
        }
    }
}

// --- Capsule ---

Capsule::Capsule(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int width)
    : w_(clampPenWidth(width)) {
    const std::int64_t shift = w_ % 2 == 0 ? 1 : 0;
    ax2_ = 2 * x0 - shift;
    ay2_ = 2 * y0 - shift;
    bx2_ = 2 * x1 - shift;
    by2_ = 2 * y1 - shift;
    dx_ = (bx2_ - ax2_) / 2.0;
    dy_ = (by2_ - ay2_) / 2.0;
    len2_ = dx_ * dx_ + dy_ * dy_;
    len_ = std::sqrt(len2_);
    small_ = std::max({std::abs(ax2_), std::abs(ay2_), std::abs(bx2_), std::abs(by2_)}) < kSmall;
}

namespace {

// Distance test in doubled units: V = P - A, E = P - B, D = B - A, radius w. T is 64-bit
// when every magnitude stays below 2^31 (the common case, much faster) and Wide otherwise.
template <class T>
bool withinCapsule(T vx, T vy, T ex, T ey, T dx, T dy, int w) {
    const T r2 = static_cast<T>(w) * w;
    const T dot = vx * dx + vy * dy;
    if (dot <= 0) return vx * vx + vy * vy < r2;
    const T len2 = dx * dx + dy * dy;
    if (dot >= len2) return ex * ex + ey * ey < r2;
    Wide cross = static_cast<Wide>(vx * dy - vy * dx);
    if (cross < 0) cross = -cross;
    // |D| < 2^34, so beyond w * 2^34 the point is far out; below it the square fits.
    if (cross >= (static_cast<Wide>(w) << 34)) return false;
    return cross * cross < static_cast<Wide>(r2) * len2;
}

}  // namespace

bool Capsule::contains(std::int64_t px, std::int64_t py) const {
    auto small = [&](std::int64_t v) { return v > -kSmall && v < kSmall; };
    if (small_ && small(px) && small(py)) {
        return withinCapsule<std::int64_t>(2 * px - ax2_, 2 * py - ay2_, 2 * px - bx2_,
                                           2 * py - by2_, bx2_ - ax2_, by2_ - ay2_, w_);
    }
    const Wide x2 = 2 * static_cast<Wide>(px), y2 = 2 * static_cast<Wide>(py);
    return withinCapsule<Wide>(x2 - ax2_, y2 - ay2_, x2 - bx2_, y2 - by2_, Wide{bx2_} - ax2_,
                               Wide{by2_} - ay2_, w_);
}

std::int64_t Capsule::firstRow() const {
    return static_cast<std::int64_t>(floorDiv(std::min(ay2_, by2_) - w_, 2));
}

std::int64_t Capsule::lastRow() const {
    return static_cast<std::int64_t>(-floorDiv(-(std::max(ay2_, by2_) + w_), 2));
}

void Capsule::estimateRow(double py, double& lo, double& hi) const {
    const double ax = ax2_ / 2.0, ay = ay2_ / 2.0, r = w_ / 2.0;
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    auto disc = [&](double cx, double cy) {
        const double d = py - cy;
        if (std::fabs(d) >= r) return;
        const double h = std::sqrt(r * r - d * d);
        lo = std::min(lo, cx - h);
        hi = std::max(hi, cx + h);
    };
    disc(ax, ay);
    disc(bx2_ / 2.0, by2_ / 2.0);

    // The band between the caps: along the segment within [0, L], across it within r.
    const double dx = dx_, dy = dy_, len2 = len2_, len = len_, q = py - ay;
    if (len2 == 0) return;
    double xl = -std::numeric_limits<double>::infinity(), xh = -xl;
    auto clip = [&](double a, double b) {
        xl = std::max(xl, std::min(a, b));
        xh = std::min(xh, std::max(a, b));
    };
    if (dx != 0)
        clip(-q * dy / dx, (len2 - q * dy) / dx);
    else if (q * dy < 0 || q * dy > len2)
        return;
    if (dy != 0)
        clip((q * dx - r * len) / dy, (q * dx + r * len) / dy);
    else if (std::fabs(q * dx) >= r * len)
        return;
    if (xl > xh) return;
    lo = std::min(lo, ax + xl);
    hi = std::max(hi, ax + xh);
}

bool Capsule::rowSpan(std::int64_t py, std::int64_t clipL, std::int64_t clipR, std::int64_t& x0,
                      std::int64_t& x1) const {
    double lo, hi;
    estimateRow(static_cast<double>(py), lo, hi);
    if (!(lo <= hi)) return false;
    constexpr double kFar = 1e12;  // far beyond any coordinate, still exact as an integer
    std::int64_t a = static_cast<std::int64_t>(std::floor(std::clamp(lo, -kFar, kFar))) + 1;
    std::int64_t b = static_cast<std::int64_t>(std::ceil(std::clamp(hi, -kFar, kFar))) - 1;
    if (a > b) {
        // A row grazing the outline: the estimate is within a pixel, look there.
        bool found = false;
        for (std::int64_t c = b - 1; c <= a + 1 && !found; ++c) {
            if (contains(c, py)) {
                a = b = c;
                found = true;
            }
        }
        if (!found) return false;
    }
    // The estimate is off by a pixel at most; settle the ends that can show exactly.
    constexpr std::int64_t kNear = 3;
    constexpr int kSteps = 4;
    if (a >= clipL - kNear && a <= clipR + kNear) {
        for (int k = 0; k < kSteps && contains(a - 1, py); ++k) --a;
        for (int k = 0; k < kSteps && a <= b && !contains(a, py); ++k) ++a;
    }
    if (b >= clipL - kNear && b <= clipR + kNear) {
        for (int k = 0; k < kSteps && contains(b + 1, py); ++k) ++b;
        for (int k = 0; k < kSteps && b >= a && !contains(b, py); ++k) --b;
    }
    x0 = std::max(a, clipL);
    x1 = std::min(b, clipR);
    return x0 <= x1;
}

void Capsule::fill(RasterTarget& t, Pixel pixel) const {
    const std::int64_t y0 = std::max<std::int64_t>(firstRow(), 0);
    const std::int64_t y1 = std::min<std::int64_t>(lastRow(), t.height() - 1);
    std::int64_t a, b;
    for (std::int64_t y = y0; y <= y1; ++y) {
        if (rowSpan(y, 0, t.width() - 1, a, b)) t.span(y, a, b, pixel);
    }
}

}  // namespace nt::shapes
