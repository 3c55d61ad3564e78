// Playing metafiles against decoding a BMP of the same output size: a 2 MB EMF of many small
// shapes on a 1000 x 1000 picture, and a simple WMF drawn at 4000 x 4000. Then the shared
// hostile metafiles, each against the 4000 x 4000 BMP: what the work budget and the memory
// cap let them cost. Last, building and combining clips of thousands of spans a row, against
// the same BMP.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "RatioReporter.h"
#include "platform/Picture.h"
#include "platform/metafile/ClipRegion.h"

namespace {

void put16(QByteArray& b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
void put32(QByteArray& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void record(QByteArray& out, std::uint32_t type, std::initializer_list<std::uint32_t> words) {
    put32(out, type);
    put32(out, static_cast<std::uint32_t>(8 + 4 * words.size()));
    for (const std::uint32_t w : words) put32(out, w);
}
std::uint32_t xy(int x, int y) {
    return (static_cast<std::uint32_t>(y) & 0xFFFF) << 16 |
           (static_cast<std::uint32_t>(x) & 0xFFFF);
}

// About 2 MB of brushes, polygons, rectangles, ellipses and polylines scattered over a
// 1000 x 1000 picture.
QByteArray largeEmf() {
    QByteArray records;
    std::uint32_t seed = 1;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    while (records.size() < 2 * 1024 * 1024) {
        const int x = next(960), y = next(960);
        record(records, 39, {1, 0, static_cast<std::uint32_t>(next(0xFFFFFF)), 0});
        record(records, 37, {1});
        record(records, 86,
               {0, 0, 0, 0, 6, xy(x, y), xy(x + 30, y + 5), xy(x + 40, y + 30), xy(x + 20, y + 40),
                xy(x + 5, y + 25), xy(x + 15, y + 10)});
        record(records, 43,
               {std::uint32_t(x), std::uint32_t(y), std::uint32_t(x + 25), std::uint32_t(y + 18)});
        record(records, 42,
               {std::uint32_t(x + 5), std::uint32_t(y + 5), std::uint32_t(x + 35),
                std::uint32_t(y + 30)});
        record(
            records, 87,
            {0, 0, 0, 0, 4, xy(x, y + 40), xy(x + 40, y), xy(x + 10, y + 20), xy(x + 30, y + 35)});
        record(records, 37, {0x80000000u});  // the white stock brush, so the next delete is free
        record(records, 40, {1});
    }
    QByteArray file;
    for (const std::uint32_t v :
         {1u, 88u, 0u, 0u, 999u, 999u, 0u, 0u, 26458u, 26458u, 0x464D4520u, 0x10000u,
          static_cast<std::uint32_t>(88 + records.size() + 20), 0u})
        put32(file, v);
    put16(file, 4);
    put16(file, 0);
    for (const std::uint32_t v : {0u, 0u, 0u, 960u, 960u, 254u, 254u}) put32(file, v);
    file.append(records);
    for (const std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) put32(file, v);
    return file;
}

// A placeable WMF of a few shapes whose bounding box is 4000 x 4000 pixels at 96 dpi.
QByteArray simpleWmf() {
    QByteArray records;
    const auto rec = [&records](std::uint16_t function, std::initializer_list<int> params) {
        put32(records, static_cast<std::uint32_t>(3 + params.size()));
        put16(records, function);
        for (const int p : params) put16(records, static_cast<std::uint32_t>(p) & 0xFFFF);
    };
    rec(0x02FC, {0, 0x00FF, 0x0080, 0});  // brush
    rec(0x012D, {0});
    rec(0x02FA, {0, 20, 0, 0, 0});  // a 20-unit pen
    rec(0x012D, {1});
    rec(0x041B, {3800, 3800, 200, 200});
    rec(0x0418, {3000, 3600, 400, 1000});
    rec(0x0324, {4, 100, 2000, 2000, 100, 3900, 2000, 2000, 3900});
    rec(0x0817, {500, 3000, 3000, 500, 3500, 3500, 500, 500});
    QByteArray file;
    put32(file, 0x9AC6CDD7u);
    put16(file, 0);
    for (const int v : {0, 0, 4000, 4000, 96}) put16(file, static_cast<std::uint32_t>(v));
    put32(file, 0);
    put16(file, 0);
    for (const int v : {1, 9, 0x300}) put16(file, static_cast<std::uint32_t>(v));
    put32(file, static_cast<std::uint32_t>(9 + records.size() / 2 + 3));
    put16(file, 4);
    put32(file, 0);
    put16(file, 0);
    file.append(records);
    put32(file, 3);
    put16(file, 0);
    return file;
}

// An EMF of 2400 x 2400 pixels of twenty StretchDIBits of a 64 x 64 bitmap over the whole
// picture, straight or under a world transform turned by a hundredth of a radian.
QByteArray blitsEmf(bool turned) {
    constexpr int kSide = 2400, kBitmap = 64;
    QByteArray dib;
    for (const std::uint32_t v : {40u, std::uint32_t(kBitmap), std::uint32_t(kBitmap)})
        put32(dib, v);
    put16(dib, 1);
    put16(dib, 24);
    for (int i = 0; i < 6; ++i) put32(dib, 0);
    for (int i = 0; i < kBitmap * kBitmap * 3; ++i) dib.append(static_cast<char>(i * 7));
    QByteArray records;
    if (turned) {
        const float c = std::cos(0.01f), s = std::sin(0.01f);
        put32(records, 35);
        put32(records, 32);
        for (const float f : {c, s, -s, c, 12.0f, -12.0f})
            put32(records, std::bit_cast<std::uint32_t>(f));
    }
    for (int i = 0; i < 20; ++i) {
        put32(records, 81);
        put32(records, static_cast<std::uint32_t>(80 + dib.size()));
        for (const std::uint32_t v :
             {0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, std::uint32_t(kBitmap), std::uint32_t(kBitmap), 80u,
              40u, 120u, std::uint32_t(dib.size() - 40), 0u, 0x00CC0020u, std::uint32_t(kSide),
              std::uint32_t(kSide)})
            put32(records, v);
        records.append(dib);
    }
    QByteArray file;
    for (const std::uint32_t v :
         {1u, 88u, 0u, 0u, 0u, 0u, 0u, 0u, std::uint32_t(kSide * 2540 / 96),
          std::uint32_t(kSide * 2540 / 96), 0x464D4520u, 0x10000u,
          static_cast<std::uint32_t>(88 + records.size() + 20), turned ? 23u : 22u})
        put32(file, v);
    put16(file, 4);
    put16(file, 0);
    for (const std::uint32_t v : {0u, 0u, 0u, 960u, 960u, 254u, 254u}) put32(file, v);
    file.append(records);
    for (const std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) put32(file, v);
    return file;
}

QByteArray bmpOfSize(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(0xFF336699u);
    return nt::encodeBmp(image);
}

void decodeLoop(benchmark::State& state, const QByteArray& file, int side) {
    for (auto _ : state) {
        auto result = nt::decodePicture(file);
        const auto* image = std::get_if<QImage>(&result);
        if (!image || image->width() != side) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(result);
    }
    state.counters["MB"] = double(file.size()) / (1 << 20);
}

void BM_Emf2MB(benchmark::State& state) {
    static const QByteArray file = largeEmf();
    decodeLoop(state, file, 1000);
}
BENCHMARK(BM_Emf2MB)->Unit(benchmark::kMillisecond);

void BM_Bmp1000(benchmark::State& state) {
    static const QByteArray file = bmpOfSize(1000);
    decodeLoop(state, file, 1000);
}
BENCHMARK(BM_Bmp1000)->Unit(benchmark::kMillisecond);

void BM_Wmf4000(benchmark::State& state) {
    static const QByteArray file = simpleWmf();
    decodeLoop(state, file, 4000);
}
BENCHMARK(BM_Wmf4000)->Unit(benchmark::kMillisecond);

void BM_Bmp4000(benchmark::State& state) {
    static const QByteArray file = bmpOfSize(4000);
    decodeLoop(state, file, 4000);
}
BENCHMARK(BM_Bmp4000)->Unit(benchmark::kMillisecond);

void BM_StraightBlits(benchmark::State& state) {
    static const QByteArray file = blitsEmf(false);
    decodeLoop(state, file, 2400);
}
BENCHMARK(BM_StraightBlits)->Unit(benchmark::kMillisecond);

void BM_TurnedBlits(benchmark::State& state) {
    static const QByteArray file = blitsEmf(true);
    decodeLoop(state, file, 2400);
}
BENCHMARK(BM_TurnedBlits)->Unit(benchmark::kMillisecond);

const QString kHostile = QStringLiteral(NT_TESTDATA_DIR "/metafile/hostile/");

QStringList hostileFiles() {
    return QDir(kHostile).entryList({"*.emf", "*.wmf"}, QDir::Files, QDir::Name);
}

void BM_Hostile(benchmark::State& state) {
    const QString name = hostileFiles().value(int(state.range(0)));
    QFile file(kHostile + name);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no hostile file");
        return;
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state) benchmark::DoNotOptimize(nt::decodePicture(bytes));
    state.SetLabel(name.toStdString());
}
BENCHMARK(BM_Hostile)->DenseRange(0, 15)->Unit(benchmark::kMillisecond)->Iterations(1);

// Clip rectangles on a 4096 x 4096 picture: 2,048 columns a pixel wide across every row, or
// 128 such columns with a full-width bar on each row between (most rows two spans more).
constexpr int kClipSide = 4096;
std::vector<QRectF> clipColumns(int columns) {
    std::vector<QRectF> rects;
    for (int i = 0; i < columns; ++i) rects.emplace_back(2 * i, 0, 1, kClipSide);
    return rects;
}
std::vector<QRectF> clipColumnsAndBars() {
    std::vector<QRectF> rects = clipColumns(128);
    for (int y = 0; y < kClipSide; y += 2) rects.emplace_back(0, y, kClipSide, 1);
    return rects;
}

// Builds the clip and makes it the picture's (combined with no clip, as a region selected
// with RGN_AND is).
void clipBuildLoop(benchmark::State& state, const std::vector<QRectF>& rects) {
    for (auto _ : state) {
        nt::mf::Clip clip;
        nt::mf::combineClip(clip, nt::mf::clipFromRects(rects, kClipSide), nt::mf::Combine::And,
                            kClipSide, kClipSide);
        benchmark::DoNotOptimize(clip);
    }
}

void BM_ClipColumns(benchmark::State& state) {
    clipBuildLoop(state, clipColumns(2048));
}
BENCHMARK(BM_ClipColumns)->Unit(benchmark::kMillisecond);

void BM_ClipColumnsAndBars(benchmark::State& state) {
    clipBuildLoop(state, clipColumnsAndBars());
}
BENCHMARK(BM_ClipColumnsAndBars)->Unit(benchmark::kMillisecond);

// Two 2,048-column clips a pixel apart combined by XOR: every row's spans merged.
void BM_ClipXor(benchmark::State& state) {
    const nt::mf::Clip a = nt::mf::clipFromRects(clipColumns(2048), kClipSide);
    std::vector<QRectF> shifted = clipColumns(2048);
    for (QRectF& r : shifted) r.translate(1, 0);
    const nt::mf::Clip b = nt::mf::clipFromRects(shifted, kClipSide);
    for (auto _ : state) {
        nt::mf::Clip clip = a;  // shared, so copied first as a saved state's would be
        nt::mf::combineClip(clip, b, nt::mf::Combine::Xor, kClipSide, kClipSide);
        benchmark::DoNotOptimize(clip);
    }
}
BENCHMARK(BM_ClipXor)->Unit(benchmark::kMillisecond);

class MetafileRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_Emf2MB", "BM_Bmp1000", "2 MB EMF / BMP, 1000x1000");
        ratio("BM_Wmf4000", "BM_Bmp4000", "simple WMF / BMP, 4000x4000");
        ratio("BM_TurnedBlits", "BM_StraightBlits", "turned / straight bitmaps, 2400x2400");
        for (int i = 0; i < 16; ++i)
            ratio("BM_Hostile/" + std::to_string(i) + "/iterations:1", "BM_Bmp4000",
                  "hostile file / BMP, 4000x4000");
        for (const char* clip : {"BM_ClipColumns", "BM_ClipColumnsAndBars", "BM_ClipXor"})
            ratio(clip, "BM_Bmp4000", "clip 4096x4096 / BMP, 4000x4000");
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Metafile text needs the font system, hence a GUI application.
    return runBenchmarks<QGuiApplication, MetafileRatios>(argc, argv);
}
