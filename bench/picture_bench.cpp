// Decoding and encoding a 6000 x 4000 24-bit BMP in memory, beside plain copies of the same
// buffers: the file bytes (what decoding reads) and the pixels (what encoding reads).

#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>
#include <QImage>

#include "platform/Picture.h"

#ifdef NT_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#endif

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

const QImage& picture() {
    static const QImage image = [] {
        QImage p(kWidth, kHeight, QImage::Format_RGB32);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(p.scanLine(y));
            for (int x = 0; x < kWidth; ++x)
                row[x] =
                    0xFF000000u | static_cast<std::uint32_t>(x * 7 + y * 13) * 2654435761u >> 8;
        }
        return p;
    }();
    return image;
}

const QByteArray& bmp() {
    static const QByteArray bytes = nt::encodeBmp(picture());
    return bytes;
}

void copyBytes(benchmark::State& state, const char* data, std::size_t size) {
    std::vector<char> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), data, size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

void BM_CopyFileBytes(benchmark::State& state) {
    copyBytes(state, bmp().constData(), static_cast<std::size_t>(bmp().size()));
}
BENCHMARK(BM_CopyFileBytes)->Unit(benchmark::kMillisecond);

void BM_DecodeBmp24(benchmark::State& state) {
    const QByteArray& bytes = bmp();
    for (auto _ : state) {
        auto result = nt::decodePicture(bytes);
        benchmark::DoNotOptimize(result);
        if (!std::holds_alternative<QImage>(result)) state.SkipWithError("decode failed");
    }
}
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);

void BM_CopyPixels(benchmark::State& state) {
    copyBytes(state, reinterpret_cast<const char*>(picture().constBits()),
              static_cast<std::size_t>(picture().sizeInBytes()));
}
BENCHMARK(BM_CopyPixels)->Unit(benchmark::kMillisecond);

void BM_EncodeBmp24(benchmark::State& state) {
    const QImage& image = picture();
    for (auto _ : state) {
        QByteArray bytes = nt::encodeBmp(image);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeBmp24)->Unit(benchmark::kMillisecond);

// Into one buffer kept across calls, as OpenCV's imencode reuses its vector below.
void BM_EncodeBmp24Reused(benchmark::State& state) {
    const QImage& image = picture();
    QByteArray bytes;
    for (auto _ : state) {
        nt::encodeBmpInto(image, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeBmp24Reused)->Unit(benchmark::kMillisecond);

#ifdef NT_BENCH_OPENCV
// OpenCV's BMP codec on the same picture (as 24-bit BGR, its native layout), same run.
const cv::Mat& bgr() {
    static const cv::Mat m = [] {
        cv::Mat out(kHeight, kWidth, CV_8UC3);
        for (int y = 0; y < kHeight; ++y) {
            const auto* src = reinterpret_cast<const std::uint32_t*>(picture().constScanLine(y));
            auto* dst = out.ptr<unsigned char>(y);
            for (int x = 0; x < kWidth; ++x) {
                dst[3 * x] = static_cast<unsigned char>(src[x]);
                dst[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
                dst[3 * x + 2] = static_cast<unsigned char>(src[x] >> 16);
            }
        }
        return out;
    }();
    return m;
}
void BM_OpenCvEncodeBmp(benchmark::State& state) {
    std::vector<unsigned char> buf;
    for (auto _ : state) {
        cv::imencode(".bmp", bgr(), buf);
        benchmark::DoNotOptimize(buf.data());
    }
}
BENCHMARK(BM_OpenCvEncodeBmp)->Unit(benchmark::kMillisecond);
void BM_OpenCvDecodeBmp(benchmark::State& state) {
    const std::vector<unsigned char> file(bmp().begin(), bmp().end());
    for (auto _ : state) {
        cv::Mat m = cv::imdecode(file, cv::IMREAD_COLOR);
        benchmark::DoNotOptimize(m.data);
    }
}
BENCHMARK(BM_OpenCvDecodeBmp)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
