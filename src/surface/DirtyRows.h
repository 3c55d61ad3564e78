#pragma once

#include <algorithm>
#include <climits>
#include <vector>

#include <QRect>

namespace nt {

// Per-row record of the columns an operation touched: one [x0, x1] span per row.
// Costs follow the rows touched, never the surface size, so previews on a huge
// canvas stay as cheap as on a small one.
class DirtyRows {
  public:
    explicit DirtyRows(int height = 0) { reset(height); }

    void reset(int height) {
        rows_.assign(static_cast<size_t>(std::max(height, 0)), Span{});
        top_ = INT_MAX;
        bottom_ = -1;
    }
    int height() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return bottom_ < top_; }
    int top() const { return top_; }
    int bottom() const { return bottom_; }

    // Marks columns x0..x1 (inclusive) of row y; the caller has clipped them.
    void add(int y, int x0, int x1) {
        Span& s = rows_[static_cast<size_t>(y)];
        s.x0 = std::min(s.x0, x0);
        s.x1 = std::max(s.x1, x1);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }
    void addRect(const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y) add(y, r.left(), r.right());
    }
    void merge(const DirtyRows& other) {
        for (int y = other.top_; y <= other.bottom_; ++y) {
            const Span& s = other.rows_[static_cast<size_t>(y)];
            if (s.x1 >= s.x0) add(y, s.x0, s.x1);
        }
    }

    // Calls f(y, x0, x1) for every marked row, top to bottom.
    template <class F>
    void forEach(F&& f) const {
        for (int y = top_; y <= bottom_; ++y) {
            const Span& s = rows_[static_cast<size_t>(y)];
            if (s.x1 >= s.x0) f(y, s.x0, s.x1);
        }
    }
    // Calls f(y, x0, x1) for every marked span outside `keep` and forgets those, leaving
    // marked only what lies inside it.
    template <class F>
    void takeOutside(const QRect& keep, F&& f) {
        for (int y = top_; y <= bottom_; ++y) {
            Span& s = rows_[static_cast<size_t>(y)];
            if (s.x1 < s.x0) continue;
            if (y < keep.top() || y > keep.bottom()) {
                f(y, s.x0, s.x1);
                s = Span{};
                continue;
            }
            const int in0 = std::max(s.x0, keep.left()), in1 = std::min(s.x1, keep.right());
            if (in0 > in1) {
                f(y, s.x0, s.x1);
                s = Span{};
                continue;
            }
            if (s.x0 < in0) f(y, s.x0, in0 - 1);
            if (in1 < s.x1) f(y, in1 + 1, s.x1);
            s = Span{in0, in1};
        }
    }
    QRect bounds() const {
        if (empty()) return {};
        int l = INT_MAX, r = -1;
        forEach([&](int, int x0, int x1) {
            l = std::min(l, x0);
            r = std::max(r, x1);
        });
        return QRect(QPoint(l, top_), QPoint(r, bottom_));
    }
    // Forgets every mark; costs the rows that were marked.
    void clear() {
        for (int y = top_; y <= bottom_; ++y) rows_[static_cast<size_t>(y)] = Span{};
        top_ = INT_MAX;
        bottom_ = -1;
    }

  private:
    struct Span {
        int x0 = INT_MAX;
        int x1 = -1;
    };
    std::vector<Span> rows_;
    int top_ = INT_MAX;
    int bottom_ = -1;
};

}  // namespace nt
