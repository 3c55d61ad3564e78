// Flood fill of a 4000 x 4000 one-colour picture beside a plain loop writing the same pixels
// once; halftone stretch 6000 x 4000 -> 1500 x 1000 (and -> 4000 x 6000, and 1500 x 1000 ->
// 4000 x 2700) beside a memcpy of the source (and
// OpenCV's area resize when built with it). The ratios are printed after the table, of wall
// time and of the benchmark thread's CPU time (the fairer one on a busy machine, except for
// OpenCV's own threads, whose work only the wall time shows).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "surface/Blit.h"

#ifdef NT_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kFillSide = 4000;
constexpr nt::Pixel kColours[2] = {0xFF102030u, 0xFF405060u};

QImage& fillPicture() {
    static QImage image = [] {
        QImage i(kFillSide, kFillSide, QImage::Format_RGB32);
        i.fill(kColours[0]);
        return i;
    }();
    return image;
}

// Each pass turns the whole picture into the other colour, so every pass fills it all.
void BM_FloodFill(benchmark::State& state) {
    QImage& image = fillPicture();
    nt::DirtyRows dirty(image.height());
    nt::RasterTarget t(image, &dirty);
    int k = image.pixel(0, 0) == kColours[0] ? 0 : 1;
    for (auto _ : state) {
        nt::floodFillSurface(t, 1234, 2345, kColours[k], nt::Brush::solid(kColours[k ^ 1]));
        k ^= 1;
        benchmark::ClobberMemory();
    }
    if (image.pixel(kFillSide - 1, kFillSide - 1) != kColours[k]) state.SkipWithError("incomplete");
}

// A brush of the start colour itself: the area is marked, then painted.
void BM_FloodFillSameColour(benchmark::State& state) {
    QImage& image = fillPicture();
    nt::DirtyRows dirty(image.height());
    nt::RasterTarget t(image, &dirty);
    const nt::Pixel c = image.pixel(0, 0);
    for (auto _ : state) {
        nt::floodFillSurface(t, 1234, 2345, c, nt::Brush::solid(c));
        benchmark::ClobberMemory();
    }
}

void BM_PlainLoop(benchmark::State& state) {
    QImage& image = fillPicture();
    auto* bits = reinterpret_cast<nt::Pixel*>(image.bits());
    const auto stride = image.bytesPerLine() / 4;
    int k = 0;
    for (auto _ : state) {
        for (int y = 0; y < kFillSide; ++y) {
            nt::Pixel* row = bits + y * stride;
            for (int x = 0; x < kFillSide; ++x) row[x] = kColours[k];
        }
        k ^= 1;
        benchmark::ClobberMemory();
    }
}

const QImage& stretchSource() {
    static const QImage image = [] {
        QImage i(6000, 4000, QImage::Format_RGB32);
        std::uint32_t v = 12345;
        for (int y = 0; y < i.height(); ++y) {
            auto* row = reinterpret_cast<nt::Pixel*>(i.scanLine(y));
            for (int x = 0; x < i.width(); ++x) {
                v = v * 1664525u + 1013904223u;
                row[x] = 0xFF000000u | (v >> 8);
            }
        }
        return i;
    }();
    return image;
}

void BM_Halftone(benchmark::State& state) {
    const QImage& src = stretchSource();
    QImage dst(1500, 1000, QImage::Format_RGB32);
    nt::DirtyRows dirty(dst.height());
    nt::RasterTarget t(dst, &dirty);
    for (auto _ : state) {
        nt::stretchRect(t, 0, 0, 1500, 1000, src, 0, 0, 6000, 4000, nt::StretchMode::Halftone);
        benchmark::ClobberMemory();
    }
}

// The same picture enlarged by a non-integer factor, for the record.
void BM_HalftoneEnlarge(benchmark::State& state) {
    const QImage src = stretchSource().copy(0, 0, 1500, 1000);
    QImage dst(4000, 2700, QImage::Format_RGB32);
    nt::RasterTarget t(dst, nullptr);
    for (auto _ : state) {
        nt::stretchRect(t, 0, 0, 4000, 2700, src, 0, 0, 1500, 1000, nt::StretchMode::Halftone);
        benchmark::ClobberMemory();
    }
}

// The batch tool's stretch 4000 6000 of a 6000 x 4000 picture: narrower and taller at once.
void BM_HalftoneTurnedAspect(benchmark::State& state) {
    const QImage& src = stretchSource();
    QImage dst(4000, 6000, QImage::Format_RGB32);
    nt::RasterTarget t(dst, nullptr);
    for (auto _ : state) {
        nt::stretchRect(t, 0, 0, 4000, 6000, src, 0, 0, 6000, 4000, nt::StretchMode::Halftone);
        benchmark::ClobberMemory();
    }
}

void BM_CopySource(benchmark::State& state) {
    const QImage& src = stretchSource();
    QImage dst(src.size(), src.format());
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.constBits(), static_cast<std::size_t>(src.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}

#ifdef NT_BENCH_OPENCV
void BM_OpenCvArea(benchmark::State& state) {
    const QImage& src = stretchSource();
    const cv::Mat in(src.height(), src.width(), CV_8UC4, const_cast<uchar*>(src.constBits()),
                     static_cast<std::size_t>(src.bytesPerLine()));
    cv::Mat out;
    const int threads = cv::getNumThreads();
    cv::setNumThreads(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        cv::resize(in, out, cv::Size(1500, 1000), 0, 0, cv::INTER_AREA);
        benchmark::ClobberMemory();
    }
    cv::setNumThreads(threads);
}
#endif

// The console table, then each measured figure as a ratio to its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred)
                times_[r.benchmark_name()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_FloodFill/real_time", "BM_PlainLoop/real_time");
        ratio("BM_FloodFillSameColour/real_time", "BM_PlainLoop/real_time");
        ratio("BM_Halftone/real_time", "BM_CopySource/real_time");
        ratio("BM_HalftoneEnlarge/real_time", "BM_CopySource/real_time");
        ratio("BM_HalftoneTurnedAspect/real_time", "BM_CopySource/real_time");
        ratio("BM_Halftone/real_time", "BM_OpenCvArea/1/real_time");
        ratio("BM_Halftone/real_time", "BM_OpenCvArea/-1/real_time");
    }

  private:
    void ratio(const std::string& what, const std::string& base) {
        const auto a = times_.find(what), b = times_.find(base);
        if (a == times_.end() || b == times_.end()) return;
        std::printf("%-34s / %-28s = %5.2f wall, %5.2f cpu\n", what.c_str(), base.c_str(),
                    a->second.first / b->second.first, a->second.second / b->second.second);
    }
    std::map<std::string, std::pair<double, double>> times_;  // wall, cpu
};

}  // namespace

BENCHMARK(BM_FloodFill)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloodFillSameColour)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Halftone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HalftoneEnlarge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HalftoneTurnedAspect)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopySource)->Unit(benchmark::kMillisecond)->UseRealTime();
#ifdef NT_BENCH_OPENCV
// 1: one thread like ours; -1: OpenCV's own default.
BENCHMARK(BM_OpenCvArea)->Arg(1)->Arg(-1)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
