// Press latency on the canvas: the handler of a press, timed alone, on an 800 x 500 and a
// 6000 x 4000 canvas of the started main window (offscreen). The press keeps the canvas image
// for Undo; writing "undo.bmp" must happen off the user-interface thread. Three cases:
// - idle: the previous undo image is already on disk;
// - busy: the previous press's file is still being written;
// - pencil: the press itself paints a dot into the picture.
// The ratios 6000x4000 / 800x500 are printed after the table.
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include "RatioReporter.h"
#include "StartedWindow.h"
#include "mainwindow/frmmain.h"

namespace {

constexpr int kSmallW = 800, kSmallH = 500, kLargeW = 6000, kLargeH = 4000;

double secondsOf(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

enum class Disk { Idle, Busy };

void runPresses(benchmark::State& state, int tool, Disk disk) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Window win(width, height);
    frmmain& w = *win.w;
    w.Command1_Click(tool);
    const double x = width / 2.0, y = height / 2.0;
    // The first press after a new picture copies it whole once; time the presses after it.
    w.SrcDc_MouseDown(1, 0, x, y);
    w.SrcDc_MouseUp(1, 0, x, y);
    w.undoImage().flush();
    for (auto _ : state) {
        state.SetIterationTime(secondsOf([&] { w.SrcDc_MouseDown(1, 0, x, y); }));
        w.SrcDc_MouseUp(1, 0, x, y);
        if (disk == Disk::Idle) w.undoImage().flush();
    }
    w.undoImage().flush();
}

void BM_LinePressIdle(benchmark::State& s) {
    runPresses(s, nt::kLine, Disk::Idle);
}
void BM_LinePressBusy(benchmark::State& s) {
    runPresses(s, nt::kLine, Disk::Busy);
}
void BM_PencilPressIdle(benchmark::State& s) {
    runPresses(s, nt::kPencil, Disk::Idle);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({kSmallW, kSmallH})
        ->Args({kLargeW, kLargeH})
        ->Unit(benchmark::kMicrosecond)
        ->UseManualTime()
        ->Iterations(30);
}
BENCHMARK(BM_LinePressIdle)->Apply(sizes);
BENCHMARK(BM_LinePressBusy)->Apply(sizes);
BENCHMARK(BM_PencilPressIdle)->Apply(sizes);

class PressRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto name = [](const char* bm, int w, int h) {
            return std::string(bm) + "/" + std::to_string(w) + "/" + std::to_string(h) +
                   "/iterations:30/manual_time";
        };
        for (const char* bm : {"BM_LinePressIdle", "BM_LinePressBusy", "BM_PencilPressIdle"})
            ratio(name(bm, kLargeW, kLargeH), name(bm, kSmallW, kSmallH), "6000x4000 / 800x500");
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    PressRatios reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
