// Bulk raster operations: copies, stretches, keyed copies, gradients and flood fill, pinned
// pixel by pixel on small asymmetric pictures and checked against plain per-pixel models.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "surface/Blit.h"

using namespace nt;

namespace {

using Rows = std::vector<std::string>;

// Each letter stands for its own colour, so a picture reads as text in failures.
Pixel pix(char c) {
    const auto v = static_cast<std::uint32_t>(static_cast<unsigned char>(c));
    return 0xFF000000u | v << 16 | (v ^ 0x55u) << 8 | 0x20u;
}
char letter(Pixel p) {
    const char c = static_cast<char>((p >> 16) & 0xFF);
    return pix(c) == p ? c : '?';
}

QImage picture(const Rows& rows) {
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
               QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, pix(rows[y][x]));
    return img;
}
Rows letters(const QImage& img) {
    Rows rows(img.height(), std::string(img.width(), ' '));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) rows[y][x] = letter(img.pixel(x, y));
    return rows;
}

Pixel at(const QImage& img, int x, int y) {
    return reinterpret_cast<const Pixel*>(img.constScanLine(y))[x];
}
Pixel grey(int v) {
    return 0xFF000000u | static_cast<Pixel>(v * 0x010101);
}
int redOfPixel(Pixel p) {
    return (p >> 16) & 0xFF;
}

// A target over an image with its dirty record.
struct Canvas {
    explicit Canvas(QImage picture) : image(std::move(picture)), dirty(image.height()) {}
    RasterTarget target() { return RasterTarget(image, &dirty); }
    QImage image;
    DirtyRows dirty;
};

QImage randomPicture(std::mt19937& rng, int w, int h, int colours) {
    QImage img(w, h, QImage::Format_RGB32);
    std::uniform_int_distribution<int> pick(0, colours - 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, grey(pick(rng) * 255 / colours));
    return img;
}

const Rows kSource = {"abcd", "efgh", "ijkl"};

}  // namespace

// ---- copyRect ----

TEST(CopyRect, ClipsAgainstBothImages) {
    const struct {
        int dx, dy, w, h, sx, sy;
        Rows want;
    } cases[] = {
        {1, 1, 2, 2, 0, 0, {".....", ".ab..", ".ef..", "....."}},
        {-1, 2, 4, 3, 1, -1, {".....", ".....", ".....", "cd..."}},
        {3, 0, 9, 9, 0, 1, {"...ef", "...ij", ".....", "....."}},
        {0, 0, 5, 4, 2, 1, {"gh...", "kl...", ".....", "....."}},
    };
    for (const auto& c : cases) {
        Canvas cv(picture({".....", ".....", ".....", "....."}));
        auto t = cv.target();
        copyRect(t, c.dx, c.dy, c.w, c.h, picture(kSource), c.sx, c.sy);
        EXPECT_EQ(letters(cv.image), c.want) << c.dx << "," << c.dy;
    }
}

TEST(CopyRect, OverlapOnOneImageActsAsThroughABuffer) {
    std::mt19937 rng(7);
    const struct {
        int dx, dy, sx, sy;
    } moves[] = {{2, 1, 0, 0}, {0, 0, 2, 1}, {3, 0, 0, 0},  {0, 0, 3, 0},
                 {0, 2, 0, 0}, {0, 0, 0, 2}, {1, -1, 0, 1}, {-1, 1, 1, 0}};
    for (const auto& m : moves) {
        const QImage before = randomPicture(rng, 9, 7, 200);
        QImage expect = before.copy();
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x) {
                const int sx = m.sx + x, sy = m.sy + y, dx = m.dx + x, dy = m.dy + y;
                if (sx >= 0 && sy >= 0 && sx < 9 && sy < 7 && dx >= 0 && dy >= 0 && dx < 9 &&
                    dy < 7)
                    expect.setPixel(dx, dy, before.pixel(sx, sy));
            }
        Canvas cv(before.copy());
        auto t = cv.target();
        copyRect(t, m.dx, m.dy, 7, 6, cv.image, m.sx, m.sy);
        EXPECT_EQ(cv.image, expect) << m.dx << "," << m.dy << " from " << m.sx << "," << m.sy;
    }
}

TEST(CopyRect, MarksExactlyTheWrittenRows) {
    Canvas cv(picture({".....", ".....", ".....", "....."}));
    auto t = cv.target();
    copyRect(t, 2, 1, 9, 2, picture(kSource), 1, 0);
    EXPECT_EQ(cv.dirty.bounds(), QRect(2, 1, 3, 2));
}

TEST(Blits, BadRequestsDrawNothing) {
    const std::int64_t huge = std::int64_t{1} << 30, beyond = std::int64_t{1} << 40;
    const QImage src = picture(kSource);
    Canvas cv(picture({"....", "....", "...."}));
    auto t = cv.target();
    copyRect(t, 0, 0, 0, 3, src, 0, 0);
    copyRect(t, 0, 0, -4, -3, src, 0, 0);
    copyRect(t, huge, 0, 4, 3, src, 0, 0);
    copyRect(t, 0, 0, 4, 3, src, -huge, huge);
    copyRect(t, -beyond, 0, 2 * beyond, 3, src, 0, 0);
    copyRect(t, 0, 0, 4, 3, QImage(), 0, 0);
    for (auto mode : {StretchMode::Nearest, StretchMode::Halftone}) {
        stretchRect(t, 0, 0, 0, 3, src, 0, 0, 4, 3, mode);
        stretchRect(t, 0, 0, 4, 3, src, 0, 0, 4, 0, mode);
        stretchRect(t, -huge, -huge, huge, huge, src, 0, 0, 4, 3, mode);
        stretchRect(t, 0, 0, 4, 3, src, huge, -huge, -huge, huge, mode);
        stretchRect(t, 0, 0, beyond, 3, src, 0, 0, 4, 3, mode);
    }
    transparentRect(t, 5, 0, 4, 3, src, 0, 0, 4, 3, pix('z'));
    gradientRect(t, {7, 0, 0xFF00, 0, 0, 0}, {7, 3, 0, 0, 0, 0}, false);
    gradientRect(t, {0, -9, 0, 0, 0, 0}, {4, -1, 0, 0, 0, 0}, true);
    EXPECT_EQ(letters(cv.image), (Rows{"....", "....", "...."}));
    EXPECT_TRUE(cv.dirty.empty());
}

TEST(Blits, HugeExtentsStayCheapAndCorrect) {
    const std::int64_t huge = std::int64_t{1} << 30;
    for (auto mode : {StretchMode::Nearest, StretchMode::Halftone}) {
        Canvas cv(picture({"....", "...."}));
        auto t = cv.target();
        // A 2 x 1 source blown up to 2^30 x 2^30: the visible corner is its first pixel.
        stretchRect(t, 0, 0, huge, huge, picture({"ab"}), 0, 0, 2, 1, mode);
        EXPECT_EQ(letters(cv.image), (Rows{"aaaa", "aaaa"}));
        // A source rectangle of 2^30 x 2^30 squeezed into 2 x 2, placed so that only the
        // first destination pixel's sample lies inside the source.
        Canvas small(picture({"..", ".."}));
        auto ts = small.target();
        const std::int64_t o = -(huge / 4);
        stretchRect(ts, 0, 0, 2, 2, picture({"aa", "aa"}), o, o, huge, huge, mode);
        EXPECT_EQ(letters(small.image), (Rows{"a.", ".."}));
    }
    // A footprint of 2^30 / 3 source pixels over a 30000-pixel row (weights beyond exact
    // integer range): half 0 and half 200 average to about 100.
    QImage row(30000, 1, QImage::Format_RGB32);
    for (int x = 0; x < 30000; ++x) row.setPixel(x, 0, grey(x < 15000 ? 0 : 200));
    Canvas cv(picture({"..."}));
    auto t = cv.target();
    stretchRect(t, 0, 0, 3, 1, row, 100 - huge / 6, 0, huge, 1, StretchMode::Halftone);
    EXPECT_NEAR(redOfPixel(at(cv.image, 0, 0)), 100, 1);
    EXPECT_EQ(letters(cv.image)[0].substr(1), "..");
}

// ---- stretchRect, nearest ----

TEST(StretchNearest, SamplesTheFootprintCentre) {
    const struct {
        int dx, dy, dw, dh, sx, sy, sw, sh;
        Rows want;
    } cases[] = {
        {0, 0, 6, 2, 0, 0, 3, 1, {"aabbcc", "aabbcc", "......"}},
        {0, 0, 3, 3, 0, 0, 4, 3, {"acd...", "egh...", "ikl..."}},  // 4 -> 3: 0, 2, 3
        {1, 0, 2, 2, 0, 0, 3, 3, {".ac...", ".ik...", "......"}},  // 3 -> 2: 0, 2
        {4, 1, 4, 4, 1, 1, 2, 2, {"......", "....ff", "....ff"}},  // clipped right, bottom
    };
    for (const auto& c : cases) {
        Canvas cv(picture({"......", "......", "......"}));
        auto t = cv.target();
        stretchRect(t, c.dx, c.dy, c.dw, c.dh, picture(kSource), c.sx, c.sy, c.sw, c.sh,
                    StretchMode::Nearest);
        EXPECT_EQ(letters(cv.image), c.want) << c.dw << "x" << c.dh;
    }
}

TEST(StretchColourOnColour, KeepsTheSourcePixelsGdiKeeps) {
    // Which source pixels GDI's COLORONCOLOR shows (drawn with Wine): shrinking keeps the
    // last column and the first row of each group whose centres map into one destination
    // pixel; growing takes the pixel under the centre, exact ties to the lower one.
    const std::string letters16 = "abcdefghijklmnop";
    Rows column;
    for (const char c : letters16) column.push_back(std::string(1, c));
    const auto across = [&](int to) {
        Canvas cv(picture({std::string(20, '.')}));
        auto t = cv.target();
        stretchRect(t, 0, 0, to, 1, picture({letters16}), 0, 0, 16, 1, StretchMode::ColourOnColour);
        return letters(cv.image)[0];
    };
    const auto down = [&](int to) {
        Canvas cv(picture(Rows(20, ".")));
        auto t = cv.target();
        stretchRect(t, 0, 0, 1, to, picture(column), 0, 0, 1, 16, StretchMode::ColourOnColour);
        std::string s;
        for (const std::string& row : letters(cv.image)) s += row;
        return s;
    };
    EXPECT_EQ(across(8), "bdfhjlnp............");
    EXPECT_EQ(down(8), "acegikmo............");
    EXPECT_EQ(across(5), "cfjmp...............");
    EXPECT_EQ(down(5), "adgkn...............");
    EXPECT_EQ(across(20), "abbcdeffghijjklmnnop");
    EXPECT_EQ(down(20), "abbcdeffghijjklmnnop");
    // Mirrored, the same pixels counted from the origin.
    Canvas cv(picture({std::string(6, '.')}));
    auto t = cv.target();
    stretchRect(t, 4, 0, -5, 1, picture({letters16}), 0, 0, 16, 1, StretchMode::ColourOnColour);
    EXPECT_EQ(letters(cv.image)[0], "pmjfc.");
}

TEST(StretchNearest, NegativeExtentsMirrorAndIncludeTheOrigin) {
    const struct {
        int dx, dy, dw, dh, sx, sy, sw, sh;
        Rows want;
    } cases[] = {
        {3, 0, -4, 3, 0, 0, 4, 3, {"dcba.", "hgfe.", "lkji."}},   // destination x mirrored
        {0, 2, 4, -3, 0, 0, 4, 3, {"ijkl.", "efgh.", "abcd."}},   // destination y mirrored
        {0, 0, 3, 2, 2, 0, -3, 2, {"cba..", "gfe..", "....."}},   // source x: covers 0..2
        {1, 0, 2, 2, 3, 2, -2, -2, {".lk..", ".hg..", "....."}},  // source both: 2..3, 1..2
        {2, 1, -2, -2, 0, 0, 2, 2, {".fe..", ".ba..", "....."}},  // both destination axes
        {4, 0, -2, 1, 0, 0, 1, 1, {"...aa", ".....", "....."}},   // enlarged into 3..4
    };
    for (const auto& c : cases) {
        Canvas cv(picture({".....", ".....", "....."}));
        auto t = cv.target();
        stretchRect(t, c.dx, c.dy, c.dw, c.dh, picture(kSource), c.sx, c.sy, c.sw, c.sh,
                    StretchMode::Nearest);
        EXPECT_EQ(letters(cv.image), c.want) << c.dx << "," << c.dy << " " << c.dw << "x" << c.dh;
    }
}

TEST(StretchNearest, FlipsAnImageOntoItself) {
    Canvas cv(picture(kSource));
    auto t = cv.target();
    stretchRect(t, 3, 0, -4, 3, cv.image, 0, 0, 4, 3, StretchMode::Nearest);
    EXPECT_EQ(letters(cv.image), (Rows{"dcba", "hgfe", "lkji"}));
    stretchRect(t, 0, 2, 4, -3, cv.image, 0, 0, 4, 3, StretchMode::Nearest);
    EXPECT_EQ(letters(cv.image), (Rows{"lkji", "hgfe", "dcba"}));
}

TEST(StretchNearest, LeavesPixelsSamplingOutsideTheSource) {
    Canvas cv(picture({"......"}));
    auto t = cv.target();
    // Source x -1 .. 1 at twice the size: destination 0 and 1 sample pixel -1.
    stretchRect(t, 0, 0, 6, 1, picture({"ab"}), -1, 0, 3, 1, StretchMode::Nearest);
    EXPECT_EQ(letters(cv.image), (Rows{"..aabb"}));
    EXPECT_EQ(cv.dirty.bounds(), QRect(2, 0, 4, 1));
}

// ---- stretchRect, halftone ----

TEST(StretchHalftone, ShrinkAveragesEachBlock) {
    // Red channel: block (10, 11, 20, 22) -> 15.75 -> 16; block (1, 2, 2, 2) -> 1.75 -> 2;
    // green: (0, 1, 0, 1) -> 0.5 -> 1 (halves up); blue: (0, 0, 0, 1) -> 0.25 -> 0.
    const auto rgb32 = [](int r, int g, int b) {
        return static_cast<Pixel>(0xFF000000u | r << 16 | g << 8 | b);
    };
    QImage src(4, 2, QImage::Format_RGB32);
    const Pixel px[2][4] = {{rgb32(10, 0, 0), rgb32(11, 1, 0), rgb32(1, 0, 0), rgb32(2, 1, 0)},
                            {rgb32(20, 0, 0), rgb32(22, 1, 1), rgb32(2, 0, 0), rgb32(2, 1, 1)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) src.setPixel(x, y, px[y][x]);
    Canvas cv(picture({"..."}));
    auto t = cv.target();
    stretchRect(t, 0, 0, 2, 1, src, 0, 0, 4, 2, StretchMode::Halftone);
    EXPECT_EQ(at(cv.image, 0, 0), rgb32(16, 1, 0));
    EXPECT_EQ(at(cv.image, 1, 0), rgb32(2, 1, 0));
    EXPECT_EQ(letter(at(cv.image, 2, 0)), '.');
}

TEST(StretchHalftone, EnlargeWeighsByCoveredArea) {
    // 3 -> 5: footprints 0-0.6, 0.6-1.2, 1.2-1.8, 1.8-2.4, 2.4-3.
    QImage src(3, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, grey(0));
    src.setPixel(1, 0, grey(100));
    src.setPixel(2, 0, grey(200));
    const int want[] = {0, 33, 100, 167, 200};
    for (bool mirrored : {false, true}) {
        Canvas cv(QImage(5, 1, QImage::Format_RGB32));
        auto t = cv.target();
        stretchRect(t, mirrored ? 4 : 0, 0, mirrored ? -5 : 5, 1, src, 0, 0, 3, 1,
                    StretchMode::Halftone);
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(at(cv.image, x, 0), grey(want[mirrored ? 4 - x : x])) << x << mirrored;
    }
    // 2 -> 3: the middle pixel is half of each, 15.5 rounding up.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, grey(10));
    two.setPixel(1, 0, grey(21));
    Canvas cv(QImage(3, 1, QImage::Format_RGB32));
    auto t = cv.target();
    stretchRect(t, 0, 0, 3, 1, two, 0, 0, 2, 1, StretchMode::Halftone);
    EXPECT_EQ(at(cv.image, 1, 0), grey(16));
}

namespace {

// The exact area average of one destination pixel, computed directly.
Pixel areaAverage(const QImage& src, int sx, int sy, int sw, int sh, int dw, int dh, int i, int j) {
    // Footprint of destination index (i, j) in source units scaled by the destination length;
    // only pixels inside the source count.
    auto weight = [](std::int64_t pixel, std::int64_t lo, std::int64_t hi, std::int64_t unit) {
        return std::max<std::int64_t>(
            0, std::min((pixel + 1) * unit, hi) - std::max(pixel * unit, lo));
    };
    const std::int64_t SW = std::abs(sw), SH = std::abs(sh), DW = std::abs(dw), DH = std::abs(dh);
    std::int64_t sum[3] = {0, 0, 0}, total = 0;
    // Pixels beyond the footprint weigh nothing; they are skipped only to save time.
    const std::int64_t v0 = std::max<std::int64_t>(0, j * SH / DH - 1);
    const std::int64_t v1 = std::min(SH, (j + 1) * SH / DH + 2);
    const std::int64_t u0 = std::max<std::int64_t>(0, i * SW / DW - 1);
    const std::int64_t u1 = std::min(SW, (i + 1) * SW / DW + 2);
    for (std::int64_t v = v0; v < v1; ++v)
        for (std::int64_t u = u0; u < u1; ++u) {
            const std::int64_t px = sw > 0 ? sx + u : sx - u, py = sh > 0 ? sy + v : sy - v;
            if (px < 0 || py < 0 || px >= src.width() || py >= src.height()) continue;
            const std::int64_t w =
                weight(u, i * SW, (i + 1) * SW, DW) * weight(v, j * SH, (j + 1) * SH, DH);
            const Pixel p = at(src, static_cast<int>(px), static_cast<int>(py));
            for (int c = 0; c < 3; ++c) sum[c] += w * ((p >> (16 - 8 * c)) & 0xFF);
            total += w;
        }
    Pixel out = 0xFF000000u;
    for (int c = 0; c < 3; ++c)
        out |= static_cast<Pixel>((sum[c] + total / 2) / total) << (16 - 8 * c);
    return out;
}

}  // namespace

TEST(StretchHalftone, MatchesTheExactAreaAverage) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> len(1, 13), pos(-2, 9);
    for (int round = 0; round < 300; ++round) {
        QImage src(11, 9, QImage::Format_RGB32);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 11; ++x) src.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
        const int sw = len(rng) * (rng() % 4 ? 1 : -1), sh = len(rng) * (rng() % 4 ? 1 : -1);
        const int dw = len(rng) * (rng() % 4 ? 1 : -1), dh = len(rng) * (rng() % 4 ? 1 : -1);
        const int sx = pos(rng), sy = pos(rng), dx = pos(rng), dy = pos(rng);
        const QImage blank(10, 10, QImage::Format_RGB32);
        Canvas cv(blank.copy());
        cv.image.fill(0xFF123456u);
        auto t = cv.target();
        stretchRect(t, dx, dy, dw, dh, src, sx, sy, sw, sh, StretchMode::Halftone);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const int i = dw > 0 ? x - dx : dx - x, j = dh > 0 ? y - dy : dy - y;
                bool drawn = i >= 0 && j >= 0 && i < std::abs(dw) && j < std::abs(dh);
                if (drawn) {  // the footprint centre must fall inside the source
                    const int u = (2 * i + 1) * std::abs(sw) / (2 * std::abs(dw));
                    const int v = (2 * j + 1) * std::abs(sh) / (2 * std::abs(dh));
                    const int px = sw > 0 ? sx + u : sx - u, py = sh > 0 ? sy + v : sy - v;
                    drawn = px >= 0 && py >= 0 && px < 11 && py < 9;
                }
                const Pixel want =
                    drawn ? areaAverage(src, sx, sy, sw, sh, dw, dh, i, j) : 0xFF123456u;
                ASSERT_EQ(at(cv.image, x, y), want)
                    << "pixel " << x << "," << y << " of " << dx << "," << dy << " " << dw << "x"
                    << dh << " from " << sx << "," << sy << " " << sw << "x" << sh;
            }
    }
}

// Lengths with almost no common factor make sums too large for 32-bit lanes (a footprint of
// 1031 x 1033 units): those take the other way of summing, whose result must be the same.
TEST(StretchHalftone, LengthsWithoutCommonFactorsMatchTheExactAreaAverage) {
    std::mt19937 rng(5);
    QImage src(1031, 1033, QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) src.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
    // 7 x 5 and 5 x 7 need the wide sums; 206 x 3 too, upside down, its first column's
    // footprint cut by the source's edge; 2 x 2 of a 1030 x 1032 part fits the narrow ones.
    const struct {
        int dw, dh, sx, sy, sw, sh;
    } cases[] = {{7, 5, 0, 0, 1031, 1033},
                 {-5, 7, 0, 0, 1031, 1033},
                 {206, 3, -2, 1032, 1033, -1033},
                 {2, 2, 1, 1, 1030, 1032}};
    for (const auto& c : cases) {
        const int w = std::abs(c.dw), h = std::abs(c.dh);
        Canvas cv(QImage(w, h, QImage::Format_RGB32));
        cv.image.fill(0xFF123456u);
        auto t = cv.target();
        stretchRect(t, c.dw > 0 ? 0 : w - 1, 0, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh,
                    StretchMode::Halftone);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int i = c.dw > 0 ? x : w - 1 - x;
                ASSERT_EQ(at(cv.image, x, y),
                          areaAverage(src, c.sx, c.sy, c.sw, c.sh, c.dw, c.dh, i, y))
                    << x << "," << y << " of " << c.dw << "x" << c.dh;
            }
    }
}

// ---- transparentRect ----

TEST(TransparentRect, SkipsExactlyTheKeyColour) {
    const QImage src = picture({"aKb", "KcK"});
    Canvas cv(picture({"....", "....", "...."}));
    auto t = cv.target();
    // The key is compared as a colour: an alpha byte does not matter.
    transparentRect(t, 1, 0, 3, 2, src, 0, 0, 3, 2, pix('K') & 0x00FFFFFFu);
    EXPECT_EQ(letters(cv.image), (Rows{".a.b", "..c.", "...."}));
    EXPECT_EQ(cv.dirty.bounds(), QRect(1, 0, 3, 2));
    // A colour one step away from the key is copied.
    transparentRect(t, 0, 2, 3, 1, src, 0, 0, 3, 1, pix('K') ^ 1u);
    EXPECT_EQ(letters(cv.image)[2], "aKb.");
}

TEST(TransparentRect, ScalesLikeNearestAndMarksOnlyWrittenRows) {
    const QImage src = picture({"aK", "KK"});
    Canvas cv(picture({"....", "....", "....", "...."}));
    auto t = cv.target();
    transparentRect(t, 3, 0, -4, 4, src, 0, 0, 2, 2, pix('K'));
    EXPECT_EQ(letters(cv.image), (Rows{"..aa", "..aa", "....", "...."}));
    EXPECT_EQ(cv.dirty.bounds(), QRect(2, 0, 2, 2));
}

// ---- gradientRect ----

TEST(GradientRect, FollowsTheIntegerFormula) {
    // Over [0, 4): red 0 -> 255 gives (65280 * p / 4) / 256 = 0, 63, 127, 191; blue the
    // other way; green constant 0x1000 / 256.
    const GradientVertex a{0, 0, 0, 0x1000, 0xFF00, 0};
    const GradientVertex b{4, 2, 0xFF00, 0x1000, 0, 0};
    GradientVertex aRight = a, bLeft = b;  // dragged right to left
    aRight.x = 4;
    bLeft.x = 0;
    const Pixel forward[] = {0xFF0010FF, 0xFF3F10BF, 0xFF7F107F, 0xFFBF103F};
    const Pixel backward[] = {0xFFFF1000, 0xFFBF103F, 0xFF7F107F, 0xFF3F10BF};
    const struct {
        GradientVertex first, second;
        const Pixel* want;
    } cases[] = {{a, b, forward}, {b, a, forward}, {aRight, bLeft, backward}};
    for (const auto& c : cases) {
        Canvas cv(picture({".....", ".....", "....."}));
        auto t = cv.target();
        gradientRect(t, c.first, c.second, false);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(at(cv.image, x, y), c.want[x])
                    << x << "," << y << " from x " << c.first.x;
        // [min, max): the far column and row stay untouched.
        EXPECT_EQ(letter(at(cv.image, 4, 0)), '.');
        EXPECT_EQ(letters(cv.image)[2], ".....");
    }
}

TEST(GradientRect, VerticalAndClippedKeepTheWholeRectanglesScale) {
    // Green from 0 at y = -3 to 255 at y = 7, drawn on rows 0..2 and columns 0..1 only:
    // 65280 * (y + 3) / 10 / 256 = 76, 102, 127.
    Canvas cv(picture({"...", "...", "..."}));
    auto t = cv.target();
    gradientRect(t, {2, 7, 0, 0xFF00, 0, 0}, {-1, -3, 0, 0, 0, 0}, true);
    const int green[] = {76, 102, 127};
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(at(cv.image, 0, y), 0xFF000000u | green[y] << 8) << y;
        EXPECT_EQ(at(cv.image, 1, y), at(cv.image, 0, y));
        EXPECT_EQ(letter(at(cv.image, 2, y)), '.');
    }
    // Vertices at -+2^30: at x = 1, 65280 * (2^30 - 1) / 2^31 / 256 = 127.
    const std::int32_t far = 1 << 30;
    gradientRect(t, {-far, 0, 0, 0, 0xFF00, 0}, {far, 3, 0, 0, 0, 0}, false);
    EXPECT_EQ(at(cv.image, 1, 1), 0xFF00007Fu);
}

// ---- floodFillSurface ----

namespace {

// The fill as defined: breadth-first over 4-neighbours of exactly the start colour.
QImage referenceFill(const QImage& in, int x, int y, const std::function<Pixel(int, int)>& brush) {
    QImage out = in.copy();
    const Pixel start = at(in, x, y);
    std::vector<std::vector<bool>> seen(in.height(), std::vector<bool>(in.width()));
    std::vector<std::pair<int, int>> queue{{x, y}};
    seen[y][x] = true;
    for (std::size_t k = 0; k < queue.size(); ++k) {
        const auto [px, py] = queue[k];
        out.setPixel(px, py, brush(px, py));
        const int nx[] = {px - 1, px + 1, px, px}, ny[] = {py, py, py - 1, py + 1};
        for (int n = 0; n < 4; ++n)
            if (nx[n] >= 0 && ny[n] >= 0 && nx[n] < in.width() && ny[n] < in.height() &&
                !seen[ny[n]][nx[n]] && at(in, nx[n], ny[n]) == start) {
                seen[ny[n]][nx[n]] = true;
                queue.push_back({nx[n], ny[n]});
            }
    }
    return out;
}

Brush patternBrush(const QImage& pattern) {
    Brush b;
    b.kind = Brush::Kind::Pattern;
    b.pattern = std::make_shared<const PatternBrush>(PatternBrush{pattern});
    return b;
}

}  // namespace

TEST(FloodFill, FollowsFourNeighboursOfExactlyTheStartColour) {
    Canvas cv(picture({"aab.a", "abaaa", "baa.a", "aaaab"}));
    cv.image.setPixel(4, 3, pix('a') ^ 1u);  // one blue step away from 'a'
    auto t = cv.target();
    floodFillSurface(t, 2, 1, pix('a'), Brush::solid(pix('x')));
    // The top-left pair touches the filled area only diagonally.
    EXPECT_EQ(letters(cv.image), (Rows{"aab.x", "abxxx", "bxx.x", "xxxx?"}));
    EXPECT_EQ(cv.dirty.bounds(), QRect(0, 0, 5, 4));
}

TEST(FloodFill, MatchesABreadthFirstFillOnMazes) {
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        const QImage maze = randomPicture(rng, 23, 17, round % 2 ? 2 : 3);
        const int x = static_cast<int>(rng() % 23), y = static_cast<int>(rng() % 17);
        Canvas cv(maze.copy());
        auto t = cv.target();
        floodFillSurface(t, x, y, at(maze, x, y), Brush::solid(pix('x')));
        ASSERT_EQ(cv.image, referenceFill(maze, x, y, [](int, int) { return pix('x'); }))
            << "round " << round;
    }
}

TEST(FloodFill, PatternIsTiledFromTheOrigin) {
    const QImage pattern = picture({"pqr", "stu"});
    Canvas cv(picture({"bbbbb", "baaab", "baaab", "bbbbb"}));
    auto t = cv.target();
    floodFillSurface(t, 2, 2, pix('a'), patternBrush(pattern));
    EXPECT_EQ(letters(cv.image), (Rows{"bbbbb", "btusb", "bqrpb", "bbbbb"}));
}

TEST(FloodFill, BrushOfTheStartColourTerminatesAndPaints) {
    std::mt19937 rng(5);
    const QImage maze = randomPicture(rng, 31, 19, 2);
    const Pixel start = at(maze, 0, 0);
    {
        Canvas cv(maze.copy());
        auto t = cv.target();
        floodFillSurface(t, 0, 0, start, Brush::solid(start));
        EXPECT_EQ(cv.image, maze);
        EXPECT_FALSE(cv.dirty.empty());
    }
    QImage pattern(2, 1, QImage::Format_RGB32);
    pattern.setPixel(0, 0, start);
    pattern.setPixel(1, 0, pix('x'));
    Canvas cv(maze.copy());
    auto t = cv.target();
    floodFillSurface(t, 0, 0, start, patternBrush(pattern));
    EXPECT_EQ(cv.image,
              referenceFill(maze, 0, 0, [&](int x, int) { return at(pattern, x % 2, 0); }));
}

TEST(FloodFill, DoesNothingOutsideOrOnAnotherColourOrWithoutBrush) {
    const Rows rows = {"aab", "abb"};
    Canvas cv(picture(rows));
    auto t = cv.target();
    const std::int64_t huge = std::int64_t{1} << 40;
    floodFillSurface(t, -1, 0, pix('a'), Brush::solid(pix('x')));
    floodFillSurface(t, 3, 1, pix('a'), Brush::solid(pix('x')));
    floodFillSurface(t, huge, -huge, pix('a'), Brush::solid(pix('x')));
    floodFillSurface(t, 2, 0, pix('a'), Brush::solid(pix('x')));  // start pixel is 'b'
    floodFillSurface(t, 0, 0, pix('a'), Brush::none());
    floodFillSurface(t, 0, 0, pix('a'), patternBrush(QImage()));
    EXPECT_EQ(letters(cv.image), rows);
    EXPECT_TRUE(cv.dirty.empty());
}
