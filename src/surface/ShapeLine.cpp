// Segments: the width-1 stepping line and the wide capsule.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "surface/ShapesDetail.h"

namespace nt::shapes {

namespace {

// One table of a whole period per style serves all.
constexpr int kPeriod = kDashPeriod;
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

void thinLine(RasterTarget& t, const Pen& pen, std::int64_t x0, std::int64_t y0, std::int64_t x1,
              std::int64_t y1, bool includeEnd, std::int64_t phase) {
    const PenStyle style = pen.style;
    const bool gaps = pen.gap && style != PenStyle::Solid;
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) {
        if (includeEnd && dashOn(style, phase))
            t.pixel(x0, y0, pen.pixel);
        else if (includeEnd && gaps)
            t.pixel(x0, y0, *pen.gap);
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
    RunWriter runs(t, pen.pixel), gapRuns(t, pen.gap.value_or(0));
    for (std::int64_t m = lo; m <= hi; ++m) {
        const bool on = dashOn(style, phase + std::abs(m - m0));
        if (on || gaps) {
            if (xMajor)
                (on ? runs : gapRuns).add(m, n);
            else
                t.pixel(n, m, on ? pen.pixel : *pen.gap);
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

// --- wide pens ---

void fillSpanUnion(RasterTarget& t, Pixel pixel, std::int64_t y, std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.x0 < b.x0; });
    std::size_t i = 0;
    while (i < spans.size()) {
        Span run = spans[i++];
        while (i < spans.size() && spans[i].x0 <= run.x1 + 1)
            run.x1 = std::max(run.x1, spans[i++].x1);
        t.span(y, run.x0, run.x1, pixel);
    }
}

PenDot::PenDot(int width) : w_(clampPenWidth(width)) {
    const RoundedBox box(0, 0, w_, w_, w_, w_, true);
    inset_.resize(static_cast<std::size_t>(w_));
    for (std::int64_t r = 0; r < w_; ++r) {
        std::int64_t x0, x1;
        box.span(r, x0, x1);
        inset_[static_cast<std::size_t>(r)] = x0;
    }
}

bool PenDot::rowSpan(std::int64_t x, std::int64_t y, std::int64_t py, Span& s) const {
    const std::int64_t row = py - (y - w_ / 2);
    if (row < 0 || row >= w_) return false;
    const std::int64_t boxLeft = x - w_ / 2, inset = inset_[static_cast<std::size_t>(row)];
    s = {boxLeft + inset, boxLeft + w_ - 1 - inset};
    return true;
}

namespace {

std::int64_t roundHalfUp(double v) {
    return static_cast<std::int64_t>(std::floor(v + 0.5));
}

Wide ceilDiv(Wide a, Wide b) {
    return -floorDiv(-a, b);
}

}  // namespace

WideSegment::WideSegment(const PenDot& dot, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                         std::int64_t y1)
    : dot_(dot), ax_(x0), ay_(y0), bx_(x1), by_(y1) {
    const int w = dot.width();
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    body_ = dx != 0 || dy != 0;
    if (dy == 0) {  // from the leftmost end up to (not including) the rightmost, w rows
        const std::int64_t l = std::min(x0, x1), r = std::max(x0, x1), t = y0 - w / 2;
        setCorners({l, r, r, l}, {t, t, t + w, t + w});
    } else if (dx == 0) {
        const std::int64_t t = std::min(y0, y1), b = std::max(y0, y1), l = x0 - w / 2;
        setCorners({l, l + w, l + w, l}, {t, t, b, b});
    } else {
        // The pen's extent across the line, split into a smaller and a larger rounded half;
        // which side gets which depends on the direction.
        const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
        const double acrossX = w * static_cast<double>(std::abs(dy)) / len;
        const double acrossY = w * static_cast<double>(std::abs(dx)) / len;
        std::int64_t nX = roundHalfUp(acrossX / 2), nY = roundHalfUp(acrossY / 2);
        std::int64_t mX = roundHalfUp((acrossX + 1) / 2), mY = roundHalfUp((acrossY + 1) / 2);
        if (dx < 0) {
            nY = -nY;
            mY = -mY;
        }
        if (dy < 0) {
            std::swap(nX, mX);
            std::swap(nY, mY);
            nX = -nX;
            mX = -mX;
        }
        setCorners({x0 - nX, x0 + mX, x1 + mX, x1 - nX}, {y0 + nY, y0 - mY, y1 - mY, y1 + nY});
    }
    top_ = std::min(y0, y1) - w / 2;
    bottom_ = std::max(y0, y1) - w / 2 + w - 1;
    if (body_) {
        top_ = std::min(top_, *std::min_element(qy_.begin(), qy_.end()));
        bottom_ = std::max(bottom_, *std::max_element(qy_.begin(), qy_.end()) - 1);
    }
}

void WideSegment::addRow(std::int64_t py, std::vector<Span>& out) const {
    Span s;
    if (dot_.rowSpan(ax_, ay_, py, s)) out.push_back(s);
    if (body_ && dot_.rowSpan(bx_, by_, py, s)) out.push_back(s);
    if (!body_) return;
    // The edges crossing row py (upper end included, lower excluded); convex, so two of them.
    Wide lo = 0, hi = 0;
    int crossings = 0;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        std::int64_t xa = qx_[i], ya = qy_[i], xb = qx_[j], yb = qy_[j];
        if (ya == yb) continue;
        if (ya > yb) {
            std::swap(xa, xb);
            std::swap(ya, yb);
        }
        if (py < ya || py >= yb) continue;
        const Wide x = ceilDiv(static_cast<Wide>(xb - xa) * (py - ya), yb - ya) + xa;
        lo = crossings == 0 ? x : std::min(lo, x);
        hi = crossings == 0 ? x : std::max(hi, x);
        ++crossings;
    }
    if (crossings >= 2 && lo < hi)
        out.push_back({static_cast<std::int64_t>(lo), static_cast<std::int64_t>(hi) - 1});
}

void WideSegment::fill(RasterTarget& t, Pixel pixel) const {
    const std::int64_t y0 = std::max<std::int64_t>(top_, 0);
    const std::int64_t y1 = std::min<std::int64_t>(bottom_, t.height() - 1);
    std::vector<Span> spans;
    for (std::int64_t y = y0; y <= y1; ++y) {
        spans.clear();
        addRow(y, spans);
        fillSpanUnion(t, pixel, y, spans);
    }
}

}  // namespace nt::shapes
