// Crafted metafiles that ask the player for seconds of work or gigabytes of memory: each is
// stopped within the work budget and the memory cap. The work charged and the bytes held are
// deterministic, so they are what is asserted; what they cost in time is in the note.

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>
#include <QFile>

#include "MetafileBuilder.h"
#include "platform/metafile/Metafile.h"

namespace nt {
namespace {

using test::EmfWriter;
using test::put16;
using test::put32;
using test::WmfWriter;
using test::xy16;

const QString kHostile = QStringLiteral(NT_TESTDATA_DIR "/metafile/hostile/");

struct Played {
    mf::Stats stats;
    QImage image;
};

Played play(const QByteArray& bytes, std::int64_t cap = mf::kMemoryCap) {
    Played out;
    const Bytes data(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    auto result = mf::decode(data, &out.stats, mf::kWorkBudget, cap);
    if (auto* image = std::get_if<QImage>(&result)) out.image = *image;
    return out;
}

QByteArray fileBytes(const char* name) {
    QFile file(kHostile + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// At most one charge past the budget before playing stops, and never more than the cap.
void expectBounded(const Played& p) {
    EXPECT_FALSE(p.image.isNull());
    EXPECT_TRUE(std::isfinite(p.stats.work));
    EXPECT_LE(p.stats.work, 2 * mf::kWorkBudget + 1);
    EXPECT_LE(p.stats.peakBytes, mf::kMemoryCap);
}

TEST(MetafileHostile, EveryReproducerStopsWithinTheBudgetAndTheCap) {
    struct Case {
        const char* file;
        bool stops;              // ends before its last record
        std::int64_t leastHeld;  // bytes it must have held (what it built before the cap)
    };
    constexpr std::int64_t kBitmap = std::int64_t{5792} * 5792 * 4;
    const Case cases[] = {
        {"emf_budget_nan_2000_fullsize_rects.emf", true, 0},
        {"emf_budget_control_2000_fullsize_rects.emf", true, 0},
        {"wmf_budget_nan_2000_fullsize_rects.wmf", true, 0},
        {"wmf_budget_control_300_fullsize_rects.wmf", true, 0},
        {"emf_gradient_100_triangles_4096.emf", true, 0},
        // The 2,048-column clip itself (134 MB) is allowed; what is done with it is charged.
        {"emf_clip_2048_columns_only.emf", true, 128 << 20},
        {"emf_clip_2048_columns_then_3_intersectcliprect.emf", true, 128 << 20},
        {"emf_clip_2048_columns_then_200_text_records.emf", true, 128 << 20},
        {"emf_clip_2048_columns_then_12x_savedc_intersect.emf", true, 128 << 20},
        // A 5792 x 5792 bitmap decoded, kept as a brush no larger than the picture; each
        // decode is charged an eighth of the budget.
        {"emf_pattern_brush_rle8_5792x5792_x8.emf", true, kBitmap},
        {"emf_pattern_brush_rle8_5792x5792_x16.emf", true, kBitmap},
        {"wmf_pattern_brush_rle8_5792x5792_x8.wmf", false, kBitmap},
        {"emf_stretchdibits_rle8_5792x5792_x100.emf", true, kBitmap},
        {"wmf_stretchdib_rle8_5792x5792_x100.wmf", true, kBitmap},
        {"lsan_rotated_text_u0080.emf", false, 0},
        {"lsan_rotated_text_u0080.wmf", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = fileBytes(c.file);
        ASSERT_FALSE(bytes.isEmpty());
        const Played p = play(bytes);
        expectBounded(p);
        EXPECT_EQ(p.stats.stoppedEarly, c.stops);
        EXPECT_GE(p.stats.peakBytes, c.leastHeld);
    }
}

TEST(MetafileHostile, ANanChargeStopsOnlyItsOwnRecord) {
    // The line under an overflowing page scale draws nothing and the fills after it are
    // charged as they are without it: the budget stops both files at the same fill.
    const Played nan = play(fileBytes("emf_budget_nan_2000_fullsize_rects.emf"));
    const Played control = play(fileBytes("emf_budget_control_2000_fullsize_rects.emf"));
    EXPECT_EQ(nan.stats.work, control.stats.work);
    EXPECT_EQ(nan.image, control.image);
}

TEST(MetafileHostile, ASmallerCapStopsWhereTheMemoryRunsOut) {
    // Saved states each keep their own copy of the 2,048-column clip once it changes: the
    // first copy passes a 200 MB cap and playing ends there.
    const QByteArray bytes = fileBytes("emf_clip_2048_columns_then_12x_savedc_intersect.emf");
    const Played capped = play(bytes, std::int64_t{200} << 20);
    EXPECT_TRUE(capped.stats.stoppedEarly);
    EXPECT_LE(capped.stats.peakBytes, std::int64_t{200} << 20);
    const Played tiny = play(fileBytes("emf_pattern_brush_rle8_5792x5792_x8.emf"), 1 << 20);
    EXPECT_TRUE(tiny.stats.stoppedEarly);
    EXPECT_LE(tiny.stats.peakBytes, 1 << 20);
}

// A 16-bit polygon or Bézier record (EMR_POLYGON16, EMR_POLYBEZIER16) of these points.
void points16(EmfWriter& emf, std::uint32_t type, const std::vector<std::uint32_t>& points) {
    QByteArray body;
    for (int i = 0; i < 4; ++i) put32(body, 0);  // bounds
    put32(body, static_cast<std::uint32_t>(points.size()));
    for (const std::uint32_t p : points) put32(body, p);
    emf.raw(type, body);
}

TEST(MetafileHostile, ShapesThatExpandOrCrossEveryRowAreChargedBeforeTheyAreMade) {
    constexpr int kSide = 2048;
    // 500,000 curves, each of up to 64 points once expanded.
    EmfWriter curves(kSide, kSide);
    std::vector<std::uint32_t> controls{xy16(0, 0)};
    for (int i = 0; i < 500000; ++i)
        for (const int y : {kSide - 1, 0, kSide - 1}) controls.push_back(xy16(i % kSide, y));
    points16(curves, 88, controls);
    // A zigzag of 100,000 edges, each crossing every row.
    EmfWriter zigzag(kSide, kSide);
    std::vector<std::uint32_t> teeth;
    for (int i = 0; i < 100000; ++i) teeth.push_back(xy16(i % kSide, i % 2 ? kSide - 1 : 0));
    points16(zigzag, 86, teeth);
    // The same zigzag made the clip: SelectClipPath over a path of as many edges.
    EmfWriter clipPath(kSide, kSide);
    clipPath.rec(59, {});
    points16(clipPath, 86, teeth);
    clipPath.rec(60, {}).rec(67, {5});
    for (const EmfWriter* emf : {&curves, &zigzag, &clipPath}) {
        const Played p = play(emf->bytes());
        expectBounded(p);
        EXPECT_TRUE(p.stats.stoppedEarly);
        // Refused before the points or spans were made: at most the path's own points held.
        EXPECT_LT(p.stats.peakBytes, 4 << 20);
        EXPECT_EQ(p.image.pixel(kSide / 2, kSide / 2), 0xFFFFFFFFu);
    }
}

TEST(MetafileHostile, WideLinesAreChargedForEveryRowTheyOutline) {
    // A wide segment is outlined row by row (and, under a mixing mode, merged there with the
    // others), each row costing about what a polygon edge crossing a row does (50 ns or so):
    // a thin-looking two-pixel zigzag is charged for its rows, not only for its pixels.
    constexpr int kSide = 2048, kSegments = 100;
    for (const std::uint32_t rop2 : {13u, 7u}) {
        EmfWriter emf(kSide, kSide);
        emf.rec(38, {1, 0, 2, 0, 0}).rec(37, {1}).rec(20, {rop2});
        std::vector<std::uint32_t> teeth;
        for (int i = 0; i <= kSegments; ++i) teeth.push_back(xy16(i * 16, i % 2 ? kSide - 1 : 0));
        points16(emf, 87, teeth);
        const Played p = play(emf.bytes());
        expectBounded(p);
        EXPECT_FALSE(p.stats.stoppedEarly);
        EXPECT_GT(p.stats.work, double(kSegments) * kSide * 100);
    }
}

TEST(MetafileHostile, TextIsChargedForItsRecordsCharactersAndFonts) {
    // Finding and measuring a font costs about 0.4 ms and drawing a character about 4 us,
    // however small: thousands of records that switch fonts, or of short texts, are stopped
    // by the budget (before they were charged for their glyphs' pixels alone: 19 s and 4 s).
    const auto font = [](EmfWriter& emf, std::uint32_t slot, std::int32_t height) {
        QByteArray body;
        for (const std::int32_t v : {std::int32_t(slot), height, 0, 0, 0, 400, 0, 0})
            put32(body, static_cast<std::uint32_t>(v));
        for (const char c : QByteArray("Arial")) put16(body, static_cast<std::uint8_t>(c));
        body.append(QByteArray(64 - 10, 0));
        emf.raw(82, body);
    };
    const auto text = [](EmfWriter& emf, int i, const char* chars) {
        const QByteArray s(chars);
        QByteArray body;
        for (const std::uint32_t v :
             {0u, 0u, 0u, 0u, 1u, 0u, 0u, std::uint32_t(i % 500), std::uint32_t(i * 7 % 500),
              std::uint32_t(s.size()), 76u, 0u, 0u, 0u, 0u, 0u, 0u})
            put32(body, v);
        for (const char c : s) put16(body, static_cast<std::uint8_t>(c));
        if (s.size() % 2) put16(body, 0);
        emf.raw(84, body);
    };
    EmfWriter switching(512, 512), many(512, 512);
    font(switching, 1, -12);
    font(switching, 2, -13);
    switching.rec(18, {1});
    for (int i = 0; i < 3000; ++i) {
        switching.rec(37, {1u + i % 2});
        text(switching, i, "A");
    }
    font(many, 1, -12);
    many.rec(37, {1}).rec(18, {1});
    for (int i = 0; i < 60000; ++i) text(many, i, "ABCDEFGHIJ");
    for (const EmfWriter* emf : {&switching, &many}) {
        const Played p = play(emf->bytes());
        expectBounded(p);
        EXPECT_TRUE(p.stats.stoppedEarly);
    }
}

TEST(MetafileHostile, EllipsesFarLargerThanThePictureAreChargedForTheirCurve) {
    // Each ellipse's curve is walked whole (60,000 steps, about 14 ns apiece) however little
    // of it the picture shows: that, not the 200 x 200 pixels touched, is what they cost.
    EmfWriter emf(200, 200);
    for (int i = 0; i < 50; ++i)
        emf.rec(42, {std::uint32_t(-15000), std::uint32_t(-15000), 15000, 15000});
    const Played p = play(emf.bytes());
    expectBounded(p);
    EXPECT_FALSE(p.stats.stoppedEarly);
    EXPECT_GT(p.stats.work, 50 * 60000.0 * 8);
}

TEST(MetafileHostile, ArcsFarLargerThanThePictureAreChargedForTheirCurve) {
    // Chords and pies walk their outline whole too, and stroke a segment per pixel of it.
    EmfWriter emf(200, 200);
    for (int i = 0; i < 50; ++i)
        emf.rec(i % 2 ? 46 : 47, {std::uint32_t(-15000), std::uint32_t(-15000), 15000, 15000, 0,
                                  std::uint32_t(-1), 1, 1});
    const Played p = play(emf.bytes());
    expectBounded(p);
    EXPECT_GT(p.stats.work, 50 * 60000.0 * 8);
}

// SetWorldTransform's record body: the six numbers of the transform.
QByteArray world(std::initializer_list<float> numbers) {
    QByteArray body;
    for (const float f : numbers) put32(body, std::bit_cast<std::uint32_t>(f));
    return body;
}

// A 2 x 2 bitmap as a packed DIB.
QByteArray smallDib() {
    test::Dib d;
    d.width = 2;
    d.height = 2;
    d.bits = QByteArray::fromHex(
        "ff000000ff000000"
        "0000ffffffff0000");
    return test::packedDib(d);
}

// EMR_STRETCHBLT of smallDib() into (0, 0, side, side) with the source transform `source`.
QByteArray stretchBlt(int side, std::initializer_list<float> source) {
    const QByteArray dib = smallDib();
    QByteArray body;
    for (const std::uint32_t v :
         {0u, 0u, 0u, 0u, 0u, 0u, std::uint32_t(side), std::uint32_t(side), 0x00CC0020u, 0u, 0u})
        put32(body, v);
    body.append(world(source));
    for (const std::uint32_t v : {0u, 0u, 108u, 40u, 148u, std::uint32_t(dib.size() - 40), 2u, 2u})
        put32(body, v);
    body.append(dib);
    return body;
}

TEST(MetafileHostile, TurnedBitmapsAreChargedForThePixelsTheyVisit) {
    constexpr int kSide = 2048;
    const QByteArray whole = test::stretchDibits(smallDib(), 2, 2, 0, 0, kSide, kSide);
    // A near-singular world transform folds the picture-sized bitmap onto the diagonal: a
    // sliver four pixels wide (y - x from 0 to 4, x >= y / 2), whose bounds are the whole
    // picture. A thousand of them cost what a thousand slivers cost, not a thousand pictures.
    EmfWriter sliver(kSide, kSide);
    sliver.raw(35, world({1, 1, 1, 1 + 1 / 512.0f, 0, 0}));
    for (int i = 0; i < 1000; ++i) sliver.raw(81, whole);
    const Played thin = play(sliver.bytes());
    expectBounded(thin);
    EXPECT_FALSE(thin.stats.stoppedEarly);
    EXPECT_LT(thin.stats.work, 1000.0 * kSide * 40);
    EXPECT_NE(thin.image.pixel(1600, 1602), 0xFFFFFFFFu);  // drawn along it
    EXPECT_EQ(thin.image.pixel(1602, 1600), 0xFFFFFFFFu);  // and nowhere else
    EXPECT_EQ(thin.image.pixel(400, 1600), 0xFFFFFFFFu);
    // The most a world transform may scale, turned an eighth: each blit is charged for the
    // picture it covers, not for the rectangle of millions of pixels a side.
    EmfWriter huge(kSide, kSide);
    huge.raw(35, world({7e5f, 7e5f, -7e5f, 7e5f, 0, 0}));
    for (int i = 0; i < 10; ++i) huge.raw(81, whole);
    const Played big = play(huge.bytes());
    expectBounded(big);
    EXPECT_FALSE(big.stats.stoppedEarly);
    EXPECT_LT(big.stats.work, 10 * 5.0 * kSide * kSide);
    EXPECT_NE(big.image.pixel(kSide / 2, kSide / 2), 0xFFFFFFFFu);
    // A source transform of NaN, straight and turned: drawn from some source pixel, never
    // from outside the bitmap.
    for (const bool turned : {false, true}) {
        EmfWriter nan(64, 64);
        if (turned) nan.raw(35, world({0.8f, 0.6f, -0.6f, 0.8f, 32, 0}));
        nan.raw(77, stretchBlt(48, {NAN, 0, 0, NAN, NAN, NAN}));
        const Played p = play(nan.bytes());
        expectBounded(p);
        EXPECT_FALSE(p.stats.stoppedEarly);
    }
}

// A WMF CreateRegion of `scans` one-unit scans of `pairs` rectangles each.
std::vector<int> regionRecord(int scans, int pairs) {
    std::vector<int> params{0, 6, 0, 0, 0, scans, 2 * pairs, 0, 0, 2 * pairs, scans};
    for (int s = 0; s < scans; ++s) {
        params.insert(params.end(), {2 * pairs, s, s + 1});
        for (int i = 0; i < pairs; ++i) params.insert(params.end(), {2 * i, 2 * i + 1});
        params.push_back(2 * pairs);
    }
    return params;
}

TEST(MetafileHostile, RegionObjectsAreHeldUntilDeleted) {
    // Each region of 20,000 rectangles holds 640,000 bytes under a 1 MB cap: one at a time
    // plays through, a second one kept beside the first stops playing.
    constexpr std::int64_t kCap = 1 << 20, kRegion = 20000 * std::int64_t(sizeof(QRectF));
    WmfWriter oneAtATime(100, 100), kept(100, 100);
    for (int i = 0; i < 5; ++i) oneAtATime.rec(0x06FF, regionRecord(2, 10000)).rec(0x01F0, {0});
    kept.rec(0x06FF, regionRecord(2, 10000)).rec(0x06FF, regionRecord(2, 10000));
    const Played played = play(oneAtATime.bytes(), kCap);
    EXPECT_FALSE(played.stats.stoppedEarly);
    EXPECT_GE(played.stats.peakBytes, kRegion);
    EXPECT_LT(played.stats.peakBytes, 2 * kRegion);
    const Played stopped = play(kept.bytes(), kCap);
    EXPECT_TRUE(stopped.stats.stoppedEarly);
    EXPECT_LE(stopped.stats.peakBytes, kCap);
    // An EMF clip region's 40,000 rectangles (a single pixel each) are refused the same way.
    EmfWriter clip(48, 48);
    QByteArray body;
    for (const std::uint32_t w : {32u + 40000 * 16, 5u, 32u, 1u, 40000u, 40000u * 16})
        put32(body, w);
    for (int i = 0; i < 4 + 4 * 40000; ++i) put32(body, i >= 4 && i % 4 >= 2 ? 1 : 0);
    clip.raw(75, body);
    const Played refused = play(clip.bytes(), kCap);
    EXPECT_TRUE(refused.stats.stoppedEarly);
    EXPECT_LE(refused.stats.peakBytes, kCap);
}

}  // namespace
}  // namespace nt
