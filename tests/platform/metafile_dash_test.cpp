// Styled thin pens and the brushes beneath them in metafiles, against what GDI drew for the
// same records: the pattern runs on from one segment of a figure to the next, an opaque
// background mode fills its gaps with the background colour, and a transparent one shows what
// the brush left there.

#include <span>

#include <gtest/gtest.h>

#include "MetafileBuilder.h"
#include "platform/Picture.h"

namespace nt {
namespace {

using test::EmfWriter;
using test::put32;
using test::WmfWriter;
using test::xy16;

// The picture as rows of '.' (white), 'R' (red), 'Y' (yellow) and '?' (anything else).
std::string rows(const QByteArray& file) {
    auto result = decodePicture(file);
    const auto* image = std::get_if<QImage>(&result);
    if (!image) return "not decoded";
    std::string out;
    for (int y = 0; y < image->height(); ++y) {
        if (y > 0) out += '/';
        for (int x = 0; x < image->width(); ++x) {
            switch (image->pixel(x, y)) {
                case 0xFFFFFFFFu:
                    out += '.';
                    break;
                case 0xFFFF0000u:
                    out += 'R';
                    break;
                case 0xFFFFFF00u:
                    out += 'Y';
                    break;
                default:
                    out += '?';
            }
        }
    }
    return out;
}

// EMR_POLYLINE16 through the points.
QByteArray polyline16(std::initializer_list<std::pair<int, int>> points) {
    QByteArray body;
    for (const std::uint32_t v : {0u, 0u, 0u, 0u, static_cast<std::uint32_t>(points.size())})
        put32(body, v);
    for (const auto& [x, y] : points) put32(body, xy16(x, y));
    return body;
}

constexpr std::uint32_t kRedRef = 0x0000FF, kYellowRef = 0x00FFFF;
constexpr int kDash = 1, kDot = 2, kDashDot = 3, kTransparent = 1;

// A file and the rows GDI drew for it.
struct Case {
    const char* what;
    QByteArray file;
    const char* drawn;
};

void expectDrawnAsGdi(std::span<const Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rows(c.file), c.drawn);
    }
}

TEST(MetafileDashes, StyledPensDrawAsGdiDrawsThem) {
    const Case cases[] = {
        {"a dashed polyline, transparent: its last segment goes on from the dash's 17th pixel",
         EmfWriter(26, 14)
             .rec(38, {1, kDash, 1, 0, kRedRef})
             .rec(37, {1})
             .rec(18, {kTransparent})
             .raw(87, polyline16({{2, 2}, {9, 2}, {9, 11}, {22, 11}}))
             .bytes(),
         "........................../........................../..RRRRRRRR................/"
         ".........R................/.........R................/.........R................/"
         ".........R................/.........R................/.........R................/"
         ".........R................/.........R................/.........RR......RRRRR..../"
         "........................../.........................."},
        {"a dotted zigzag polygon, opaque: the gaps take the background colour",
         WmfWriter(24, 10)
             .rec(0x02FC, {1, 0, 0, 0})
             .rec(0x012D, {0})
             .rec(0x02FA, {kDot, 1, 0, 0x00FF, 0})
             .rec(0x012D, {1})
             .rec(0x0201, {0xFFFF, 0})
             .rec(0x0324, {7, 2, 2, 5, 7, 8, 2, 11, 7, 14, 2, 17, 7, 20, 2})
             .bytes(),
         "......................../......................../..RYYYRRRYYYRRRYYYRRR.../"
         "...R...Y.Y...R.Y...Y..../...R...R.R...R.Y...Y..../....Y.R...R.Y...Y.Y...../"
         "....Y.R...R.Y...R.R...../.....Y.....Y.....R....../......................../"
         "........................"},
        {"a dash-dot ellipse, opaque",
         EmfWriter(18, 14)
             .rec(38, {1, kDashDot, 1, 0, kRedRef})
             .rec(37, {1})
             .rec(37, {0x80000005})
             .rec(25, {kYellowRef})
             .rec(42, {2, 2, 15, 11})
             .bytes(),
         "................../................../......YRRRR......./....YY.....RR...../"
         "...Y.........R..../..Y...........R.../..Y...........R.../..R...........R.../"
         "...R.........R..../....RY.....RR...../......YYYYY......./................../"
         "................../.................."},
    };
    expectDrawnAsGdi(cases);
}

TEST(MetafileDashes, BrushesFillAsGdiFillsThem) {
    // A yellow brush in WMF object 0 and a thin red pen of the style in object 1.
    const auto wmf = [](int width, int height, int style) {
        WmfWriter w(width, height);
        w.rec(0x02FC, {0, 0xFFFF, 0, 0}).rec(0x012D, {0});
        w.rec(0x02FA, {style, 1, 0, 0x00FF, 0}).rec(0x012D, {1}).rec(0x0102, {kTransparent});
        return w;
    };
    const Case cases[] = {
        {"a polygon without a pen fills the pixels whose top-left corners it holds",
         EmfWriter(20, 15)
             .rec(39, {2, 0, kYellowRef, 0})
             .rec(37, {2})
             .rec(37, {0x80000008})
             .raw(86, polyline16({{2, 2}, {17, 5}, {6, 13}}))
             .bytes(),
         "..................../..................../..................../...YYYY............./"
         "...YYYYYYYYY......../....YYYYYYYYYYYYY.../....YYYYYYYYYYYY..../....YYYYYYYYYYY...../"
         ".....YYYYYYYY......./.....YYYYYYY......../.....YYYYYY........./......YYY.........../"
         "......YY............/..................../...................."},
        {"a WMF rectangle: the dashes start at the top-right corner, the brush stays inside",
         wmf(24, 14, kDash).rec(0x041B, {12, 21, 2, 2}).bytes(),
         "......................../......................../...RRRRRRRRRRRRRRRRRR.../"
         "...YYYYYYYYYYYYYYYYYR.../...YYYYYYYYYYYYYYYYYR.../...YYYYYYYYYYYYYYYYYR.../"
         "...YYYYYYYYYYYYYYYYYR.../...YYYYYYYYYYYYYYYYYR.../..RYYYYYYYYYYYYYYYYYR.../"
         "..RYYYYYYYYYYYYYYYYY..../..RYYYYYYYYYYYYYYYYY..../..RRRRRRRRRRRRRRR......./"
         "......................../........................"},
        {"a dotted WMF ellipse over the brush, which also fills beneath the outline",
         wmf(20, 14, kDot).rec(0x0418, {12, 17, 2, 2}).bytes(),
         "..................../..................../......YYYRRRY......./....RRYYYYYYYYY...../"
         "...RYYYYYYYYYYYR..../..YYYYYYYYYYYYYYR.../..YYYYYYYYYYYYYYR.../..YYYYYYYYYYYYYYY.../"
         "..RYYYYYYYYYYYYYR.../...RYYYYYYYYYYYR..../....RYYYYYYYYYR...../......YYRRRYY......./"
         "..................../...................."},
        {"a dashed EMF round rectangle over the brush",
         EmfWriter(24, 14)
             .rec(39, {2, 0, kYellowRef, 0})
             .rec(37, {2})
             .rec(38, {1, kDash, 1, 0, kRedRef})
             .rec(37, {1})
             .rec(18, {kTransparent})
             .rec(44, {2, 2, 21, 12, 8, 6})
             .bytes(),
         "......................../......................../....RRRRRRRRRRRRRRR...../"
         "...RYYYYYYYYYYYYYYYR..../..YYYYYYYYYYYYYYYYYYR.../..YYYYYYYYYYYYYYYYYYY.../"
         "..YYYYYYYYYYYYYYYYYYY.../..YYYYYYYYYYYYYYYYYYY.../..YYYYYYYYYYYYYYYYYYY.../"
         "..YYYYYYYYYYYYYYYYYYR.../...RYYYYYYYYYYYYYYYR..../....RRRRRRRRRRRRRRR...../"
         "......................../........................"},
    };
    expectDrawnAsGdi(cases);
}

}  // namespace
}  // namespace nt
