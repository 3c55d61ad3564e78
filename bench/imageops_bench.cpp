// Whole-picture operations on a 6000 x 4000 picture, beside a plain copy of the same
// buffer in the same run: report each operation's time as a ratio to BM_Copy. The CPU column
// is the whole process's, so it reads as the time the work would take on one thread.
#include <cstring>
#include <random>

#include <benchmark/benchmark.h>
#include <QImage>

#include "imageops/Decorate.h"
#include "imageops/Geometry.h"
#include "imageops/NeighbourFilters.h"
#include "imageops/PointFilters.h"
#include "imageops/RandomFilters.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A photo-like picture: smooth gradients plus mild noise, so that neighbouring pixels are
// close as in real pictures.
QImage& picture() {
    static QImage image = [] {
        QImage img(kWidth, kHeight, QImage::Format_RGB32);
        std::mt19937 gen(7);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<nt::Pixel*>(img.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                const int jitter = static_cast<int>(gen() % 16);
                const int r = (x * 255 / kWidth + jitter) & 0xFF;
                const int g = (y * 255 / kHeight + jitter) & 0xFF;
                const int b = ((x + y) * 255 / (kWidth + kHeight) + jitter) & 0xFF;
                row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            }
        }
        return img;
    }();
    return image;
}

void BM_Copy(benchmark::State& state) {
    QImage& src = picture();
    static QImage dst = src.copy();  // touched once, reused like the operations' buffers
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.constBits(), static_cast<std::size_t>(src.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}

template <class Op>
void runInPlace(benchmark::State& state, Op op) {
    QImage& img = picture();
    nt::RasterTarget t(img, nullptr);
    for (auto _ : state) {
        op(t);
        benchmark::ClobberMemory();
    }
}

void BM_Invert(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::InvertColors(t); });
}
void BM_Gray(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::GrayScale(t); });
}
void BM_RemoveGreen(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::RemoveChannel(t, 1); });
}
void BM_Rgb(benchmark::State& s) {
    int sign = 1;
    runInPlace(s, [&](auto& t) {
        nt::AdjustRgb(t, 40 * sign, -30 * sign, 20 * sign);
        sign = -sign;
    });
}
void BM_Brightness(benchmark::State& s) {
    int sign = 1;
    runInPlace(s, [&](auto& t) {
        nt::AdjustBrightness(t, 50 * sign);
        sign = -sign;
    });
}
void BM_FlipLeftRight(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::FlipCanvas(t, 0); });
}
void BM_FlipTopBottom(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::FlipCanvas(t, 1); });
}
void BM_FlipBoth(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::FlipCanvas(t, 2); });
}
void BM_Mirror(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::MirrorHalf(t); });
}
void BM_Blur(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::BlurImage(t); });
}
void BM_Sharpen(benchmark::State& s) {
    float k = 1.2f;
    runInPlace(s, [&](auto& t) {
        nt::SharpenImage(t, k);
        k = k > 0 ? -0.5f : 1.2f;  // alternate so the picture does not saturate
    });
}
void BM_Wave(benchmark::State& s) {
    runInPlace(s, [](auto& t) { nt::WavePixels(t); });
}
void BM_Noise(benchmark::State& s) {
    nt::UniformRandom random;
    runInPlace(s, [&](auto& t) { nt::AddNoise(t, 16, random); });
}
void BM_Diffuse(benchmark::State& s) {
    nt::UniformRandom random;
    runInPlace(s, [&](auto& t) { nt::DiffuseImage(t, random); });
}
void BM_Frame(benchmark::State& s) {
    nt::Pen pen;
    pen.pixel = 0xFFFF0000u;
    runInPlace(s, [&](auto& t) { nt::DrawFrame(t, pen, 50); });
}
void BM_StretchToQuarter(benchmark::State& state) {
    const QImage& img = picture();
    for (auto _ : state) {
        QImage out = nt::StretchImage(img, kWidth / 2, kHeight / 2);
        benchmark::DoNotOptimize(out.constBits());
    }
}
void BM_LayPicture(benchmark::State& state) {
    QImage mask(800, 600, QImage::Format_RGB32);
    mask.fill(QColor(255, 0, 255));
    for (int y = 100; y < 500; ++y)
        for (int x = 100; x < 700; ++x) mask.setPixel(x, y, 0xFF204080u);
    runInPlace(state, [&](auto& t) { nt::LayPicture(t, mask, nt::StretchMode::Halftone); });
}

constexpr auto kMs = benchmark::kMillisecond;

}  // namespace

BENCHMARK(BM_Copy)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Invert)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Gray)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RemoveGreen)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Rgb)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Brightness)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FlipLeftRight)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FlipTopBottom)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FlipBoth)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Mirror)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Blur)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Sharpen)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Wave)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Noise)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Diffuse)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_Frame)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_StretchToQuarter)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_LayPicture)->Unit(kMs)->MeasureProcessCPUTime()->UseRealTime();

BENCHMARK_MAIN();
