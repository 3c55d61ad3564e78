// Wide-pen rings of ellipses and rounded boxes, row by row from the width-1 outline.
#include <algorithm>
#include <vector>

#include "surface/ShapesDetail.h"

namespace nt::shapes {

namespace {

// The runs of a width-1 outline row: left and right (the same run where the row is whole).
struct OutlineRuns {
    Span left, right;
};

OutlineRuns outlineRuns(const RoundedBox& box, std::int64_t y) {
    std::int64_t x0, x1, in0, in1;
    box.outlineRow(y, x0, x1, in0, in1);
    if (in0 > in1) return {{x0, x1}, {x0, x1}};
    return {{x0, in0 - 1}, {in1 + 1, x1}};
}

// A wide pen draws the width-1 outline's pixels as one closed wide polyline, as GDI does: a
// pen dot on every pixel and, where the outline steps diagonally, that step's segment. The
// brush fills the width-1 outline's inside, under the pen.
//
// The dots of one side (left or right) cover one run in each row, as neighbouring outline
// pixels' dots overlap, and so do the parts of a step's segment that touch its ends' dots. So
// every outline row widens its side's run in the rows its pieces reach, once, and a row costs
// the pen's height rather than the pen's height times the outline rows around it. The few
// parts of a segment that stand apart from its ends (at some widths) are kept as they are.

// A row of a piece placed on an outline pixel at the origin: the row offset and its columns.
struct PieceRow {
    std::int64_t dy;
    Span s;
};

// A diagonal step's segment from (0, 0) to (dx, 1), less what the dots at its ends (drawn
// anyway) already cover: the rows where it widens their run, and the parts apart from them.
struct StepPieces {
    std::vector<PieceRow> widen, apart;

    StepPieces(const PenDot& dot, std::int64_t dx) {
        const WideSegment segment(dot, 0, 0, dx, 1);
        std::vector<Span> pieces;
        for (std::int64_t py = segment.firstRow(); py <= segment.lastRow(); ++py) {
            pieces.clear();
            segment.addRow(py, pieces);
            Span ends{1, 0}, s;
            if (dot.rowSpan(0, 0, py, s)) ends = s;
            if (dot.rowSpan(dx, 1, py, s))  // both hold their centres, a column apart: no gap
                ends =
                    ends.x0 > ends.x1 ? s : Span{std::min(ends.x0, s.x0), std::max(ends.x1, s.x1)};
            Span run = ends;
            for (Span p : pieces) {
                if (ends.x0 <= ends.x1 && p.x0 <= ends.x1 + 1 && p.x1 + 1 >= ends.x0)
                    run = {std::min(run.x0, p.x0), std::max(run.x1, p.x1)};
                else
                    apart.push_back({py, p});
            }
            if (run.x0 < ends.x0 || run.x1 > ends.x1) widen.push_back({py, run});
        }
    }
};

// Per visible row, the run one side of the ring covers (empty while x0 > x1), and the pieces
// apart from it.
class SideRuns {
  public:
    SideRuns(std::int64_t y0, std::int64_t y1)
        : y0_(y0), rows_(static_cast<std::size_t>(y1 - y0 + 1), Span{kNone, -kNone}) {}

    // Call once every piece is in, before reading the rows top to bottom.
    void finish() {
        std::sort(apart_.begin(), apart_.end(),
                  [](const PieceRow& a, const PieceRow& b) { return a.dy < b.dy; });
    }

    // Adds row y's run and pieces to `out`.
    void row(std::int64_t y, std::vector<Span>& out) {
        const Span s = rows_[static_cast<std::size_t>(y - y0_)];
        if (s.x0 <= s.x1) out.push_back(s);
        for (; next_ < apart_.size() && apart_[next_].dy <= y; ++next_)
            if (apart_[next_].dy == y) out.push_back(apart_[next_].s);
    }

    // Widens row top + i by the outline run widened by dot[i].
    void addDot(std::int64_t top, Span run, const std::vector<Span>& dot) {
        const auto n = static_cast<std::int64_t>(rows_.size());
        const std::int64_t i0 = std::max<std::int64_t>(0, y0_ - top);
        const std::int64_t i1 = std::min(static_cast<std::int64_t>(dot.size()), n + y0_ - top);
        for (std::int64_t i = i0; i < i1; ++i) {
            Span& r = rows_[static_cast<std::size_t>(top + i - y0_)];
            const Span d = dot[static_cast<std::size_t>(i)];
            r.x0 = std::min(r.x0, run.x0 + d.x0);
            r.x1 = std::max(r.x1, run.x1 + d.x1);
        }
    }

    // Adds a step's pieces placed at (x, y).
    void addStep(std::int64_t x, std::int64_t y, const StepPieces& step) {
        for (const PieceRow& p : step.widen) {
            const std::int64_t row = y + p.dy - y0_;
            if (row < 0 || row >= static_cast<std::int64_t>(rows_.size())) continue;
            Span& r = rows_[static_cast<std::size_t>(row)];
            r.x0 = std::min(r.x0, x + p.s.x0);
            r.x1 = std::max(r.x1, x + p.s.x1);
        }
        for (const PieceRow& p : step.apart) apart_.push_back({y + p.dy, {x + p.s.x0, x + p.s.x1}});
    }

  private:
    static constexpr std::int64_t kNone = std::int64_t{1} << 62;
    std::int64_t y0_;
    std::vector<Span> rows_;
    std::vector<PieceRow> apart_;  // absolute rows in dy
    std::size_t next_ = 0;
};

class WideRing {
  public:
    explicit WideRing(int w) : WideRing(PenDot(w)) {}
    explicit WideRing(const PenDot& dot)
        : dotTop_(-(dot.width() / 2)), down_(dot, 1), downLeft_(dot, -1) {
        for (std::int64_t dy = dotTop_; dy < dotTop_ + dot.width(); ++dy) {
            Span s;
            dot.rowSpan(0, 0, dy, s);
            dot_.push_back(s);
        }
    }

    // Rows from an outline row to the farthest row its pieces reach.
    std::int64_t reach() const { return static_cast<std::int64_t>(dot_.size()) / 2 + 2; }

    // Adds the pieces of outline row r (runs) and of its step from the row above (above).
    void add(std::int64_t r, const OutlineRuns& runs, const OutlineRuns* above, SideRuns& left,
             SideRuns& right) const {
        left.addDot(r + dotTop_, runs.left, dot_);
        right.addDot(r + dotTop_, runs.right, dot_);
        if (!above) return;
        step(above->left, runs.left, r - 1, left);
        step(above->right, runs.right, r - 1, right);
    }

  private:
    // The segment between runs of rows r and r + 1 when the outline steps diagonally there.
    void step(Span upper, Span lower, std::int64_t r, SideRuns& out) const {
        if (lower.x0 == upper.x1 + 1)
            out.addStep(upper.x1, r, down_);
        else if (lower.x1 == upper.x0 - 1)
            out.addStep(upper.x0, r, downLeft_);
    }

    std::int64_t dotTop_;
    std::vector<Span> dot_;  // the dot's rows from dotTop_, centred on column 0
    StepPieces down_, downLeft_;
};

}  // namespace

void drawWideRing(RasterTarget& t, const Pen& pen, const Brush& brush, const RoundedBox& thin,
                  int w) {
    const WideRing ring(w);
    const std::int64_t reach = ring.reach();
    const std::int64_t y0 = std::max<std::int64_t>(thin.top() - reach, 0);
    const std::int64_t y1 = std::min<std::int64_t>(thin.bottom() + reach, t.height() - 1);
    if (y0 > y1) return;
    SideRuns left(y0, y1), right(y0, y1);
    const std::int64_t r0 = std::max(thin.top(), y0 - reach);
    const std::int64_t r1 = std::min(thin.bottom(), y1 + reach);
    OutlineRuns above{};
    for (std::int64_t r = r0; r <= r1; ++r) {
        const OutlineRuns runs = outlineRuns(thin, r);
        ring.add(r, runs, r > r0 ? &above : nullptr, left, right);
        above = runs;
    }
    left.finish();
    right.finish();
    std::vector<Span> spans;
    for (std::int64_t y = y0; y <= y1; ++y) {
        if (y >= thin.top() && y <= thin.bottom()) {
            std::int64_t x0, x1, in0, in1;
            thin.outlineRow(y, x0, x1, in0, in1);
            if (in0 <= in1) fillSpanWithBrush(t, brush, y, in0, in1);
        }
        spans.clear();
        left.row(y, spans);
        right.row(y, spans);
        fillSpanUnion(t, pen.pixel, y, spans);
    }
}

}  // namespace nt::shapes
