// Lines, dots, boxes, ellipses and rounded boxes, pixel by pixel.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "surface/Rounding.h"
#include "surface/Shapes.h"
#include "surface/ShapesDetail.h"

using namespace nt;

namespace {

constexpr Pixel kBack = 0xFFFFFFFFu;
constexpr Pixel kInk = 0xFF000000u;
constexpr Pixel kPaint = 0xFF00FF00u;
constexpr std::int64_t kBig = 1000000000;

using Points = std::set<std::pair<int, int>>;

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBack);
    return image;
}

struct Canvas {
    QImage image;
    DirtyRows dirty;
    RasterTarget target;

    Canvas(int w, int h) : image(blank(w, h)), dirty(h), target(image, &dirty) {}
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Pixel at(int x, int y) const {
        return reinterpret_cast<const Pixel*>(image.constScanLine(y))[x];
    }
    // '#' pen, 'o' brush, '.' untouched; rows end with '\n'.
    std::string text() const {
        std::string s;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                s += at(x, y) == kBack ? '.' : (at(x, y) == kInk ? '#' : 'o');
            s += '\n';
        }
        return s;
    }
    Points with(Pixel p) const {
        Points pts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (at(x, y) == p) pts.insert({x, y});
        return pts;
    }
};

Pen pen(int width = 1, PenStyle style = PenStyle::Solid) {
    return Pen{kInk, width, style};
}

// A picture written as a raw string starting on the line after its opening quote.
std::string picture(const char* raw) {
    return std::string(raw + 1);
}

template <class Draw>
std::string drawn(int w, int h, Draw draw) {
    Canvas c(w, h);
    draw(c.target);
    return c.text();
}

bool rowHasInk(const Canvas& c, int y) {
    for (int x = 0; x < c.image.width(); ++x)
        if (c.at(x, y) == kInk) return true;
    return false;
}

bool eightConnected(const Points& pts) {
    if (pts.empty()) return true;
    Points seen{*pts.begin()};
    std::vector<std::pair<int, int>> todo{*pts.begin()};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (pts.count({x + dx, y + dy}) && seen.insert({x + dx, y + dy}).second)
                    todo.push_back({x + dx, y + dy});
    }
    return seen.size() == pts.size();
}

// Every changed pixel lies in its row's recorded span, and each recorded span is tight.
void expectDirtyRowsMatch(const Canvas& c) {
    for (int y = 0; y < c.image.height(); ++y) {
        int lo = -1, hi = -1;
        for (int x = 0; x < c.image.width(); ++x)
            if (c.at(x, y) != kBack) {
                if (lo < 0) lo = x;
                hi = x;
            }
        int m0 = -1, m1 = -1;
        c.dirty.forEach([&](int row, int x0, int x1) {
            if (row == y) {
                m0 = x0;
                m1 = x1;
            }
        });
        EXPECT_EQ(m0, lo) << "row " << y;
        EXPECT_EQ(m1, hi) << "row " << y;
    }
}

}  // namespace

// --- width-1 lines ---

TEST(ThinLine, StepsAlongTheMajorAxisWithoutTheEndPoint) {
    EXPECT_EQ(drawn(16, 7, [](RasterTarget& t) { drawLine(t, pen(), 1, 1, 12, 5); }), picture(R"(
................
.##.............
...###..........
......##........
........###.....
...........#....
................
)"));
    // Reversed: the same pixels but the start is drawn and the other end is not.
    EXPECT_EQ(drawn(16, 7, [](RasterTarget& t) { drawLine(t, pen(), 12, 5, 1, 1); }), picture(R"(
................
..#.............
...###..........
......##........
........###.....
...........##...
................
)"));
}

TEST(ThinLine, HalfPixelTiesGoToTheSmallerCoordinate) {
    const struct {
        int x0, y0, x1, y1;
        Points expected;
    } rows[] = {
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {4, 2, 0, 0, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {0, 2, 4, 0, {{0, 2}, {1, 1}, {2, 1}, {3, 0}}},
        {0, 0, 2, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {2, 4, 0, 0, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
    };
    for (const auto& r : rows) {
        Canvas c(6, 6);
        drawLine(c.target, pen(), r.x0, r.y0, r.x1, r.y1);
        EXPECT_EQ(c.with(kInk), r.expected) << r.x0 << "," << r.y0 << "->" << r.x1 << "," << r.y1;
    }
}

TEST(ThinLine, BothDirectionsCoverTheSamePixelsButTheEnds) {
    for (int x1 = 0; x1 < 9; ++x1) {
        for (int y1 = 0; y1 < 9; ++y1) {
            const int x0 = 4, y0 = 3;
            Canvas ab(12, 12), ba(12, 12);
            drawLine(ab.target, pen(), x0, y0, x1, y1);
            drawLine(ba.target, pen(), x1, y1, x0, y0);
            Points a = ab.with(kInk), b = ba.with(kInk);
            const auto steps = static_cast<size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)));
            ASSERT_EQ(a.size(), steps) << x1 << "," << y1;  // one pixel per major step
            if (steps == 0) continue;
            EXPECT_TRUE(a.count({x0, y0}) && !a.count({x1, y1}));
            a.insert({x1, y1});
            b.insert({x0, y0});
            EXPECT_EQ(a, b) << x1 << "," << y1;
            EXPECT_TRUE(eightConnected(a));
        }
    }
}

TEST(ThinLine, LongLinesFollowTheRoundingRuleExactly) {
    __extension__ typedef __int128 Wide;
    const std::int64_t rows[][4] = {{-1000003, -17, 999997, 40}, {-kBig, 5, kBig, 40},
                                    {63, 47, -37, -13},          {-5, 100, 70, -80},
                                    {3, -kBig, 60, kBig},        {kBig, 47, -kBig, 2}};
    for (const auto& r : rows) {
        Canvas c(64, 48);
        drawLine(c.target, pen(), r[0], r[1], r[2], r[3]);
        const bool xMajor = std::abs(r[2] - r[0]) >= std::abs(r[3] - r[1]);
        const int mi = xMajor ? 0 : 1, ni = 1 - mi, size = xMajor ? 64 : 48;
        // Nearest minor to the ideal line, ties to the smaller: ceil((2 n dm - dm) / 2 dm).
        const std::int64_t m0 = r[mi], n0 = r[ni], dm = r[mi + 2] - m0, dn = r[ni + 2] - n0;
        Points expected;
        for (std::int64_t m = 0; m < size; ++m) {
            if (m == r[mi + 2] || (m - m0) * (dm > 0 ? 1 : -1) < 0 ||
                std::abs(m - m0) > std::abs(dm))
                continue;
            const Wide num = 2 * (static_cast<Wide>(n0) * dm + static_cast<Wide>(m - m0) * dn) - dm;
            const Wide den = 2 * static_cast<Wide>(dm);
            Wide q = num / den;  // ceiling division for either sign of den
            if (num % den != 0 && ((num < 0) == (den < 0))) ++q;
            const auto n = static_cast<std::int64_t>(q);
            if (n >= 0 && n < (xMajor ? 48 : 64))
                expected.insert(xMajor ? std::pair<int, int>(m, n) : std::pair<int, int>(n, m));
        }
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(c.with(kInk), expected) << r[0] << "," << r[1] << " -> " << r[2] << "," << r[3];
    }
}

TEST(ThinLine, DashesCountFromTheStartAlongTheMajorAxis) {
    const struct {
        PenStyle style;
        const char* pattern;  // 30 pixels from the start
    } rows[] = {
        {PenStyle::Dash, "##################......######"},
        {PenStyle::Dot, "###...###...###...###...###..."},
        {PenStyle::DashDot, "#########......###......######"},
        {PenStyle::DashDotDot, "#########...###...###...######"},
    };
    for (const auto& r : rows) {
        const std::string forward = std::string(".") + r.pattern + "..\n";
        EXPECT_EQ(drawn(33, 1, [&](RasterTarget& t) { drawLine(t, pen(1, r.style), 1, 0, 31, 0); }),
                  forward);
        const std::string backward(forward.rbegin() + 1, forward.rend());
        EXPECT_EQ(drawn(33, 1, [&](RasterTarget& t) { drawLine(t, pen(1, r.style), 31, 0, 1, 0); }),
                  backward + '\n');
        // A steep line counts rows, whatever its horizontal drift.
        Canvas c(40, 40);
        drawLine(c.target, pen(1, r.style), 3, 1, 12, 31);
        for (int y = 1; y <= 30; ++y)
            EXPECT_EQ(rowHasInk(c, y), r.pattern[y - 1] == '#')
                << static_cast<int>(r.style) << " row " << y;
    }
}

TEST(ThinLine, PatternRestartsAtEverySegment) {
    Canvas c(20, 1);
    drawLine(c.target, pen(1, PenStyle::Dot), 0, 0, 5, 0);
    drawLine(c.target, pen(1, PenStyle::Dot), 5, 0, 10, 0);
    EXPECT_EQ(c.text(), "###..###............\n");
}

TEST(ThinLine, ZeroLengthDrawsNothing) {
    Canvas c(5, 5);
    drawLine(c.target, pen(), 2, 2, 2, 2);
    EXPECT_TRUE(c.with(kInk).empty());
    EXPECT_TRUE(c.dirty.empty());
}

// --- wide lines and dots ---

TEST(WideLine, CrossSectionFollowsTheWidthRule) {
    for (int w = 2; w <= 5; ++w) {
        Canvas h(30, 30), v(30, 30);
        drawLine(h.target, pen(w), 8, 15, 20, 15);
        drawLine(v.target, pen(w), 15, 8, 15, 20);
        for (int k = 0; k < 30; ++k) {
            const bool in = k >= 15 - w / 2 && k <= 15 + (w - 1) / 2;
            EXPECT_EQ(h.at(14, k) == kInk, in) << "w " << w << " row " << k;
            EXPECT_EQ(v.at(k, 14) == kInk, in) << "w " << w << " column " << k;
        }
        EXPECT_EQ(h.at(20, 15), kInk) << "the end point is part of a wide line";
        EXPECT_EQ(h.at(20 + (w + 1) / 2, 15), kBack) << "w " << w;
    }
}

TEST(WideLine, CapsAreRound) {
    EXPECT_EQ(drawn(9, 9, [](RasterTarget& t) { drawDot(t, pen(5), 4, 4); }), picture(R"(
.........
.........
...###...
..#####..
..#####..
..#####..
...###...
.........
.........
)"));
    EXPECT_EQ(drawn(8, 8, [](RasterTarget& t) { drawDot(t, pen(4), 4, 4); }), picture(R"(
........
........
...##...
..####..
..####..
...##...
........
........
)"));
    // A horizontal segment of width 5: the cap rounds the outer rows one pixel in.
    Canvas c(20, 10);
    drawLine(c.target, pen(5), 5, 5, 12, 5);
    EXPECT_EQ(c.at(2, 5), kBack);
    EXPECT_EQ(c.at(3, 5), kInk);
    EXPECT_EQ(c.at(14, 5), kInk);
    EXPECT_EQ(c.at(15, 5), kBack);
    EXPECT_EQ(c.at(3, 3), kBack);
    EXPECT_EQ(c.at(4, 3), kInk);
    EXPECT_EQ(c.at(13, 7), kInk);
    EXPECT_EQ(c.at(14, 7), kBack);
}

TEST(WideLine, DotsAreGdisRoundEnds) {
    // A wide pen's dot (and the end of every wide line) is the filled width-1 ellipse of a
    // w x w box: a 2 x 2 square, a plus at width 3, no disc. Pixels from GDI.
    struct Case {
        int w, size;
        const char* picture;
    };
    const Case cases[] = {{2, 5, R"(
.....
.##..
.##..
.....
.....
)"},
                          {3, 5, R"(
.....
..#..
.###.
..#..
.....
)"},
                          {9, 11, R"(
...........
....###....
..#######..
..#######..
.#########.
.#########.
.#########.
..#######..
..#######..
....###....
...........
)"}};
    for (const Case& c : cases) {
        const int mid = c.size / 2;
        EXPECT_EQ(drawn(c.size, c.size, [&](RasterTarget& t) { drawDot(t, pen(c.w), mid, mid); }),
                  picture(c.picture))
            << "w " << c.w;
    }
}

TEST(WideLine, DiagonalsFollowGdisOutline) {
    // Round ends as the dots, and between them GDI's quadrilateral with rounded half widths,
    // so the outline is not symmetric about the line (and may leave a notch at an end).
    EXPECT_EQ(drawn(12, 10, [](RasterTarget& t) { drawLine(t, pen(3), 2, 2, 9, 7); }), picture(R"(
............
..###.......
.#####......
.#######....
...######...
....######..
......####..
.......####.
.........#..
............
)"));
    EXPECT_EQ(drawn(14, 12, [](RasterTarget& t) { drawLine(t, pen(4), 10, 2, 3, 9); }), picture(R"(
.........##...
........####..
........####..
.......####...
......######..
.....######...
....######....
..#######.....
.#######......
.######.......
..####........
..............
)"));
    EXPECT_EQ(drawn(14, 14, [](RasterTarget& t) { drawLine(t, pen(6), 3, 10, 10, 3); }), picture(R"(
.........##...
........####..
.......######.
......#######.
.....#######..
....########..
...##########.
..##########..
.##########...
##########....
#########.....
.#######......
..##.##.......
..............
)"));
}

TEST(WideLine, LongSegmentsKeepTheShapeOfShortOnes) {
    // Stretching a segment along its own direction keeps its outline away from the ends, also
    // when the ends move out to the coordinate limit (exact arithmetic on the long path).
    std::mt19937_64 rng(20240601);
    auto any = [&](int range) { return static_cast<int>(rng() % (2 * range + 1)) - range; };
    for (int i = 0; i < 300; ++i) {
        const std::int64_t ux = any(30), uy = any(30);
        if (ux == 0 && uy == 0) continue;
        const std::int64_t cx = 32 + any(8), cy = 24 + any(8);
        const int w = 2 + static_cast<int>(rng() % 20);
        const std::int64_t reach = (kCoordLimit - 100) / std::max(std::abs(ux), std::abs(uy));
        const std::int64_t back = i % 2 ? reach : std::abs(any(1000)) + 200;
        const auto shortOne = drawn(64, 48, [&](RasterTarget& t) {
            drawLine(t, pen(w), cx - 200 * ux, cy - 200 * uy, cx + 200 * ux, cy + 200 * uy);
        });
        const auto longOne = drawn(64, 48, [&](RasterTarget& t) {
            drawLine(t, pen(w), cx - back * ux, cy - back * uy, cx + reach * ux, cy + reach * uy);
        });
        ASSERT_EQ(longOne, shortOne) << i << ": " << ux << "," << uy << " w " << w;
        EXPECT_NE(shortOne.find('#'), std::string::npos);
    }
}

TEST(WideLine, DotIsAZeroLengthLineAndStylesAreSolid) {
    for (int w = 1; w <= 9; ++w) {
        const auto dot = drawn(24, 24, [&](RasterTarget& t) { drawDot(t, pen(w), 11, 12); });
        const auto line =
            drawn(24, 24, [&](RasterTarget& t) { drawLine(t, pen(w), 11, 12, 11, 12); });
        if (w == 1) {
            EXPECT_EQ(dot.find('#'), 12u * 25 + 11);
            EXPECT_EQ(std::count(dot.begin(), dot.end(), '#'), 1);
            EXPECT_EQ(line.find('#'), std::string::npos);
        } else {
            EXPECT_EQ(dot, line) << "w " << w;
            const auto dashed = drawn(40, 40, [&](RasterTarget& t) {
                drawLine(t, pen(w, PenStyle::DashDot), 2, 3, 37, 30);
            });
            EXPECT_EQ(dashed,
                      drawn(40, 40, [&](RasterTarget& t) { drawLine(t, pen(w), 2, 3, 37, 30); }));
        }
    }
}

TEST(WideLine, WidthIsClampedToOneToHundred) {
    EXPECT_EQ(drawn(9, 9, [](RasterTarget& t) { drawLine(t, pen(0), 1, 1, 7, 4); }),
              drawn(9, 9, [](RasterTarget& t) { drawLine(t, pen(1), 1, 1, 7, 4); }));
    EXPECT_EQ(drawn(9, 9, [](RasterTarget& t) { drawLine(t, pen(-7), 1, 1, 7, 4); }),
              drawn(9, 9, [](RasterTarget& t) { drawLine(t, pen(1), 1, 1, 7, 4); }));
    const auto huge = drawn(130, 130, [](RasterTarget& t) { drawDot(t, pen(1000), 64, 64); });
    EXPECT_EQ(huge, drawn(130, 130, [](RasterTarget& t) { drawDot(t, pen(100), 64, 64); }));
    EXPECT_GT(std::count(huge.begin(), huge.end(), '#'), 7000);
}

TEST(WideLine, AMixingModeCombinesEachPixelOfAPolylineOnce) {
    // Where segments meet or cross, an XOR pen must not undo itself: the mixed picture is the
    // plain one's pixels, each combined once.
    const std::vector<std::vector<std::int64_t>> lines = {
        {3, 3, 20, 16, 24, 4, 6, 18}, {4, 4, 30, 4, 30, 20, 4, 20}, {5, 20, 17, 3, 29, 20}};
    for (const bool closed : {false, true}) {
        for (const auto& xy : lines) {
            for (const int w : {2, 3, 5, 8}) {
                std::string plain =
                    drawn(36, 26, [&](RasterTarget& t) { drawSegments(t, pen(w), xy, closed); });
                std::replace(plain.begin(), plain.end(), '#', 'o');
                const auto mixed = drawn(36, 26, [&](RasterTarget& t) {
                    t.setRop2(7);
                    drawSegments(t, Pen{kPaint, w}, xy, closed);
                });
                EXPECT_EQ(mixed, plain) << "w " << w << (closed ? " closed" : "") << "\n" << mixed;
            }
        }
    }
}

// --- boxes ---

TEST(Box, OutlineIncludesBothCornersWhicheverWayItIsDragged) {
    const auto expected = picture(R"(
...........
...........
...#######.
...#.....#.
...#.....#.
...#.....#.
...#######.
...........
)");
    const int corners[4][4] = {{3, 2, 9, 6}, {9, 6, 3, 2}, {3, 6, 9, 2}, {9, 2, 3, 6}};
    for (const auto& k : corners) {
        EXPECT_EQ(drawn(11, 8,
                        [&](RasterTarget& t) { drawBoxOutline(t, pen(), k[0], k[1], k[2], k[3]); }),
                  expected);
        const auto dashed = [&](int a, int b, int c, int d) {
            return drawn(50, 30, [&](RasterTarget& t) {
                drawBoxOutline(t, pen(1, PenStyle::Dash), a, b, c, d);
            });
        };
        EXPECT_EQ(dashed(k[0] * 4, k[1] * 4, k[2] * 4, k[3] * 4), dashed(12, 8, 36, 24));
    }
}

TEST(Box, DashesRunOnAroundTheOutlineFromTheTopRight) {
    // Pixels of GDI's Rectangle (drawn with Wine): one pattern step per outline pixel,
    // anticlockwise from the top-right corner going left, continuing around the corners.
    EXPECT_EQ(drawn(14, 12,
                    [](RasterTarget& t) { drawBoxOutline(t, pen(1, PenStyle::Dot), 2, 2, 11, 9); }),
              picture(R"(
..............
..............
...###...###..
...........#..
...........#..
..#...........
..#...........
..#...........
...........#..
....###...##..
..............
..............
)"));
    EXPECT_EQ(drawn(14, 12,
                    [](RasterTarget& t) {
                        drawBoxOutline(t, pen(1, PenStyle::DashDotDot), 11, 9, 2, 2);
                    }),
              picture(R"(
..............
..............
...#########..
...........#..
...........#..
..#........#..
..#........#..
..#........#..
...........#..
....###...##..
..............
..............
)"));
    // A flat box is walked there and back: the way back fills the gaps of the way there.
    EXPECT_EQ(drawn(34, 1,
                    [](RasterTarget& t) { drawBoxOutline(t, pen(1, PenStyle::Dot), 2, 0, 31, 0); }),
              "...#####.#####.#####.#####.#####..\n");
    // The one-point box keeps its pixel (GDI would draw nothing there).
    EXPECT_EQ(
        drawn(3, 1, [](RasterTarget& t) { drawBoxOutline(t, pen(1, PenStyle::Dash), 1, 0, 1, 0); }),
        ".#.\n");
}

TEST(Box, DegenerateBoxesKeepTheirEnds) {
    EXPECT_EQ(drawn(4, 3, [](RasterTarget& t) { drawBoxOutline(t, pen(), 2, 1, 2, 1); }),
              picture(R"(
....
..#.
....
)"));
    EXPECT_EQ(drawn(4, 5, [](RasterTarget& t) { drawBoxOutline(t, pen(), 1, 3, 1, 0); }),
              picture(R"(
.#..
.#..
.#..
.#..
....
)"));
    EXPECT_EQ(drawn(4, 3, [](RasterTarget& t) { drawFilledBox(t, pen(), 2, 1, 2, 1); }), picture(R"(
....
..#.
....
)"));
}

TEST(Rectangle, OutlineLeavesRightAndBottomOutAndAOnePixelBoxIsEmpty) {
    // Pixels of GDI's Rectangle (drawn with Wine): the brush under the outline, right and
    // bottom exclusive; 1 x 1 with a width-1 pen has no outline and no inside.
    const Brush red = Brush::solid(kPaint);
    EXPECT_EQ(drawn(8, 7, [&](RasterTarget& t) { drawRectangle(t, pen(), red, 6, 5, 2, 1); }),
              picture(R"(
........
..####..
..#oo#..
..#oo#..
..####..
........
........
)"));
    EXPECT_EQ(drawn(4, 4, [&](RasterTarget& t) { drawRectangle(t, pen(), red, 1, 1, 2, 2); }),
              picture(R"(
....
....
....
....
)"));
    EXPECT_EQ(drawn(4, 4, [&](RasterTarget& t) { drawRectangle(t, pen(), red, 1, 1, 2, 4); }),
              picture(R"(
....
.#..
.#..
.#..
)"));
    // A wider pen still draws its dot there, as a one-point box does.
    EXPECT_EQ(drawn(4, 4, [&](RasterTarget& t) { drawRectangle(t, pen(2), red, 2, 2, 3, 3); }),
              drawn(4, 4, [&](RasterTarget& t) { drawBoxOutline(t, pen(2), 2, 2, 2, 2); }));
}

TEST(Box, WideOutlineHasRoundJoins) {
    Canvas c(16, 13);
    drawBoxOutline(c.target, pen(4), 12, 9, 3, 2);
    const Points ink = c.with(kInk);
    // The cross-section of each side: l - 2 .. r + 1, t - 2 .. b + 1.
    EXPECT_EQ(ink.begin()->first, 1);
    EXPECT_EQ(ink.rbegin()->first, 13);
    EXPECT_EQ(c.at(1, 0), kBack);  // the outer corners are rounded off
    EXPECT_EQ(c.at(1, 1), kInk);
    EXPECT_EQ(c.at(2, 0), kInk);
    EXPECT_EQ(c.at(13, 10), kBack);
    EXPECT_EQ(c.at(13, 9), kInk);
    EXPECT_EQ(c.at(12, 10), kInk);
    EXPECT_EQ(c.at(7, 5), kBack);  // the middle stays open
    EXPECT_EQ(c.at(5, 5), kBack);
    EXPECT_EQ(c.at(4, 5), kInk);
}

TEST(Box, FilledBoxUsesThePenAndAddsTheWideOutline) {
    EXPECT_EQ(drawn(6, 5, [](RasterTarget& t) { drawFilledBox(t, pen(), 4, 3, 1, 1); }), picture(R"(
......
.####.
.####.
.####.
......
)"));
    Canvas c(14, 12);
    drawFilledBox(c.target, pen(3), 9, 8, 3, 3);
    Points expected;
    for (int y = 2; y <= 9; ++y)
        for (int x = 2; x <= 10; ++x)
            if ((x != 2 && x != 10) || (y != 2 && y != 9)) expected.insert({x, y});
    EXPECT_EQ(c.with(kInk), expected);  // width 3 joins are pluses, so the corners stay off
}

// --- ellipses and rounded boxes ---

TEST(Ellipse, PinnedPicture) {
    EXPECT_EQ(
        drawn(17, 10,
              [](RasterTarget& t) { drawEllipse(t, pen(), Brush::solid(kPaint), 1, 1, 15, 9); }),
        picture(R"(
.................
.....######......
...##oooooo##....
..#oooooooooo#...
.#oooooooooooo#..
.#oooooooooooo#..
..#oooooooooo#...
...##oooooo##....
.....######......
.................
)"));
}

TEST(Ellipse, OutlineStaysInTheBoxAndTheBrushStrictlyInside) {
    for (int w = 1; w <= 14; ++w) {
        for (int h = 1; h <= 14; ++h) {
            const int l = 2, t = 3, r = l + w, b = t + h;
            auto draw = [&](int x0, int y0, int x1, int y1) {
                return drawn(w + 5, h + 6, [&](RasterTarget& target) {
                    drawEllipse(target, pen(), Brush::solid(kPaint), x0, y0, x1, y1);
                });
            };
            Canvas c(w + 5, h + 6);
            drawEllipse(c.target, pen(), Brush::solid(kPaint), l, t, r, b);
            const std::string text = c.text();
            if (w == 1 && h == 1) {  // GDI draws nothing for a one-pixel ellipse
                EXPECT_TRUE(c.dirty.empty());
                continue;
            }
            for (const auto& other : {draw(r, t, l, b), draw(l, b, r, t), draw(r, b, l, t)})
                EXPECT_EQ(other, text) << w << "x" << h;
            const Points ink = c.with(kInk), paint = c.with(kPaint);
            std::set<int> rows, cols;
            for (auto [x, y] : ink) {
                ASSERT_TRUE(x >= l && x < r && y >= t && y < b) << w << "x" << h;
                rows.insert(y);
                cols.insert(x);
                // Mirror symmetric about both axes.
                EXPECT_EQ(c.at(l + r - 1 - x, y), kInk);
                EXPECT_EQ(c.at(x, t + b - 1 - y), kInk);
                // Each outline pixel borders the outside.
                const bool edge = c.at(x - 1, y) == kBack || c.at(x + 1, y) == kBack ||
                                  c.at(x, y - 1) == kBack || c.at(x, y + 1) == kBack;
                EXPECT_TRUE(edge) << w << "x" << h << " at " << x << "," << y;
            }
            EXPECT_EQ(rows.size(), static_cast<size_t>(h)) << w << "x" << h;  // no empty row
            EXPECT_EQ(cols.size(), static_cast<size_t>(w)) << w << "x" << h;  // nor column
            EXPECT_TRUE(eightConnected(ink)) << w << "x" << h;
            for (auto [x, y] : paint) {
                for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                    EXPECT_NE(c.at(x + dx, y + dy), kBack) << w << "x" << h;
            }
        }
    }
}

TEST(Ellipse, FlatShapesKeepTheirEndColumnsLikeThinOnesKeepTheirEndRows) {
    // GDI (drawn with Wine): an ellipse or rounded box two pixels high covers its whole width,
    // as the same shape two pixels wide covers its whole height.
    const std::string flat = picture(R"(
..............
..##########..
..##########..
..............
)");
    EXPECT_EQ(
        drawn(14, 4,
              [](RasterTarget& t) { drawEllipse(t, pen(), Brush::solid(kPaint), 2, 1, 12, 3); }),
        flat);
    EXPECT_EQ(drawn(14, 4,
                    [](RasterTarget& t) {
                        drawRoundRect(t, pen(), Brush::solid(kPaint), 12, 3, 2, 1, 12, 12);
                    }),
              flat);
    for (int w = 2; w <= 40; ++w) {
        auto flatOf = [&](bool round) {
            return drawn(w + 4, 4, [&](RasterTarget& t) {
                if (round)
                    drawRoundRect(t, pen(), Brush::none(), 2, 1, 2 + w, 3, 12, 12);
                else
                    drawEllipse(t, pen(), Brush::none(), 2, 1, 2 + w, 3);
            });
        };
        const std::string row = ".." + std::string(static_cast<size_t>(w), '#') + "..\n";
        const std::string empty(static_cast<size_t>(w) + 4, '.');
        EXPECT_EQ(flatOf(false), empty + "\n" + row + row + empty + "\n") << w;
        EXPECT_EQ(flatOf(true), empty + "\n" + row + row + empty + "\n") << w;
    }
}

TEST(Ellipse, OutlineRunsThroughTheCentresOfTheOutermostPixels) {
    // Pixels of GDI's Ellipse (drawn with Wine). A 3 x 3 ellipse is a plus; 1 x 1 is nothing.
    auto ellipse = [](int size) {
        return drawn(size + 4, size + 4, [&](RasterTarget& t) {
            drawEllipse(t, pen(), Brush::solid(kPaint), 2, 2, 2 + size, 2 + size);
        });
    };
    EXPECT_EQ(ellipse(1), picture(R"(
.....
.....
.....
.....
.....
)"));
    EXPECT_EQ(ellipse(3), picture(R"(
.......
.......
...#...
..#o#..
...#...
.......
.......
)"));
    EXPECT_EQ(ellipse(6), picture(R"(
..........
..........
....##....
...#oo#...
..#oooo#..
..#oooo#..
...#oo#...
....##....
..........
..........
)"));
    EXPECT_EQ(ellipse(10), picture(R"(
..............
..............
.....####.....
....#oooo#....
...#oooooo#...
..#oooooooo#..
..#oooooooo#..
..#oooooooo#..
..#oooooooo#..
...#oooooo#...
....#oooo#....
.....####.....
..............
..............
)"));
    // The circle of radius 4 (centre (6, 6)) as the program draws it: Ellipse(2, 2, 11, 11).
    EXPECT_EQ(ellipse(9), picture(R"(
.............
.............
.....###.....
...##ooo##...
...#ooooo#...
..#ooooooo#..
..#ooooooo#..
..#ooooooo#..
...#ooooo#...
...##ooo##...
.....###.....
.............
.............
)"));
    // A tall ellipse is stepped as GDI steps it, not as the transpose of the flat one: 5 x 7
    // has a one-pixel top where 7 x 5 has a three-pixel side.
    EXPECT_EQ(
        drawn(9, 11,
              [](RasterTarget& t) { drawEllipse(t, pen(), Brush::solid(kPaint), 2, 2, 7, 9); }),
        picture(R"(
.........
.........
....#....
...#o#...
..#ooo#..
..#ooo#..
..#ooo#..
...#o#...
....#....
.........
.........
)"));
    // Tall thin ones reach the middle column before their ends and go on up it: the outline
    // touches the top and bottom of its box (where Wine's stops short).
    for (int w = 3; w <= 6; ++w) {
        for (int h = 7; h <= 40; h += 3) {
            Canvas c(w + 4, h + 4);
            drawEllipse(c.target, pen(), Brush::none(), 2, 2, 2 + w, 2 + h);
            EXPECT_TRUE(rowHasInk(c, 2)) << w << "x" << h;
            EXPECT_TRUE(rowHasInk(c, 1 + h)) << w << "x" << h;
        }
    }
}

TEST(Ellipse, DashesFollowGdisOutlineOrder) {
    // Pixels of GDI's Ellipse and RoundRect with styled pens (drawn with Wine): the pattern
    // starts on the right side at the lowest row of the top-right corner arc and runs
    // anticlockwise, one step per outline pixel.
    EXPECT_EQ(drawn(22, 19,
                    [](RasterTarget& t) {
                        drawEllipse(t, pen(1, PenStyle::DashDot), Brush::none(), 2, 2, 20, 17);
                    }),
              picture(R"(
......................
......................
.............#........
......#.......##......
.....#..........#.....
....#............#....
..................#...
...................#..
...................#..
...................#..
...................#..
...................#..
...#..............#...
....#.................
.....#................
......##..............
........####..........
......................
......................
)"));
    EXPECT_EQ(drawn(34, 24,
                    [](RasterTarget& t) {
                        drawRoundRect(t, pen(1, PenStyle::Dot), Brush::none(), 2, 2, 32, 22, 12,
                                      12);
                    }),
              picture(R"(
..................................
..................................
.......###...###...###...###......
..................................
...#..............................
...#..........................#...
..#............................#..
...............................#..
..................................
..................................
..#...............................
..#............................#..
..#............................#..
...............................#..
..................................
..................................
..#...............................
..#............................#..
...#..........................#...
..............................#...
..................................
......###...###...###...###.......
..................................
..................................
)"));
}

TEST(Ellipse, EmptyBoxDrawsNothing) {
    Canvas c(10, 10);
    drawEllipse(c.target, pen(3), Brush::solid(kPaint), 2, 2, 2, 8);
    drawEllipse(c.target, pen(), Brush::solid(kPaint), 1, 5, 9, 5);
    drawRoundRect(c.target, pen(), Brush::solid(kPaint), 1, 5, 9, 5, 12, 12);
    EXPECT_TRUE(c.dirty.empty());
}

TEST(Ellipse, WidePenIsCentredOnThePath) {
    for (int w = 2; w <= 6; ++w) {
        Canvas c(60, 45);
        drawEllipse(c.target, pen(w), Brush::solid(kPaint), 10, 10, 50, 31);
        const Points ink = c.with(kInk);
        EXPECT_EQ(ink.begin()->first, 10 - w / 2);
        EXPECT_EQ(ink.rbegin()->first, 49 + (w - 1) / 2);
        // The middle row (20) and the middle columns cross the ring as the line cross-section,
        // but at width 6 the diagonal steps of the outline next to row 20 reach one pixel
        // further in on the left (as GDI draws it).
        const int leftInner = 10 + (w - 1) / 2 + (w == 6 ? 1 : 0);
        for (int k = 0; k < 60; ++k) {
            const bool left = k >= 10 - w / 2 && k <= leftInner;
            const bool right = k >= 49 - w / 2 && k <= 49 + (w - 1) / 2;
            EXPECT_EQ(c.at(k, 20) == kInk, left || right) << "w " << w << " x " << k;
            EXPECT_EQ(c.at(k, 20) == kPaint, k > leftInner && k < 49 - w / 2);
            if (k >= 45) continue;
            const bool top = k >= 10 - w / 2 && k <= 10 + (w - 1) / 2;
            const bool bottom = k >= 30 - w / 2 && k <= 30 + (w - 1) / 2;
            EXPECT_EQ(c.at(29, k) == kInk, top || bottom) << "w " << w << " y " << k;
        }
        // Styles do not apply to wide pens.
        Canvas dashed(60, 45);
        drawEllipse(dashed.target, pen(w, PenStyle::Dot), Brush::solid(kPaint), 10, 10, 50, 31);
        EXPECT_EQ(dashed.text(), c.text());
    }
}

TEST(Ellipse, WideRingsFollowGdisOutline) {
    // The width-1 outline's pixels drawn as a closed wide polyline (dots, and segments where
    // it steps diagonally), the brush inside the width-1 outline. Pixels from GDI.
    const Brush paint = Brush::solid(kPaint);
    EXPECT_EQ(drawn(14, 12, [&](RasterTarget& t) { drawEllipse(t, pen(3), paint, 2, 2, 12, 10); }),
              picture(R"(
..............
.....######...
...##########.
.###########..
.######oo####.
.####ooooo###.
.####ooooo###.
.######oo####.
.###########..
...##########.
.....######...
..............
)"));
    EXPECT_EQ(drawn(20, 16,
                    [&](RasterTarget& t) { drawRoundRect(t, pen(4), paint, 3, 3, 17, 13, 8, 8); }),
              picture(R"(
....................
....###########.....
...##############...
..################..
.#################..
.######ooooooo####..
.#####oooooooo####..
.####ooooooooo####..
.####ooooooooo####..
.#####oooooooo####..
.#################..
..###############...
...###############..
....#############...
....................
....................
)"));
    // A one-pixel ellipse has no width-1 outline, but a wide pen still puts its dot there.
    EXPECT_EQ(drawn(5, 5, [&](RasterTarget& t) { drawEllipse(t, pen(3), paint, 2, 2, 3, 3); }),
              picture(R"(
.....
..#..
.###.
..#..
.....
)"));
}

// The ring drawn the plain way, piece by piece: the brush inside the width-1 outline, then a
// pen dot on every outline pixel and a segment on every diagonal step of either side.
void plainRing(RasterTarget& t, int w, std::int64_t left, std::int64_t top, std::int64_t width,
               std::int64_t height, std::int64_t cw, std::int64_t ch) {
    if (cw <= 2 || ch <= 2) cw = ch = 1;
    const shapes::RoundedBox box(left, top, width, height, cw, ch, true);
    const shapes::PenDot dot(w);
    std::vector<std::array<shapes::Span, 2>> runs;
    for (std::int64_t y = box.top(); y <= box.bottom(); ++y) {
        std::int64_t x0, x1, in0, in1;
        box.outlineRow(y, x0, x1, in0, in1);
        if (in0 > in1) {
            runs.push_back({shapes::Span{x0, x1}, shapes::Span{x0, x1}});
            continue;
        }
        t.span(y, in0, in1, kPaint);
        runs.push_back({shapes::Span{x0, in0 - 1}, shapes::Span{in1 + 1, x1}});
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::int64_t y = box.top() + static_cast<std::int64_t>(i);
        for (int side = 0; side < 2; ++side) {
            const shapes::Span run = runs[i][side];
            for (std::int64_t x = run.x0; x <= run.x1; ++x)
                for (std::int64_t py = y - w; py <= y + w; ++py) {
                    shapes::Span s;
                    if (dot.rowSpan(x, y, py, s)) t.span(py, s.x0, s.x1, kInk);
                }
            if (i == 0) continue;
            const shapes::Span up = runs[i - 1][side];
            if (run.x0 == up.x1 + 1)
                shapes::WideSegment(dot, up.x1, y - 1, up.x1 + 1, y).fill(t, kInk);
            else if (run.x1 == up.x0 - 1)
                shapes::WideSegment(dot, up.x0, y - 1, up.x0 - 1, y).fill(t, kInk);
        }
    }
}

TEST(Ellipse, WideRingsMatchThePlainPieceByPieceDrawing) {
    std::mt19937 rng(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 600; ++n) {
        // Every width, mostly on small shapes partly off the canvas.
        const bool large = n % 10 == 0;
        const int width = large ? pick(100, 260) : pick(1, 70);
        const int height = large ? pick(100, 200) : pick(1, 70);
        const int w = 2 + n % 99;
        const bool ellipse = n % 2 == 0;
        const int cw = ellipse ? width : pick(1, width), ch = ellipse ? height : pick(1, height);
        const int left = pick(-40, 80), top = pick(-40, 70);
        Canvas fast(120, 100), plain(120, 100);
        shapes::drawRounded(fast.target, pen(w), Brush::solid(kPaint), left, top, left + width,
                            top + height, cw, ch);
        plainRing(plain.target, w, left, top, width, height, cw, ch);
        ASSERT_TRUE(fast.image == plain.image)
            << "box " << left << "," << top << " " << width << "x" << height << " corner " << cw
            << "x" << ch << " pen " << w;
    }
}

TEST(Ellipse, DashesRunAlongTheCurveFromTheRightmostPoint) {
    Canvas solid(14, 63), dotted(14, 63);
    drawEllipse(solid.target, pen(), Brush::solid(kPaint), 1, 1, 13, 62);
    drawEllipse(dotted.target, pen(1, PenStyle::Dot), Brush::solid(kPaint), 1, 1, 13, 62);
    // Gaps are left untouched; the brush is the same.
    const Points dots = dotted.with(kInk), line = solid.with(kInk);
    for (auto p : dots) EXPECT_TRUE(line.count(p));
    EXPECT_LT(dots.size(), line.size());
    EXPECT_EQ(dotted.with(kPaint), solid.with(kPaint));
    // Up the right side from the middle row (31), where the curve is steep: 3 on, 3 off.
    const char* expected = "###...###...";
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(dotted.at(12, 31 - k) == kInk, expected[k] == '#') << "row " << 31 - k;
}

TEST(RoundRect, EqualsTheEllipseUpToTheCornerSize) {
    for (int w = 1; w <= 12; ++w) {
        for (int h = 1; h <= 12; ++h) {
            for (int pw : {1, 2, 5}) {
                for (PenStyle s : {PenStyle::Solid, PenStyle::DashDot}) {
                    auto draw = [&](bool round) {
                        return drawn(24, 24, [&](RasterTarget& t) {
                            if (round)
                                drawRoundRect(t, pen(pw, s), Brush::solid(kPaint), 5, 6, 5 + w,
                                              6 + h, 12, 12);
                            else
                                drawEllipse(t, pen(pw, s), Brush::solid(kPaint), 5, 6, 5 + w,
                                            6 + h);
                        });
                    };
                    ASSERT_EQ(draw(true), draw(false)) << w << "x" << h << " pen " << pw;
                }
            }
        }
    }
}

TEST(RoundRect, CornersAreQuadrantsOfTheCornerEllipse) {
    Canvas rr(36, 28), tl(36, 28), br(36, 28);
    const Brush brush = Brush::solid(kPaint);
    drawRoundRect(rr.target, pen(), brush, 32, 23, 2, 3, 12, 12);
    drawEllipse(tl.target, pen(), brush, 2, 3, 14, 15);
    drawEllipse(br.target, pen(), brush, 20, 11, 32, 23);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(rr.at(2 + x, 3 + y), tl.at(2 + x, 3 + y)) << x << "," << y;
            EXPECT_EQ(rr.at(26 + x, 17 + y), br.at(26 + x, 17 + y)) << x << "," << y;
        }
    }
    // Straight sides between the corners.
    for (int x = 8; x <= 25; ++x) EXPECT_EQ(rr.at(x, 3), kInk) << x;
    for (int y = 9; y <= 16; ++y) {
        EXPECT_EQ(rr.at(2, y), kInk) << y;
        EXPECT_EQ(rr.at(31, y), kInk) << y;
        EXPECT_EQ(rr.at(3, y), kPaint) << y;
    }
}

TEST(RoundRect, ZeroCornersGiveTheBox) {
    for (int pw : {1, 3}) {
        const auto rr = drawn(20, 16, [&](RasterTarget& t) {
            drawRoundRect(t, pen(pw), Brush::none(), 3, 2, 15, 12, 0, 0);
        });
        EXPECT_EQ(rr,
                  drawn(20, 16, [&](RasterTarget& t) { drawBoxOutline(t, pen(pw), 3, 2, 14, 11); }))
            << pw;
    }
}

// --- clipping, huge coordinates and bookkeeping ---

TEST(Clipping, HugeCoordinatesDrawTheVisiblePart) {
    const std::int64_t L = kCoordLimit;
    auto rowOf = [](const Canvas& c, int y) {
        std::string s;
        for (int x = 0; x < c.image.width(); ++x)
            s += c.at(x, y) == kBack ? '.' : (c.at(x, y) == kInk ? '#' : 'o');
        return s;
    };
    const std::string full(40, '#'), none(40, '.'), paint(40, 'o');
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(), -kBig, 0, kBig, 2);  // y = 1 + x / 1e9 across the canvas
        EXPECT_EQ(c.with(kInk).size(), 40u);
        EXPECT_EQ(rowOf(c, 1), full);
    }
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(), 5, -kBig, 6, kBig);  // x = 5.5 exactly at row 0: the tie
        EXPECT_EQ(c.at(5, 0), kInk);
        for (int y = 1; y < 30; ++y) EXPECT_EQ(c.at(6, y), kInk) << y;
        EXPECT_EQ(c.with(kInk).size(), 30u);
    }
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(), L, L, -L, -L);
        Points diag;
        for (int i = 0; i < 30; ++i) diag.insert({i, i});
        EXPECT_EQ(c.with(kInk), diag);
    }
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(1, PenStyle::Dot), -kBig, 3, kBig, 3);
        for (int x = 0; x < 40; ++x)  // 1e9 = 4 (mod 6): position x + 4 in the pattern
            EXPECT_EQ(c.at(x, 3) == kInk, (x + 4) % 6 < 3) << x;
    }
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(5), -kBig, 10, kBig, 10);
        for (int y = 0; y < 30; ++y) EXPECT_EQ(rowOf(c, y), y >= 8 && y <= 12 ? full : none) << y;
    }
    {
        Canvas c(40, 30);
        drawLine(c.target, pen(3), -L, -L, L, L);  // half widths 1 and 2 across: -2 <= x - y < 4
        for (int x = 0; x < 40; ++x)
            EXPECT_EQ(c.at(x, 15) == kInk, x - 15 >= -2 && x - 15 <= 3) << x;
    }
    {
        Canvas c(40, 30);
        drawEllipse(c.target, pen(), Brush::solid(kPaint), 3, -kBig, kBig, kBig);
        for (int y = 0; y < 30; ++y) EXPECT_EQ(rowOf(c, y), "...#" + paint.substr(4)) << y;
    }
    {
        Canvas c(40, 30);
        drawEllipse(c.target, pen(), Brush::solid(kPaint), -kBig, 2 * kBig, kBig + 40, 5);
        for (int y = 0; y < 30; ++y) EXPECT_EQ(rowOf(c, y), y < 5 ? none : y == 5 ? full : paint);
    }
    {
        Canvas c(40, 30);
        drawRoundRect(c.target, pen(), Brush::solid(kPaint), -L, -L, L, 7, 12, 12);
        for (int y = 0; y < 30; ++y) EXPECT_EQ(rowOf(c, y), y < 6 ? paint : y == 6 ? full : none);
    }
    {
        Canvas c(40, 30);
        drawBoxOutline(c.target, pen(), -kBig, 4, kBig, kBig);
        drawFilledBox(c.target, pen(), -L, 20, L, L);
        for (int y = 0; y < 30; ++y) EXPECT_EQ(rowOf(c, y), y == 4 || y >= 20 ? full : none) << y;
    }
    {
        Canvas solid(40, 30), dashed(40, 30), wide(40, 30);
        drawEllipse(solid.target, pen(), Brush::none(), 3, -kBig, kBig, kBig);
        drawEllipse(dashed.target, pen(1, PenStyle::DashDotDot), Brush::none(), 3, -kBig, kBig,
                    kBig);
        const Points dashes = dashed.with(kInk), line = solid.with(kInk);
        for (auto p : dashes) EXPECT_TRUE(line.count(p));
        EXPECT_GT(dashes.size(), 10u);
        EXPECT_LT(dashes.size(), 25u);
        drawRoundRect(wide.target, pen(100), Brush::none(), -L, 10, L, L, 12, 12);
        EXPECT_EQ(wide.with(kInk).size(), 40u * 30);
    }
}

TEST(Clipping, HugeShapesCostOnlyTheirVisibleRows) {
    // Shapes billions of pixels across, each touching the canvas: a loop over the shape
    // rather than the canvas would take seconds here.
    const std::int64_t L = kCoordLimit;  // 2^30 = 4 (mod 6)
    Canvas c(64, 48), d(64, 48);
    const auto start = std::chrono::steady_clock::now();
    drawFilledBox(c.target, pen(3), -L, -L, L, 2);
    drawBoxOutline(c.target, pen(1, PenStyle::Dot), -L, 10, L, L);
    drawEllipse(c.target, pen(1, PenStyle::Dash), Brush::solid(kPaint), -L, 20, L, 24);
    drawRoundRect(c.target, pen(6), Brush::solid(kPaint), L, L, -L, 40, L, 12);
    drawLine(d.target, pen(100), -L + 150, L, L, -L + 150);
    drawLine(d.target, pen(1, PenStyle::DashDot), -L, -L + 7, L, L + 7);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(c.at(x, 3), kInk);
        EXPECT_EQ(c.at(x, 4), kBack);
        // The box's top row runs leftwards from x = L: pattern position L - x.
        EXPECT_EQ(c.at(x, 10) == kInk, ((4 - x) % 6 + 6) % 6 < 3) << x;
        EXPECT_EQ(c.at(x, 21), kPaint);
        EXPECT_EQ(c.at(x, 36), kBack);
        EXPECT_EQ(c.at(x, 37), kInk);
        EXPECT_EQ(c.at(x, 42), kInk);
        EXPECT_EQ(c.at(x, 43), kPaint);
    }
    EXPECT_EQ(d.at(63, 47), kInk);
    // The dash-dot diagonal reaches x = 0 at position 2^30 = 16 (mod 24): the dot, then a gap.
    EXPECT_EQ(d.at(0, 7), kInk);
    EXPECT_EQ(d.at(1, 8), kInk);
    EXPECT_EQ(d.at(2, 9), kBack);
    EXPECT_EQ(d.at(0, 0), kBack);
    expectDirtyRowsMatch(c);
    expectDirtyRowsMatch(d);
}

TEST(Clipping, OffsetShapesMatchTheSameShapeDrawnWhole) {
    // A 40x30 window at (500, 300) onto shapes drawn whole on a large canvas.
    Canvas whole(1100, 700);
    auto draw = [](RasterTarget& t, std::int64_t dx, std::int64_t dy) {
        drawEllipse(t, pen(1, PenStyle::Dash), Brush::solid(kPaint), -600 - dx, 100 - dy, 530 - dx,
                    520 - dy);
        drawRoundRect(t, pen(7), Brush::none(), 505 - dx, 290 - dy, 560 - dx, 333 - dy, 12, 12);
        drawLine(t, pen(1, PenStyle::DashDot), 20 - dx, 690 - dy, 1000 - dx, 4 - dy);
        drawLine(t, pen(9), 300 - dx, 0 - dy, 700 - dx, 640 - dy);
    };
    draw(whole.target, 0, 0);
    Canvas window(40, 30);
    draw(window.target, 500, 300);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(window.at(x, y), whole.at(500 + x, 300 + y)) << x << "," << y;
    EXPECT_GT(window.with(kInk).size(), 200u);
    EXPECT_GT(window.with(kPaint).size(), 200u);
}

TEST(Clipping, EveryWriteIsRecordedInTheDirtyRows) {
    std::vector<void (*)(RasterTarget&)> shapes = {
        [](RasterTarget& t) {
            drawEllipse(t, pen(1, PenStyle::Dash), Brush::solid(kPaint), -3, 2, 30, 20);
        },
        [](RasterTarget& t) {
            drawRoundRect(t, pen(6), Brush::solid(kPaint), 4, -2, 35, 18, 12, 12);
        },
        [](RasterTarget& t) { drawLine(t, pen(1, PenStyle::DashDotDot), 0, 3, 39, 17); },
        [](RasterTarget& t) { drawLine(t, pen(8), 30, -5, 2, 25); },
        [](RasterTarget& t) { drawFilledBox(t, pen(4), 5, 5, 20, 12); },
    };
    for (auto shape : shapes) {
        Canvas c(40, 24);
        shape(c.target);
        expectDirtyRowsMatch(c);
    }
}
