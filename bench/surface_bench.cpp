// Rubber-band cycle: Refresh, then an ellipse preview of about 100 x 100 to the screen only.
// The cost must follow the preview, not the canvas: compare the two canvas sizes.
#include <benchmark/benchmark.h>

#include "surface/Gdi.h"
#include "surface/Surface.h"

namespace {

void RubberBandCycle(benchmark::State& state) {
    nt::Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0xFFFFFF);
    s.setAutoRedraw(false);
    s.FillStyle = 1;
    int i = 0;
    for (auto _ : state) {
        s.Refresh();
        const int d = 95 + (i++ & 7);  // the pointer moves a little each time
        nt::Ellipse(nt::hDC(s), 200, 150, 200 + d, 150 + d);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(RubberBandCycle)->Args({600, 400})->Args({6000, 4000});
BENCHMARK_MAIN();
