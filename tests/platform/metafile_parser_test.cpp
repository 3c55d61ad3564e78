// The metafile header, size rule, record walking and object table, and hostile files.

#include <chrono>

#include <gtest/gtest.h>

#include "MetafileBuilder.h"
#include "platform/Picture.h"
#include "platform/metafile/Metafile.h"

namespace nt {
namespace {

using test::EmfWriter;
using test::poke32;
using test::WmfWriter;
using test::xy16;

constexpr std::uint32_t kEmfCreateBrush = 39, kEmfSelect = 37, kEmfDelete = 40, kEmfRectangle = 43,
                        kEmfSaveDc = 33, kEmfRestoreDc = 34;

Bytes view(const QByteArray& b) {
    return Bytes(reinterpret_cast<const std::uint8_t*>(b.constData()), b.size());
}

QImage decoded(const QByteArray& file) {
    auto result = decodePicture(file);
    const auto* image = std::get_if<QImage>(&result);
    return image ? *image : QImage();
}

QByteArray emfWithFrame(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b,
                        std::int32_t boundsRight = 0, std::int32_t boundsBottom = 0) {
    QByteArray file = EmfWriter(10, 10).bytes();
    for (const auto& [at, v] :
         {std::pair{24, l}, {28, t}, {32, r}, {36, b}, {16, boundsRight}, {20, boundsBottom}})
        poke32(file, at, static_cast<std::uint32_t>(v));
    return file;
}

TEST(MetafileSize, FollowsTheHeaderOfEachKind) {
    struct Case {
        const char* what;
        QByteArray file;
        QSize size;
    } cases[] = {
        {"EMF frame in 0.01 mm at 96 dpi", emfWithFrame(0, 0, 5080, 2540), {192, 96}},
        {"EMF frame rounds", emfWithFrame(100, 100, 100 + 2646, 100 + 26), {100, 1}},
        {"EMF empty frame: bounds + 1", emfWithFrame(0, 0, 0, 0, 49, 19), {50, 20}},
        {"EMF sides over 4096 scaled together",
         emfWithFrame(0, 0, 2540 * 100, 2540 * 25),
         {4096, 1024}},
        {"placeable WMF at 1440 per inch", WmfWriter(2880, 1440, 1440).bytes(), {192, 96}},
        {"placeable WMF with inch 0 taken as 1440",
         WmfWriter(1440, 720, 0x10000).bytes(),
         {96, 48}},
        {"plain WMF: its window extent",
         WmfWriter(0, 0, 0).rec(0x020C, {30, 40}).bytes(),
         {40, 30}},
        {"plain WMF without a window", WmfWriter(0, 0, 0).bytes(), {800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(decoded(c.file).size(), c.size);
    }
}

TEST(MetafileDetect, DecidesByContent) {
    EXPECT_EQ(mf::detect(view(EmfWriter(4, 4).bytes())), mf::Kind::Emf);
    EXPECT_EQ(mf::detect(view(WmfWriter(4, 4).bytes())), mf::Kind::PlaceableWmf);
    EXPECT_EQ(mf::detect(view(WmfWriter(4, 4, 0).bytes())), mf::Kind::Wmf);
    QByteArray notEmf = EmfWriter(4, 4).bytes();
    notEmf[41] = 'X';  // the signature
    EXPECT_EQ(mf::detect(view(notEmf)), mf::Kind::None);
    QByteArray badHeader = EmfWriter(4, 4).bytes();
    poke32(badHeader, 4, 40);  // a header record shorter than its fields
    EXPECT_TRUE(std::holds_alternative<PictureError>(decodePicture(badHeader)));
}

// A picture that draws a red box when its records are read as they should be.
QByteArray redBoxEmf() {
    return EmfWriter(20, 20)
        .rec(kEmfCreateBrush, {1, 0, 0x0000FF, 0})
        .rec(kEmfSelect, {1})
        .rec(kEmfRectangle, {2, 2, 18, 18})
        .bytes();
}

TEST(MetafileRecords, TruncatedAtEveryLengthGivesAnErrorOrAPictureOfTheHeadersSize) {
    for (const QByteArray& file : {redBoxEmf(), WmfWriter(20, 20)
                                                    .rec(0x02FC, {0, 0xFF, 0, 0})
                                                    .rec(0x012D, {0})
                                                    .rec(0x041B, {18, 18, 2, 2})
                                                    .bytes()}) {
        for (qsizetype n = 0; n < file.size(); ++n) {
            const QImage image = decoded(file.left(n));
            if (!image.isNull()) {
                EXPECT_EQ(image.size(), QSize(20, 20)) << n;
            }
        }
    }
}

TEST(MetafileRecords, ABadRecordSizeEndsThePictureThere) {
    mf::Stats stats;
    QByteArray file = redBoxEmf();
    poke32(file, 88 + 24 + 4, 0);  // the select record's size
    auto result = mf::decode(view(file), &stats);
    ASSERT_TRUE(std::holds_alternative<QImage>(result));
    EXPECT_TRUE(stats.stoppedEarly);
    EXPECT_EQ(std::get<QImage>(result).pixel(10, 10), 0xFFFFFFFFu);  // nothing drawn

    file = redBoxEmf();
    poke32(file, 88 + 24 + 4, 0x7FFFFFF0);  // larger than the file
    stats = {};
    mf::decode(view(file), &stats);
    EXPECT_TRUE(stats.stoppedEarly);
}

TEST(MetafileObjects, BadIndexesAndDeletedObjectsChangeNothing) {
    const QImage image = decoded(EmfWriter(20, 20, 4)
                                     .rec(kEmfCreateBrush, {1, 0, 0x0000FF, 0})
                                     .rec(kEmfSelect, {1})
                                     .rec(kEmfCreateBrush, {2, 0, 0x00FF00, 0})
                                     .rec(kEmfDelete, {2})
                                     .rec(kEmfSelect, {2})                       // deleted
                                     .rec(kEmfSelect, {0xFFFF})                  // past the table
                                     .rec(kEmfCreateBrush, {9, 0, 0xFF0000, 0})  // too
                                     .rec(kEmfSelect, {9})
                                     .rec(kEmfSelect, {0x80000063})  // no such stock object
                                     .rec(kEmfRectangle, {2, 2, 18, 18})
                                     .bytes());
    EXPECT_EQ(image.pixel(10, 10), 0xFFFF0000u);  // still the first, red brush
}

TEST(MetafileObjects, WmfObjectsTakeTheLowestFreeSlot) {
    const QImage image = decoded(WmfWriter(20, 20)
                                     .rec(0x02FC, {0, 0x00FF, 0, 0})  // red in slot 0
                                     .rec(0x02FC, {0, 0xFF00, 0, 0})  // green in slot 1
                                     .rec(0x01F0, {0})                // slot 0 free again
                                     .rec(0x02FC, {0, 0, 0xFF, 0})    // blue into slot 0
                                     .rec(0x012D, {0})
                                     .rec(0x041B, {18, 18, 2, 2})
                                     .bytes());
    EXPECT_EQ(image.pixel(10, 10), 0xFF0000FFu);
}

TEST(MetafileState, RestoreDcReturnsToTheSavedBrushAndIgnoresBadDepths) {
    EmfWriter emf(20, 20);
    emf.rec(kEmfCreateBrush, {1, 0, 0x0000FF, 0}).rec(kEmfSelect, {1}).rec(kEmfSaveDc, {});
    emf.rec(kEmfCreateBrush, {2, 0, 0x00FF00, 0}).rec(kEmfSelect, {2});
    emf.rec(kEmfRestoreDc, {static_cast<std::uint32_t>(-5)});  // deeper than saved
    emf.rec(kEmfRectangle, {0, 0, 10, 10});                    // green
    emf.rec(kEmfRestoreDc, {static_cast<std::uint32_t>(-1)});
    emf.rec(kEmfRectangle, {10, 10, 20, 20});  // red
    const QImage image = decoded(emf.bytes());
    EXPECT_EQ(image.pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(image.pixel(15, 15), 0xFFFF0000u);
}

TEST(MetafileHostile, DeepNestingHugeCountsAndAbsurdExtentsStayBounded) {
    EmfWriter emf(50, 50);
    for (int i = 0; i < 100000; ++i) emf.rec(kEmfSaveDc, {});
    emf.rec(9, {0, 0});                                 // window extent 0
    emf.rec(35, {0x7F800000, 0, 0, 0x7FC00000, 0, 0});  // infinite world transform
    emf.rec(86, {0, 0, 0, 0, 0xFFFFFFF0, xy16(1, 1)});  // POLYGON16 with 2^32 points
    emf.rec(91, {0, 0, 0, 0, 2, 8, 0xFFFFFFFF, 9});     // POLYPOLYGON16 counts overflow
    emf.rec(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFF0, 0, 0, 0, 0, 0, 0});
    for (int i = 0; i < 2000; ++i)
        emf.rec(kEmfRectangle, {0xC0000000u, 0xC0000000u, 0x3FFFFFFFu, 0x3FFFFFFFu});
    const auto start = std::chrono::steady_clock::now();
    const QImage image = decoded(emf.bytes());
    EXPECT_EQ(image.size(), QSize(50, 50));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(MetafileHostile, AbsurdWorldTransformsAreRefused) {
    // A scale of 1e30 (0x7149F2CA as a float) would send every coordinate out of range; the
    // transform before it stays, so the box lands where no transform puts it.
    const QImage image = decoded(EmfWriter(24, 24)
                                     .rec(kEmfCreateBrush, {1, 0, 0x0000FF, 0})
                                     .rec(kEmfSelect, {1})
                                     .rec(35, {0x7149F2CA, 0, 0, 0x7149F2CA, 0, 0})
                                     .rec(36, {0x7149F2CA, 0, 0, 0x3F800000, 0, 0, 2})
                                     .rec(kEmfRectangle, {4, 4, 20, 20})
                                     .bytes());
    EXPECT_EQ(image.pixel(12, 12), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(2, 2), 0xFFFFFFFFu);
}

TEST(MetafileStats, CountsRecordsThatAreNotDrawn) {
    mf::Stats stats;
    mf::decode(view(EmfWriter(10, 10).rec(78, {0, 0}).rec(78, {0, 0}).rec(53, {0}).bytes()),
               &stats);
    EXPECT_EQ(stats.records, 3);
    EXPECT_EQ(stats.skipped["EMR_MASKBLT"], 2);
    EXPECT_EQ(stats.skipped["EMR_EXTFLOODFILL"], 1);
}

}  // namespace
}  // namespace nt
