// Small metafiles written here, one drawing feature each, against the pixels the surface's
// own calls give for the same drawing, or against the pixels the feature decides.

#include <bit>
#include <functional>
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "MetafileBuilder.h"
#include "platform/Picture.h"
#include "surface/Shapes.h"

namespace nt {
namespace {

using test::EmfWriter;
using test::put16;
using test::put32;
using test::WmfWriter;
using test::xy16;

constexpr Pixel kWhitePx = 0xFFFFFFFFu, kRedPx = 0xFFFF0000u, kBlackPx = 0xFF000000u;

QImage decoded(const QByteArray& file) {
    auto result = decodePicture(file);
    const auto* image = std::get_if<QImage>(&result);
    return image ? *image : QImage();
}

QImage surfaceDrawing(int w, int h, const std::function<void(RasterTarget&)>& draw) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhitePx);
    RasterTarget t(image, nullptr);
    draw(t);
    return image;
}

// Where the picture is not white.
QRect ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhitePx) box |= QRect(x, y, 1, 1);
    return box;
}

// A red solid brush selected into an EMF.
EmfWriter redBrush(int w, int h) {
    EmfWriter e(w, h);
    e.rec(39, {1, 0, 0x0000FF, 0}).rec(37, {1});
    return e;
}

TEST(MetafileDrawing, ShapesMatchTheSurfaceCalls) {
    const Pen pen{kBlackPx, 1, PenStyle::Solid};
    const Brush red = Brush::solid(kRedPx);
    struct Case {
        const char* what;
        QByteArray file;
        std::function<void(RasterTarget&)> expected;
    } cases[] = {
        {"rectangle: filled inside, the outline on the box's sides (EMF boxes are inclusive)",
         redBrush(48, 48).rec(43, {3, 4, 20, 25}).bytes(),
         [&](RasterTarget& t) {
             const QPointF box[] = {{3, 4}, {20, 4}, {20, 25}, {3, 25}};
             const int counts[] = {4};
             fillPolygons(t, red, box, counts, FillRule::Alternate);
             drawBoxOutline(t, pen, 3, 4, 20, 25);
         }},
        {"polyline16: segments without their last point",
         EmfWriter(48, 48).rec(87, {0, 0, 0, 0, 3, xy16(2, 2), xy16(25, 9), xy16(4, 27)}).bytes(),
         [&](RasterTarget& t) {
             drawLine(t, pen, 2, 2, 25, 9);
             drawLine(t, pen, 25, 9, 4, 27);
         }},
        {"polygon (32-bit points): filled by pixel corners, and closed",
         redBrush(48, 48).rec(3, {0, 0, 0, 0, 3, 2, 2, 27, 5, 10, 26}).bytes(),
         [&](RasterTarget& t) {
             const QPointF tri[] = {{2, 2}, {27, 5}, {10, 26}};
             const int counts[] = {3};
             fillPolygons(t, red, tri, counts, FillRule::Alternate, PolygonSampling::Corners);
             drawLine(t, pen, 2, 2, 27, 5);
             drawLine(t, pen, 27, 5, 10, 26);
             drawLine(t, pen, 10, 26, 2, 2);
         }},
        {"null pen, world transform scaling by 2",
         redBrush(48, 48)
             .rec(37, {0x80000008})
             .rec(35, {0x40000000, 0, 0, 0x40000000, 0, 0})
             .rec(43, {2, 3, 10, 12})
             .bytes(),
         [&](RasterTarget& t) {
             const QPointF box[] = {{4, 6}, {20, 6}, {20, 24}, {4, 24}};
             const int counts[] = {4};
             fillPolygons(t, red, box, counts, FillRule::Alternate);
         }},
        {"anisotropic mapping: window 0..300 on viewport 0..30",
         redBrush(48, 48)
             .rec(37, {0x80000008})
             .rec(17, {8})
             .rec(9, {300, 150})
             .rec(11, {30, 30})
             .rec(43, {50, 20, 250, 100})
             .bytes(),
         [&](RasterTarget& t) {
             const QPointF box[] = {{5, 4}, {25, 4}, {25, 20}, {5, 20}};
             const int counts[] = {4};
             fillPolygons(t, red, box, counts, FillRule::Alternate);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage ours = decoded(c.file);
        const QImage want = surfaceDrawing(48, 48, c.expected);
        ASSERT_EQ(ours.size(), want.size());
        EXPECT_EQ(ours, want);
    }
}

TEST(MetafileDrawing, SmallRectanglesDrawAsGdiDrawsThem) {
    // A red brush, a blue pen of the width (-1: the null pen), one Rectangle record of the
    // box at (8, 8); what GDI drew of each (seen with Wine's GDI), in the 7 x 7 pixels from (7, 7):
    // B the pen, R the brush. A WMF box ends before its right and bottom sides, an EMF box
    // (stored inclusive) on them.
    struct Case {
        bool emf;
        int width, w, h;
        const char* drawn;
    } cases[] = {
        {false, 1, 1, 1, "......./......./......./......./......./......./......."},
        {false, 1, 1, 3, "......./.B...../.B...../.B...../......./......./......."},
        {false, 1, 4, 4, "......./.BBBB../.BRRB../.BRRB../.BBBB../......./......."},
        {false, 0, 1, 1, "......./......./......./......./......./......./......."},
        {false, 3, 1, 1, ".B...../BBB..../.B...../......./......./......./......."},
        {false, 3, 1, 3, ".B...../BBB..../BBB..../BBB..../.B...../......./......."},
        {false, 3, 3, 1, ".BBB.../BBBBB../.BBB.../......./......./......./......."},
        {false, -1, 2, 2, "......./.R...../......./......./......./......./......."},
        {false, -1, 4, 4, "......./.RRR.../.RRR.../.RRR.../......./......./......."},
        {true, 1, 0, 0, "......./......./......./......./......./......./......."},
        {true, 1, 1, 1, "......./.BB..../.BB..../......./......./......./......."},
        {true, 0, 0, 2, "......./.B...../.B...../.B...../......./......./......."},
        {true, 1, 3, 3, "......./.BBBB../.BRRB../.BRRB../.BBBB../......./......."},
        {true, -1, 1, 1, "......./.R...../......./......./......./......./......."},
        {true, 3, 0, 0, ".B...../BBB..../.B...../......./......./......./......."},
        {true, 3, 0, 2, ".B...../BBB..../BBB..../BBB..../.B...../......./......."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.emf ? "EMF " : "WMF ") << c.w << " x " << c.h << ", pen " << c.width);
        const int right = 8 + c.w, bottom = 8 + c.h;
        const QImage image =
            c.emf ? decoded(redBrush(24, 24)
                                .rec(38, {2, c.width < 0 ? 5u : 0u, std::uint32_t(c.width), 0,
                                          0xFF0000})
                                .rec(37, {2})
                                .rec(43, {8, 8, std::uint32_t(right), std::uint32_t(bottom)})
                                .bytes())
                  : decoded(WmfWriter(24, 24)
                                .rec(0x02FC, {0, 0xFF, 0, 0})
                                .rec(0x012D, {0})
                                .rec(0x02FA, {c.width < 0 ? 5 : 0, c.width, 0, 0, 0xFF})
                                .rec(0x012D, {1})
                                .rec(0x041B, {bottom, right, 8, 8})
                                .bytes());
        QString seen;
        for (int y = 7; y < 14; ++y) {
            if (y > 7) seen += '/';
            for (int x = 7; x < 14; ++x) {
                const QRgb p = image.pixel(x, y);
                seen += p == kWhitePx ? '.' : p == kRedPx ? 'R' : p == 0xFF0000FFu ? 'B' : '?';
            }
        }
        EXPECT_EQ(seen.toStdString(), c.drawn);
    }
}

TEST(MetafileDrawing, SmallEllipsesAndRoundRectsDrawAsGdiDrawsThem) {
    // As above with an Ellipse or a RoundRect (4 x 4 corners) of a w x h pixel box at (8, 8),
    // stored inclusive in the EMF; what GDI drew in the 10 x 10 pixels from (7, 7). Up to two
    // pixels wide an EMF box is drawn as its Rectangle, any larger from the stored box; without
    // a pen the brush covers the whole shape.
    struct Case {
        bool emf, rounded;
        int width, w, h;
        const char* drawn;
    } cases[] = {
        {true, false, 1, 2, 2,
         "........../.BB......./.BB......./........../........../........../........../........../"
         "........../.........."},
        {true, false, 1, 3, 5,
         "........../.BBB....../.BRB....../.BRB....../.BRB....../.BBB....../........../........../"
         "........../.........."},
        {true, false, 1, 8, 8,
         "........../...BBB..../..BRRRB.../.BRRRRRB../.BRRRRRB../.BRRRRRB../..BRRRB.../...BBB..../"
         "........../.........."},
        {true, false, 3, 1, 1,
         "........../........../........../........../........../........../........../........../"
         "........../.........."},
        {true, false, -1, 3, 5,
         "........../.RR......./.RR......./.RR......./.RR......./........../........../........../"
         "........../.........."},
        {true, false, -1, 9, 6,
         "........../...RRRR.../..RRRRRR../.RRRRRRRR./..RRRRRR../...RRRR.../........../........../"
         "........../.........."},
        {false, false, -1, 2, 2,
         "........../.R......../........../........../........../........../........../........../"
         "........../.........."},
        {false, false, -1, 3, 5,
         "........../..R......./.RRR....../.RRR....../.RRR....../..R......./........../........../"
         "........../.........."},
        {false, false, 1, 9, 6,
         "........../...BBBBB../..BRRRRRB./.BRRRRRRRB/.BRRRRRRRB/..BRRRRRB./...BBBBB../........../"
         "........../.........."},
        {true, true, 1, 8, 8,
         "........../..BBBBB.../.BRRRRRB../.BRRRRRB../.BRRRRRB../.BRRRRRB../.BRRRRRB../..BBBBB.../"
         "........../.........."},
        {false, true, -1, 8, 8,
         "........../..RRRRRR../.RRRRRRRR./.RRRRRRRR./.RRRRRRRR./.RRRRRRRR./.RRRRRRRR./.RRRRRRRR./"
         "..RRRRRR../.........."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.emf ? "EMF " : "WMF ") << (c.rounded ? "round rect " : "ellipse ") << c.w
                     << " x " << c.h << ", pen " << c.width);
        const auto right = std::uint32_t(8 + c.w), bottom = std::uint32_t(8 + c.h);
        QImage image;
        if (c.emf) {
            EmfWriter emf =
                redBrush(24, 24)
                    .rec(38, {2, c.width < 0 ? 5u : 0u, std::uint32_t(c.width), 0, 0xFF0000})
                    .rec(37, {2});
            if (c.rounded)
                emf.rec(44, {8, 8, right - 1, bottom - 1, 4, 4});
            else
                emf.rec(42, {8, 8, right - 1, bottom - 1});
            image = decoded(emf.bytes());
        } else {
            WmfWriter wmf = WmfWriter(24, 24)
                                .rec(0x02FC, {0, 0xFF, 0, 0})
                                .rec(0x012D, {0})
                                .rec(0x02FA, {c.width < 0 ? 5 : 0, c.width, 0, 0, 0xFF})
                                .rec(0x012D, {1});
            const int r = int(right), b = int(bottom);
            if (c.rounded)
                wmf.rec(0x061C, {4, 4, b, r, 8, 8});
            else
                wmf.rec(0x0418, {b, r, 8, 8});
            image = decoded(wmf.bytes());
        }
        QString seen;
        for (int y = 7; y < 17; ++y) {
            if (y > 7) seen += '/';
            for (int x = 7; x < 17; ++x) {
                const QRgb p = image.pixel(x, y);
                seen += p == kWhitePx ? '.' : p == kRedPx ? 'R' : p == 0xFF0000FFu ? 'B' : '?';
            }
        }
        EXPECT_EQ(seen.toStdString(), c.drawn);
    }
}

TEST(MetafileDrawing, ArcsChordsAndPiesDrawAsGdiDrawsThem) {
    // A w x h pixel box at (8, 8) (stored inclusive in the EMF), the radials towards the start
    // and end points; what GDI drew in the 14 x 14 pixels from (6, 6). The arc runs through
    // the pixels of the Ellipse record's outline and leaves its end out; radials that meet it
    // at one pixel go all the way round; the brush fills the outline's polygon.
    enum class Curve { Arc, Chord, Pie };
    struct Case {
        bool emf;
        Curve kind;
        bool clockwise;
        int width, w, h;
        int points[4];
        const char* drawn;
    } cases[] = {
        {true,
         Curve::Arc,
         false,
         1,
         8,
         8,
         {40, 12, 12, 0},
         "............../............../............../.......B....../........B...../"
         "........B...../............../"
         "............../............../............../............../............../"
         "............../.............."},
        {true,
         Curve::Arc,
         true,
         1,
         8,
         8,
         {10, 0, 10, 0},
         "............../............../.....BB......./...B...B....../..B.....B...../"
         "..B.....B...../..B.....B...../"
         "...B...B....../....BBB......./............../............../............../"
         "............../.............."},
        {true,
         Curve::Chord,
         false,
         -1,
         9,
         6,
         {30, 0, 0, 30},
         "............../............../....RRR......./...RRR......../..RRR........./"
         "............../............../"
         "............../............../............../............../............../"
         "............../.............."},
        {true,
         Curve::Pie,
         true,
         1,
         9,
         6,
         {40, 11, 0, 0},
         "............../............../............../...BB........./..BRRBBB....../"
         "...BRRRRB...../....BBBB....../"
         "............../............../............../............../............../"
         "............../.............."},
        {false,
         Curve::Chord,
         false,
         1,
         8,
         8,
         {33, 0, 32, 0},
         "............../............../....BBBB....../...BRRRRB...../..BRRRRRRB..../"
         "..BRRRRRRB..../..BRRRRRRB..../"
         "..BRRRRRRB..../...BRRRRB...../....BBBB....../............../............../"
         "............../.............."},
        {false,
         Curve::Pie,
         false,
         3,
         9,
         6,
         {12, 40, 30, 0},
         "............../............../.........BBB../.......BBBB.../.....BBBBBBB../"
         ".....BBBBBBB../.....BBBBBB.../"
         "......BBBBBB../.......BBBB.../............../............../............../"
         "............../.............."},
        {true,
         Curve::Pie,
         false,
         -1,
         7,
         12,
         {0, 0, 20, 40},
         "............../............../............../............../............../"
         "............../..RR........../"
         "..RRR........./..RRRR......../..RRRR......../...RRR......../...RRR......../"
         "............../.............."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.emf ? "EMF " : "WMF ") << int(c.kind) << " " << c.w << " x " << c.h
                     << ", pen " << c.width << (c.clockwise ? ", clockwise" : ""));
        const int* p = c.points;
        QImage image;
        if (c.emf) {
            EmfWriter emf = redBrush(24, 24)
                                .rec(38, {2, c.width < 0 ? 5u : 0u,
                                          std::uint32_t(std::max(c.width, 0)), 0, 0xFF0000})
                                .rec(37, {2});
            if (c.clockwise) emf.rec(57, {2});
            const std::uint32_t types[] = {45, 46, 47};
            emf.rec(types[int(c.kind)],
                    {8, 8, std::uint32_t(7 + c.w), std::uint32_t(7 + c.h), std::uint32_t(p[0]),
                     std::uint32_t(p[1]), std::uint32_t(p[2]), std::uint32_t(p[3])});
            image = decoded(emf.bytes());
        } else {
            const std::uint16_t functions[] = {0x0817, 0x0830, 0x081A};
            image = decoded(
                WmfWriter(24, 24)
                    .rec(0x02FC, {0, 0xFF, 0, 0})
                    .rec(0x012D, {0})
                    .rec(0x02FA, {c.width < 0 ? 5 : 0, std::max(c.width, 0), 0, 0, 0xFF})
                    .rec(0x012D, {1})
                    .rec(functions[int(c.kind)], {p[3], p[2], p[1], p[0], 8 + c.h, 8 + c.w, 8, 8})
                    .bytes());
        }
        QString seen;
        for (int y = 6; y < 20; ++y) {
            if (y > 6) seen += '/';
            for (int x = 6; x < 20; ++x) {
                const QRgb px = image.pixel(x, y);
                seen += px == kWhitePx ? '.' : px == kRedPx ? 'R' : px == 0xFF0000FFu ? 'B' : '?';
            }
        }
        EXPECT_EQ(seen.toStdString(), c.drawn);
    }
}

TEST(MetafileDrawing, ArcToDrawsAsGdiDrawsItAndEndsOnTheEllipse) {
    // A line from (5, 19) to the arc's first pixel, on along the 8 x 8 Ellipse outline of
    // ArcsChordsAndPiesDrawAsGdiDrawsThem's first case, then LineTo (18, 21) from the whole
    // point of the ellipse on the end radial; what GDI drew in the 18 x 18 pixels from (4, 4).
    const QImage image = decoded(EmfWriter(24, 24)
                                     .rec(38, {2, 0, 1, 0, 0xFF0000})
                                     .rec(37, {2})
                                     .rec(27, {5, 19})
                                     .rec(55, {8, 8, 15, 15, 40, 12, 12, 0})
                                     .rec(54, {18, 21})
                                     .bytes());
    QString seen;
    for (int y = 4; y < 22; ++y) {
        if (y > 4) seen += '/';
        for (int x = 4; x < 22; ++x) seen += image.pixel(x, y) == kWhitePx ? '.' : 'B';
    }
    EXPECT_EQ(seen.toStdString(),
              ".................."
              "/................../................../................../........B........."
              "/........BB......../.........BB......./.........BB......./.........BB......."
              "/........B.B......./.......B...B....../.....BB....B....../....B.......B....."
              "/...B........B...../..B..........B..../.B...........B..../..............B..."
              "/..................");
}

// A pentagram, whose centre the two fill modes treat differently.
QByteArray star(std::uint32_t fillMode, bool wmf) {
    const int pts[5][2] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    if (wmf) {
        WmfWriter w(48, 48);
        w.rec(0x02FC, {0, 0xFF, 0, 0}).rec(0x012D, {0}).rec(0x0106, {int(fillMode)});
        std::vector<int> params{5};
        for (const auto& p : pts) params.insert(params.end(), {p[0], p[1]});
        QByteArray body = w.bytes();
        // POLYGON written by hand: the writer takes an initializer list.
        QByteArray rec;
        put32(rec, static_cast<std::uint32_t>(3 + params.size()));
        put16(rec, 0x0324);
        for (const int v : params) put16(rec, static_cast<std::uint32_t>(v));
        body.insert(body.size() - 6, rec);
        return body;
    }
    EmfWriter e = redBrush(48, 48);
    e.rec(19, {fillMode});
    QByteArray poly;
    for (const std::uint32_t v : {0u, 0u, 0u, 0u, 5u}) put32(poly, v);
    for (const auto& p : pts) put32(poly, xy16(p[0], p[1]));
    e.raw(86, poly);
    return e.bytes();
}

TEST(MetafileDrawing, PolygonFillModesDifferInTheStarsCentre) {
    for (const bool wmf : {false, true}) {
        SCOPED_TRACE(wmf ? "WMF" : "EMF");
        const QImage alternate = decoded(star(1, wmf)), winding = decoded(star(2, wmf));
        EXPECT_EQ(alternate.pixel(20, 20), kWhitePx);
        EXPECT_EQ(winding.pixel(20, 20), kRedPx);
        EXPECT_EQ(alternate.pixel(20, 8), kRedPx);  // a point of the star: filled by both
        EXPECT_EQ(winding.pixel(20, 8), kRedPx);
    }
}

TEST(MetafileDrawing, ClipRectanglesAndPathsLimitDrawing) {
    // Intersect a clip rectangle, then fill the whole picture.
    QImage image = decoded(redBrush(48, 48)
                               .rec(37, {0x80000008})
                               .rec(30, {10, 10, 20, 20})
                               .rec(29, {12, 12, 14, 14})  // exclude a hole
                               .rec(43, {0, 0, 30, 30})
                               .bytes());
    EXPECT_EQ(image.pixel(5, 5), kWhitePx);
    EXPECT_EQ(image.pixel(15, 15), kRedPx);
    EXPECT_EQ(image.pixel(12, 12), kWhitePx);
    EXPECT_EQ(image.pixel(20, 15), kWhitePx);  // the right edge is outside
    // A triangular path as the clip.
    image = decoded(redBrush(48, 48)
                        .rec(37, {0x80000008})
                        .rec(59, {})
                        .rec(27, {0, 0})
                        .rec(54, {30, 0})
                        .rec(54, {0, 30})
                        .rec(61, {})
                        .rec(60, {})
                        .rec(67, {5})
                        .rec(43, {0, 0, 30, 30})
                        .bytes());
    EXPECT_EQ(image.pixel(5, 5), kRedPx);
    EXPECT_EQ(image.pixel(25, 25), kWhitePx);
}

TEST(MetafileDrawing, TheMetaRegionOutlivesTheClipAndTheClipMoves) {
    const auto filled = [](const std::function<void(EmfWriter&)>& clip) {
        EmfWriter e = redBrush(40, 40);
        e.rec(37, {0x80000008});  // no pen
        clip(e);
        return ink(decoded(e.rec(43, {0, 0, 40, 40}).bytes()));
    };
    // IntersectClipRect, SetMetaRgn, then the clip reset by ExtSelectClipRgn(NULL, RGN_COPY).
    EXPECT_EQ(filled([](EmfWriter& e) {
                  e.rec(30, {0, 0, 20, 20}).rec(28, {}).rec(75, {0, 5});
              }),
              QRect(0, 0, 20, 20));
    EXPECT_EQ(filled([](EmfWriter& e) {
                  e.rec(30, {0, 0, 20, 20}).rec(75, {0, 5});
              }),
              QRect(0, 0, 40, 40));
    // OffsetClipRgn by (10, 5).
    EXPECT_EQ(filled([](EmfWriter& e) {
                  e.rec(30, {0, 0, 10, 10}).rec(26, {10, 5});
              }),
              QRect(10, 5, 10, 10));
}

TEST(MetafileDrawing, GradientsShadeBetweenTheirVertexColours) {
    // Vertices (x, y, red | green << 16, blue | alpha << 16) and shapes; mode 0 shades
    // across, 2 triangles.
    const auto gradient = [](std::uint32_t mode, std::initializer_list<std::uint32_t> shapes) {
        EmfWriter e(40, 40);
        QByteArray body;
        const std::uint32_t count = static_cast<std::uint32_t>(shapes.size()) / (mode == 2 ? 3 : 2);
        for (const std::uint32_t v : {0u, 0u, 40u, 40u, 3u, count, mode})  // bounds, counts
            put32(body, v);
        for (const std::uint32_t v : {0u, 0u, 0xFF00u, 0u,          // (0, 0) red
                                      40u, 40u, 0u, 0xFF00u,        // (40, 40) blue
                                      0u, 40u, 0xFF00u << 16, 0u})  // (0, 40) green
            put32(body, v);
        for (const std::uint32_t v : shapes) put32(body, v);
        return decoded(e.raw(118, body).bytes());
    };
    const QImage across = gradient(0, {0, 1});
    EXPECT_EQ(across.pixel(0, 20), 0xFFFC0003u);  // the first column nearly red
    EXPECT_EQ(across.pixel(39, 5), 0xFF0300FCu);  // the last nearly blue
    EXPECT_EQ(qRed(across.pixel(20, 30)), qBlue(across.pixel(19, 30)));  // even in between
    const QImage triangle = gradient(2, {0, 1, 2});
    EXPECT_EQ(triangle.pixel(30, 5), kWhitePx);  // above the diagonal: outside
    EXPECT_GT(qGreen(triangle.pixel(1, 38)), 200);
    EXPECT_GT(qRed(triangle.pixel(1, 2)), 200);
}

TEST(MetafileDrawing, ArcToLinesToTheArcAndEndsWhereItEnds) {
    // MoveTo (0, 10); ArcTo the top half of the circle in (20, 0)-(60, 40), from its right
    // end (60, 20) to its left end (20, 20), counter-clockwise; LineTo (20, 39).
    EmfWriter e(80, 40);
    e.rec(27, {0, 10}).rec(55, {20, 0, 60, 40, 60, 20, 20, 20}).rec(54, {20, 39});
    const QImage image = decoded(e.bytes());
    EXPECT_EQ(image.pixel(30, 15), kBlackPx);  // on the line from (0, 10) to (60, 20)
    EXPECT_EQ(image.pixel(40, 0), kBlackPx);   // the arc's top
    EXPECT_EQ(image.pixel(40, 39), kWhitePx);  // not its bottom
    EXPECT_EQ(image.pixel(20, 30), kBlackPx);  // on to (20, 39) from the arc's end
}

TEST(MetafileDrawing, SmallTextOutDrawsItsCharacters) {
    // At (10, 30), two 8-bit characters, ETO_NO_RECT | ETO_SMALL_CHARS, baseline aligned.
    EmfWriter e(60, 40);
    e.rec(22, {24}).rec(108, {10, 30, 2, 0x300, 1, 0, 0, 'H' | 'H' << 8});
    const QRect ink = nt::ink(decoded(e.bytes()));
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_EQ(ink.bottom(), 29);
    EXPECT_GE(ink.left(), 10);
}

TEST(MetafileDrawing, PathsFillAndStroke) {
    const QImage image = decoded(redBrush(48, 48)
                                     .rec(59, {})
                                     .rec(27, {2, 2})
                                     .rec(54, {27, 2})
                                     .rec(54, {27, 27})
                                     .rec(54, {2, 27})
                                     .rec(61, {})
                                     .rec(60, {})
                                     .rec(63, {0, 0, 0, 0})  // stroke and fill
                                     .bytes());
    EXPECT_EQ(image.pixel(15, 15), kRedPx);
    EXPECT_EQ(image.pixel(15, 2), kBlackPx);
    EXPECT_EQ(image.pixel(2, 15), kBlackPx);
    EXPECT_EQ(image.pixel(1, 1), kWhitePx);
}

TEST(MetafileDrawing, XorPenTwiceLeavesThePicture) {
    EmfWriter e(24, 24);
    e.rec(20, {7});  // R2_XORPEN
    for (int i = 0; i < 2; ++i) e.rec(27, {1, 10}).rec(54, {19, 10});
    const QImage once =
        decoded(EmfWriter(24, 24).rec(20, {7}).rec(27, {1, 10}).rec(54, {19, 10}).bytes());
    EXPECT_EQ(once.pixel(5, 10), kBlackPx ^ 0xFFFFFFu);  // white xor black pen... is white
    const QImage twice = decoded(e.bytes());
    EXPECT_EQ(twice.pixel(5, 10), kWhitePx);
}

// Which of a few probe points a picture paints with the red brush.
struct Probe {
    int x, y;
    bool red;
};

TEST(MetafileDrawing, CurvesArcsAndRoundedShapesCoverTheRightPlaces) {
    struct Case {
        const char* what;
        QByteArray file;
        std::vector<Probe> probes;
    } cases[] = {
        {"pie from 3 o'clock counter-clockwise to 12 o'clock: the upper right quarter",
         redBrush(48, 48).rec(47, {4, 4, 44, 44, 44, 24, 24, 4}).bytes(),
         {{32, 16, true}, {16, 16, false}, {32, 32, false}, {16, 32, false}}},
        {"chord over the same arc: the segment beyond the chord only",
         redBrush(48, 48).rec(46, {4, 4, 44, 44, 44, 24, 24, 4}).bytes(),
         {{36, 12, true}, {27, 21, false}}},
        {"clockwise arc direction turns the pie to the other three quarters",
         redBrush(48, 48).rec(57, {2}).rec(47, {4, 4, 44, 44, 44, 24, 24, 4}).bytes(),
         {{32, 16, false}, {16, 16, true}, {32, 32, true}}},
        {"rounded rectangle: corners cut, middle filled",
         redBrush(48, 48).rec(44, {4, 4, 44, 44, 20, 20}).bytes(),
         {{5, 5, false}, {24, 5, true}, {5, 24, true}, {24, 24, true}}},
        {"ellipse: centre filled, box corners empty",
         redBrush(48, 48).rec(42, {4, 10, 44, 38}).bytes(),
         {{24, 24, true}, {6, 12, false}, {42, 36, false}, {24, 11, true}}},
        {"closed Bezier path filled: its bulge is inside",
         redBrush(48, 48)
             .rec(59, {})
             .rec(27, {4, 40})
             .rec(5, {0, 0, 0, 0, 3, 4, 0, 44, 0, 44, 40})
             .rec(61, {})
             .rec(60, {})
             .rec(62, {0, 0, 0, 0})
             .bytes(),
         {{24, 20, true}, {24, 44, false}, {24, 6, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage image = decoded(c.file);
        for (const Probe& p : c.probes)
            EXPECT_EQ(image.pixel(p.x, p.y) == kRedPx, p.red) << p.x << "," << p.y;
    }
}

TEST(MetafileDrawing, WmfWindowOriginAndExtentMapOntoThePicture) {
    // A 48-pixel picture showing the window 100..300 x 200..400: the box 150..250 x 250..350
    // lands at 12..36 in both directions.
    const QImage image = decoded(WmfWriter(48, 48)
                                     .rec(0x020B, {200, 100})  // window origin (y, x)
                                     .rec(0x020C, {200, 200})  // window extent
                                     .rec(0x02FC, {0, 0xFF, 0, 0})
                                     .rec(0x012D, {0})
                                     .rec(0x02FA, {5, 0, 0, 0, 0})  // null pen
                                     .rec(0x012D, {1})
                                     .rec(0x041B, {350, 250, 250, 150})
                                     .bytes());
    // Without a pen the brush stops a pixel short of the right and bottom sides, as in GDI.
    EXPECT_EQ(image.pixel(12, 12), kRedPx);
    EXPECT_EQ(image.pixel(34, 34), kRedPx);
    EXPECT_EQ(image.pixel(11, 24), kWhitePx);
    EXPECT_EQ(image.pixel(35, 24), kWhitePx);
}

TEST(MetafileDrawing, PlainWmfTakesItsFirstWindowOriginAndExtentWhereverTheyCome) {
    // A box drawn before either record, then the extent, then the origin: the picture is the
    // extent's size and the box is placed by that later origin (as GDI plays such files).
    const QImage image = decoded(WmfWriter(0, 0, 0)
                                     .rec(0x02FC, {0, 0xFF, 0, 0})
                                     .rec(0x012D, {0})
                                     .rec(0x041B, {40, 60, 10, 10})
                                     .rec(0x020C, {100, 200})  // window extent (y, x)
                                     .rec(0x020B, {20, 20})    // window origin
                                     .bytes());
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(30, 15), kRedPx);
    EXPECT_EQ(image.pixel(45, 25), kWhitePx);
}

TEST(MetafileDrawing, RegionsFillAndClip) {
    // WMF CreateRegion: one scan 10..20 with the span 5..15, filled red by FillRegion.
    const QImage image = decoded(WmfWriter(48, 48)
                                     .rec(0x06FF, {0, 6, 0, 0, 0, 1, 0, 5, 10, 15, 20,  // header
                                                   2, 10, 20, 5, 15, 2})                // the scan
                                     .rec(0x02FC, {0, 0xFF, 0, 0})
                                     .rec(0x0228, {0, 1})
                                     .bytes());
    EXPECT_EQ(image.pixel(10, 15), kRedPx);
    EXPECT_EQ(image.pixel(16, 15), kWhitePx);
    EXPECT_EQ(image.pixel(10, 21), kWhitePx);
}

// A 2 x 2 bottom-up 24-bit DIB: bottom row blue, green; top row red, white.
QByteArray tinyDib() {
    test::Dib d;
    d.width = 2;
    d.height = 2;
    d.bitCount = 24;
    d.bits = QByteArray::fromHex(
        "ff0000"
        "00ff00"
        "0000"
        "0000ff"
        "ffffff"
        "0000");
    return test::packedDib(d);
}

TEST(MetafileDrawing, StretchDibitsScalesTheBitmapTheRightWayUp) {
    const QByteArray body = test::stretchDibits(tinyDib(), 2, 2, 4, 6, 8, 8);
    const QImage image = decoded(EmfWriter(24, 24).raw(81, body).bytes());
    EXPECT_EQ(image.pixel(5, 7), 0xFFFF0000u);    // top-left quarter red
    EXPECT_EQ(image.pixel(10, 7), kWhitePx);      // top-right white
    EXPECT_EQ(image.pixel(5, 12), 0xFF0000FFu);   // bottom-left blue
    EXPECT_EQ(image.pixel(10, 12), 0xFF00FF00u);  // bottom-right green
    EXPECT_EQ(image.pixel(3, 7), kWhitePx);       // outside
}

// SetWorldTransform's record body: the six numbers of the transform.
QByteArray worldTransform(std::initializer_list<float> numbers) {
    QByteArray body;
    for (const float f : numbers) put32(body, std::bit_cast<std::uint32_t>(f));
    return body;
}

TEST(MetafileDrawing, BitmapsTurnWithTheWorldTransform) {
    const QByteArray bitmap = test::stretchDibits(tinyDib(), 2, 2, 4, 6, 8, 8);
    // A quarter turn, x' = 40 - y, y' = x: the bitmap's top edge lands on the right side.
    const QImage quarter = decoded(
        EmfWriter(48, 48).raw(35, worldTransform({0, 1, -1, 0, 40, 0})).raw(81, bitmap).bytes());
    EXPECT_EQ(quarter.pixel(33, 5), 0xFFFF0000u);   // red: top-left of the bitmap
    EXPECT_EQ(quarter.pixel(33, 10), kWhitePx);     // white: top-right
    EXPECT_EQ(quarter.pixel(28, 5), 0xFF0000FFu);   // blue: bottom-left
    EXPECT_EQ(quarter.pixel(28, 10), 0xFF00FF00u);  // green: bottom-right
    EXPECT_EQ(quarter.pixel(25, 8), kWhitePx);      // outside
    EXPECT_EQ(quarter.pixel(30, 12), kWhitePx);
    // An eighth turn about the bitmap's top-left corner (4, 6), which stays put: the square
    // stands on that corner, its right corner near (9.7, 11.7), its bottom one near (4, 17.3).
    const float c = std::sqrt(0.5f);
    const QImage eighth =
        decoded(EmfWriter(48, 48)
                    .raw(35, worldTransform({c, c, -c, c, 4 - 4 * c + 6 * c, 6 - 4 * c - 6 * c}))
                    .raw(81, bitmap)
                    .bytes());
    EXPECT_EQ(eighth.pixel(4, 8), 0xFFFF0000u);   // red: just below the top corner
    EXPECT_EQ(eighth.pixel(8, 11), kWhitePx);     // white: toward the right corner
    EXPECT_EQ(eighth.pixel(0, 11), 0xFF0000FFu);  // blue: toward the left corner
    EXPECT_EQ(eighth.pixel(4, 16), 0xFF00FF00u);  // green: the bottom corner
    EXPECT_EQ(eighth.pixel(0, 8), kWhitePx);      // outside, beside the top-left edge
    EXPECT_EQ(eighth.pixel(10, 6), kWhitePx);     // outside, beside the top-right edge
}

TEST(MetafileDrawing, WidePensEndAndTurnAsTheirStyleSays) {
    // ExtCreatePen, geometric, 10 wide, black, with end cap and join bits; a corner at (60, 40)
    // between (20, 40) and (60, 10).
    const auto corner = [](std::uint32_t shape) {
        EmfWriter e(80, 60);
        e.rec(95, {1, 0, 0, 0, 0, 0x10000 | shape, 10, 0, 0, 0, 0}).rec(37, {1});
        QByteArray line;
        for (const std::uint32_t v : {0u, 0u, 0u, 0u, 3u, 20u, 40u, 60u, 40u, 60u, 10u})
            put32(line, v);
        return decoded(e.raw(4, line).bytes());  // Polyline
    };
    const QImage round = corner(0), flat = corner(0x200), square = corner(0x100);
    const QImage mitre = corner(0x2200), bevel = corner(0x1200);
    EXPECT_EQ(round.pixel(17, 40), kBlackPx);  // a round end reaches past the point
    EXPECT_EQ(flat.pixel(18, 40), kWhitePx);   // a flat one stops there
    EXPECT_EQ(flat.pixel(21, 40), kBlackPx);
    EXPECT_EQ(square.pixel(17, 40), kBlackPx);  // a square one by half the width
    EXPECT_EQ(square.pixel(17, 44), kBlackPx);  // ...with corners
    EXPECT_EQ(round.pixel(17, 44), kWhitePx);
    EXPECT_EQ(mitre.pixel(64, 44), kBlackPx);  // the outer corner: mitred
    EXPECT_EQ(bevel.pixel(64, 44), kWhitePx);  // cut
    EXPECT_EQ(bevel.pixel(62, 42), kBlackPx);
}

TEST(MetafileDrawing, WideDashedPensDashInMultiplesOfTheirWidth) {
    // ExtCreatePen: geometric, flat ends, PS_DASH, 4 wide, red; a line across a 100-wide
    // picture: dashes of 12 pixels, gaps of 4, cut square.
    EmfWriter e(100, 40);
    e.rec(95, {1, 0, 0, 0, 0, 0x10201, 4, 0, 0x0000FF, 0, 0}).rec(37, {1});
    const QImage image = decoded(e.rec(27, {2, 20}).rec(54, {98, 20}).bytes());
    std::vector<int> runs{0};
    bool red = true;
    for (int x = 2; x < 98; ++x) {
        if ((image.pixel(x, 20) == kRedPx) != red) {
            red = !red;
            runs.push_back(0);
        }
        ++runs.back();
    }
    ASSERT_GE(runs.size(), 10u);
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) EXPECT_EQ(runs[i], i % 2 ? 4 : 12) << i;
    EXPECT_EQ(image.pixel(10, 17), kWhitePx);  // two pixels above and below the middle
    EXPECT_EQ(image.pixel(10, 18), kRedPx);
    EXPECT_EQ(image.pixel(10, 21), kRedPx);
    EXPECT_EQ(image.pixel(10, 22), kWhitePx);
}

TEST(MetafileDrawing, HatchesLeaveTheirBackgroundInTheTransparentMode) {
    constexpr Pixel kBluePx = 0xFF0000FFu;
    for (const std::uint32_t mode : {1u, 2u}) {  // TRANSPARENT, OPAQUE
        EmfWriter e = redBrush(40, 40);
        e.rec(37, {0x80000008}).rec(43, {0, 0, 40, 40});  // no pen; the picture red
        e.rec(39, {2, 2, 0xFF0000, 0}).rec(37, {2}).rec(18, {mode}).rec(43, {0, 0, 40, 40});
        const QImage image = decoded(e.bytes());
        std::map<Pixel, int> column;
        for (int y = 4; y < 36; ++y) ++column[image.pixel(20, y)];
        EXPECT_GT(column[kBluePx], 0) << mode;  // horizontal hatch lines
        EXPECT_EQ(column[kRedPx] > 0, mode == 1) << mode;
        EXPECT_EQ(column[kWhitePx] > 0, mode == 2) << mode;
    }
}

// "HH" at (50, 50) in one EMF text record.
struct TextCase {
    std::uint32_t align = 24;  // TA_BASELINE
    std::int32_t escapement = 0;
    std::int32_t height = -20;
    const char* face = "Arial";
    std::int32_t weight = 400;
    std::uint8_t quality = 0;
    std::uint32_t graphicsMode = 1;
    float scaleX = 1, scaleY = 1;  // of the world transform
};

QByteArray textEmf(const TextCase& c) {
    QByteArray font;
    put32(font, 1);
    for (const std::int32_t v : {c.height, 0, c.escapement, c.escapement, c.weight})
        put32(font, static_cast<std::uint32_t>(v));
    put32(font, 0);  // italic, underline, strike-out, charset
    put32(font, static_cast<std::uint32_t>(c.quality) << 16);  // precisions, quality, pitch
    const QByteArray face(c.face);
    for (const char ch : face) put16(font, static_cast<std::uint8_t>(ch));
    font.append(QByteArray(64 - 2 * face.size(), 0));  // the rest of the 32-character face
    QByteArray text;
    for (const std::uint32_t v :
         {0u, 0u, 0u, 0u, c.graphicsMode, 0u, 0u, 50u, 50u, 2u, 76u, 0u, 0u, 0u, 0u, 0u, 0u})
        put32(text, v);
    put16(text, 'H');
    put16(text, 'H');
    QByteArray world;
    for (const float f : {c.scaleX, 0.0f, 0.0f, c.scaleY, 0.0f, 0.0f})
        put32(world, std::bit_cast<std::uint32_t>(f));
    EmfWriter e(96, 96);
    e.raw(35, world).raw(82, font).rec(37, {1}).rec(22, {c.align}).rec(18, {1});
    return e.raw(84, text).bytes();
}

QByteArray textEmf(std::uint32_t align, std::int32_t escapement) {
    return textEmf({.align = align, .escapement = escapement});
}

// Whether any pixel is blended between the text colour and the background.
bool smoothed(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhitePx && image.pixel(x, y) != kBlackPx) return true;
    return false;
}

TEST(MetafileDrawing, FontsAreMadeAsTheDrawingSystemMakesThem) {
    // Times New Roman is drawn with its metric twin, not the Latin fallback.
    const QImage times = decoded(textEmf({.face = "Times New Roman"}));
    EXPECT_EQ(times, decoded(textEmf({.face = "Liberation Serif"})));
    EXPECT_NE(times, decoded(textEmf({.face = "Liberation Sans"})));
    // A cell height of 23 is the em of 21 (Windows ascent + descent = 1.117 em).
    EXPECT_EQ(decoded(textEmf({.height = 23})), decoded(textEmf({.height = -21})));
    // Heights scaled by the mapping are cut to whole pixels: 20.8 draws as 20.
    const QImage scaled = decoded(textEmf({.height = -26, .scaleX = 0.8f, .scaleY = 0.8f}));
    const QImage twenty = decoded(textEmf({.height = -20}));
    const QImage twentyOne = decoded(textEmf({.height = -21}));
    EXPECT_EQ(scaled.copy(ink(scaled)), twenty.copy(ink(twenty)));
    EXPECT_NE(scaled.copy(ink(scaled)), twentyOne.copy(ink(twentyOne)));
    // Only the advanced graphics mode narrows the glyphs under a narrowing mapping.
    const int plain = ink(decoded(textEmf({}))).width();
    const int advanced = ink(decoded(textEmf({.graphicsMode = 2, .scaleX = 0.5f}))).width();
    const int compatible = ink(decoded(textEmf({.graphicsMode = 1, .scaleX = 0.5f}))).width();
    EXPECT_NEAR(advanced, plain / 2, 2);
    EXPECT_GT(compatible, advanced + 4);
    // Smoothing: large glyphs of the default quality, never NONANTIALIASED_QUALITY, and not
    // the sizes the face's gasp table keeps sharp.
    EXPECT_TRUE(smoothed(decoded(textEmf({.height = -40}))));
    EXPECT_FALSE(smoothed(decoded(textEmf({.height = -40, .quality = 3}))));
    EXPECT_FALSE(smoothed(decoded(textEmf({.height = -12}))));
}

TEST(MetafileDrawing, OfficeFacesAreDrawnWithTheirMetricTwinsAndBoldIsBold) {
    for (const auto& [face, twin] : {std::pair{"Calibri", "Carlito"}, {"Cambria", "Caladea"}}) {
        SCOPED_TRACE(face);
        const QImage regular = decoded(textEmf({.face = face}));
        EXPECT_EQ(regular, decoded(textEmf({.face = twin})));
        EXPECT_NE(regular, decoded(textEmf({.face = "Liberation Sans"})));
        const QImage bold = decoded(textEmf({.face = face, .weight = 700}));
        EXPECT_EQ(bold, decoded(textEmf({.face = twin, .weight = 700})));
        // Bold strokes are thicker: darker in all for the same two letters.
        const auto darkness = [](const QImage& image) {
            long long sum = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
            return sum;
        };
        EXPECT_GT(darkness(bold), darkness(regular) * 6 / 5);
    }
}

TEST(MetafileDrawing, OpaqueTextWithoutCharactersFillsItsRectangle) {
    // SetBkColor black, then ExtTextOut with ETO_OPAQUE over (2, 3)-(20, 15) and no characters.
    QByteArray emfText;
    for (const std::uint32_t v :
         {0u, 0u, 0u, 0u, 1u, 0u, 0u, 5u, 5u, 0u, 76u, 2u, 2u, 3u, 20u, 15u, 0u})
        put32(emfText, v);
    const QByteArray emf = EmfWriter(48, 48).rec(25, {0}).raw(84, emfText).bytes();
    const QByteArray wmf = WmfWriter(48, 48)
                               .rec(0x0201, {0, 0})  // SetBkColor black
                               .rec(0x0A32, {5, 5, 0, 2, 2, 3, 20, 15})
                               .bytes();
    for (const QByteArray& file : {emf, wmf}) {
        const QImage image = decoded(file);
        EXPECT_EQ(ink(image), QRect(QPoint(2, 3), QPoint(19, 14)));
        EXPECT_EQ(image.pixel(2, 3), kBlackPx);
        EXPECT_EQ(image.pixel(19, 14), kBlackPx);
    }
}

TEST(MetafileDrawing, TextAlignsOnItsReferencePointAndTurnsWithTheEscapement) {
    const QRect top = ink(decoded(textEmf(0, 0)));        // TA_TOP | TA_LEFT
    const QRect baseline = ink(decoded(textEmf(24, 0)));  // TA_BASELINE
    const QRect right = ink(decoded(textEmf(2, 0)));      // TA_RIGHT
    const QRect turned = ink(decoded(textEmf(24, 900)));  // 90 degrees, baseline
    ASSERT_FALSE(top.isEmpty());
    EXPECT_GE(top.top(), 50);
    EXPECT_LE(top.left(), 53);
    EXPECT_EQ(baseline.bottom(), 49);  // capitals stand on the baseline
    EXPECT_LT(right.right(), 50);
    EXPECT_GT(right.right(), 45);
    EXPECT_GT(turned.height(), turned.width());  // the line runs upwards...
    EXPECT_EQ(turned.right(), 49);               // ...with the glyphs left of the point
    EXPECT_LT(turned.bottom(), 51);
}

}  // namespace
}  // namespace nt
