// Shape rasterising costs. An ellipse of about 100 x 100 must cost the same on a 600 x 400
// and a 6000 x 4000 canvas (the small one is the baseline); a long wide line is compared
// with writing the very same spans directly, which is the least any rasteriser pays.
#include <array>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QImage>

#include "RatioReporter.h"
#include "surface/Shapes.h"

namespace {

struct Target {
    QImage image;
    nt::DirtyRows dirty;
    nt::RasterTarget raster;
    Target(int w, int h) : image(w, h, QImage::Format_RGB32), dirty(h), raster(image, &dirty) {}
};

void EllipseOutline(benchmark::State& state) {
    Target t(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    t.image.fill(0xFFFFFFFFu);
    const nt::Pen pen{0xFF000000u, 1, nt::PenStyle::Solid};
    int i = 0;
    for (auto _ : state) {
        const int d = 95 + (i++ & 7);  // the pointer moves a little each time
        nt::drawEllipse(t.raster, pen, nt::Brush::none(), 200, 150, 200 + d, 150 + d);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(EllipseOutline)->Args({600, 400})->Args({6000, 4000});

// The same ellipse seen through a 600 x 400 window onto coordinates near the limit.
void EllipseFarAway(benchmark::State& state) {
    Target t(600, 400);
    const nt::Pen pen{0xFF000000u, 1, nt::PenStyle::Dash};
    const std::int64_t far = std::int64_t{1} << 29;
    int i = 0;
    for (auto _ : state) {
        const int d = 95 + (i++ & 7);
        nt::drawEllipse(t.raster, pen, nt::Brush::none(), 200 - far, 150 - far, 200 + d, 150 + d);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(EllipseFarAway);

constexpr int kW = 6000, kH = 4000;

void WideLine(benchmark::State& state) {
    Target t(kW, kH);
    const nt::Pen pen{0xFF000000u, static_cast<int>(state.range(0)), nt::PenStyle::Solid};
    for (auto _ : state) {
        nt::drawLine(t.raster, pen, 10, 20, kW - 30, kH - 10);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WideLine)->Arg(20)->Arg(100);

// Baseline for WideLine: the spans the line covers, written with no geometry at all.
void WideLineSpansOnly(benchmark::State& state) {
    Target t(kW, kH);
    nt::drawLine(t.raster, nt::Pen{0xFF000000u, static_cast<int>(state.range(0))}, 10, 20, kW - 30,
                 kH - 10);
    std::vector<std::array<int, 3>> spans;
    t.dirty.forEach([&](int y, int x0, int x1) { spans.push_back({y, x0, x1}); });
    t.dirty.clear();
    for (auto _ : state) {
        for (const auto& s : spans) t.raster.span(s[0], s[1], s[2], 0xFF000000u);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WideLineSpansOnly)->Arg(20)->Arg(100);

// A rubber-band ellipse or rounded box across the whole canvas, redrawn on every pointer move,
// at pen width range(0); width 1 is the baseline. range(1) is 1 for the rounded box.
void WideRing(benchmark::State& state) {
    Target t(kW, kH);
    const nt::Pen pen{0xFF000000u, static_cast<int>(state.range(0)), nt::PenStyle::Solid};
    const bool rounded = state.range(1) != 0;
    int i = 0;
    for (auto _ : state) {
        const int d = i++ & 7;
        if (rounded)
            nt::drawRoundRect(t.raster, pen, nt::Brush::none(), 20 + d, 20, kW - 20, kH - 20 - d,
                              1200, 900);
        else
            nt::drawEllipse(t.raster, pen, nt::Brush::none(), 20 + d, 20, kW - 20, kH - 20 - d);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WideRing)
    ->ArgNames({"width", "rounded"})
    ->ArgsProduct({{1, 20, 100}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The least the width-100 ellipse can cost: writing its spans with no geometry at all.
void WideRingSpansOnly(benchmark::State& state) {
    Target t(kW, kH);
    t.image.fill(0xFFFFFFFFu);
    nt::drawEllipse(t.raster, nt::Pen{0xFF000000u, 100}, nt::Brush::none(), 20, 20, kW - 20,
                    kH - 20);
    std::vector<std::array<int, 3>> spans;  // a row's record spans the inside too: scan for ink
    for (int y = 0; y < kH; ++y) {
        const nt::Pixel* row = t.raster.row(y);
        for (int x = 0; x < kW;) {
            if (row[x] != 0xFF000000u) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < kW && row[x] == 0xFF000000u) ++x;
            spans.push_back({y, x0, x - 1});
        }
    }
    t.dirty.clear();
    for (auto _ : state) {
        for (const auto& s : spans) t.raster.span(s[0], s[1], s[2], 0xFF000000u);
        t.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WideRingSpansOnly)->Unit(benchmark::kMillisecond);

class ShapeRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::string base = "WideRing/width:1/rounded:0";
        for (const char* w : {"20", "100"})
            for (const char* r : {"0", "1"})
                ratio(std::string("WideRing/width:") + w + "/rounded:" + r, base,
                      "/ width-1 ellipse");
        ratio("WideRing/width:100/rounded:0", "WideRingSpansOnly", "/ its spans only");
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    ShapeRatios reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
