// The pointer pipeline of the real main window (offscreen), driven through its handlers on an
// 800 x 500 and a 6000 x 4000 canvas: a move's cost must not grow with the canvas. Each move
// also lets the window repaint what it changed; the paste preview and the clone stamp are
// timed the same way, and a copy of the whole canvas against a memcpy of it. Start-up runs the
// program's window, a bare Qt window and a bare one with a label as separate processes to their
// first paint (needs a display: xvfb-run), with their ratios as counters. The other ratios follow
// the table.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "RatioReporter.h"
#include "StartedWindow.h"
#include "mainwindow/frmmain.h"

extern char** environ;

namespace {

constexpr int kSmallW = 800, kSmallH = 500, kLargeW = 6000, kLargeH = 4000;

// A pointer path wandering over a 200 x 200 area near the middle of the canvas.
QPointF pathPoint(int width, int height, int i) {
    const double cx = width / 2.0, cy = height / 2.0;
    return {cx + (i * 37 % 200) - 100, cy + (i * 53 % 200) - 100};
}

// Moves with the button held after a press at the path's start; `prepare` sets the window up
// after the tool was chosen. With `sameSpot` both canvas sizes take the small canvas's path,
// so they see exactly the same moves.
void runMoves(benchmark::State& state, int tool,
              const std::function<void(frmmain&, QPointF)>& prepare = {}, bool sameSpot = false) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const auto point = [&](int i) {
        return sameSpot ? pathPoint(kSmallW, kSmallH, i) : pathPoint(width, height, i);
    };
    Window win(width, height);
    frmmain& w = *win.w;
    w.Command1_Click(tool);
    const QPointF start = point(0);
    if (prepare) prepare(w, start);
    w.SrcDc_MouseDown(1, 0, start.x(), start.y());
    // The first persistent draw gives the canvas its own copy of the undo image: not a move's
    // cost, so it happens before timing, and so does the undo file.
    w.SrcDc_MouseMove(1, 0, start.x() + 1, start.y());
    w.undoImage().flush();
    int i = 1;
    for (auto _ : state) {
        const QPointF p = point(i++);
        w.SrcDc_MouseMove(1, 0, p.x(), p.y());
        QCoreApplication::processEvents();
    }
    w.SrcDc_MouseUp(1, 0, start.x(), start.y());
    w.undoImage().flush();
}

void BM_RubberBandMove(benchmark::State& state) {
    runMoves(state, nt::kRectangle);
}
void BM_PencilMove(benchmark::State& state) {
    runMoves(state, nt::kPencil);
}

// A paste being dragged: a 1000 x 1000 clipboard follows the pointer as a preview.
void BM_PastePreviewMove(benchmark::State& state) {
    const auto paste = [](frmmain& w, QPointF) {
        QImage block(1000, 1000, QImage::Format_RGB32);
        block.fill(Qt::darkCyan);
        w.pSrc21->adopt(block);
        w.mnuPaste_Click();
    };
    runMoves(state, nt::kSelect, paste, true);
}
// Clone stamping with the start-up block size, the source 40 pixels up and left.
void BM_CloneStampMove(benchmark::State& state) {
    const auto source = [](frmmain& w, QPointF start) {
        w.SrcDc_MouseDown(1, 4, start.x() - 40, start.y() - 40);
        w.SrcDc_MouseUp(1, 4, start.x() - 40, start.y() - 40);
    };
    runMoves(state, nt::kCloneStamp, source);
}
// Copy of a selection of the whole canvas, against a plain copy of the canvas's pixels.
void BM_CopyWholeSelection(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Window win(width, height);
    frmmain& w = *win.w;
    for (auto _ : state) {
        w.shpSelect->setArea(QRectF(0, 0, width - 1, height - 1));
        w.shpSelect->show();
        w.mnuCopy_Click();
    }
    if (w.pSrc21->width() != width) state.SkipWithError("the copy was refused");
}
void BM_MemcpyCanvas(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Window win(width, height);
    const QImage& from = win.w->canvas().Image();
    QImage to(from.size(), from.format());
    to.fill(0);
    for (auto _ : state) {
        std::memcpy(to.bits(), from.constBits(), static_cast<size_t>(from.sizeInBytes()));
        benchmark::DoNotOptimize(to.bits());
    }
}

// A line stroke as a user makes it: the press, then the move and the release, with the pause
// of a human hand between them (the undo image is written meanwhile, untimed). The press must
// not wait on the canvas size; the release draws into the picture.
void BM_LineStroke(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Window win(width, height);
    frmmain& w = *win.w;
    w.Command1_Click(nt::kLine);
    int i = 0;
    for (auto _ : state) {
        const QPointF a = pathPoint(width, height, i++), b = pathPoint(width, height, i++);
        w.SrcDc_MouseDown(1, 0, a.x(), a.y());
        state.PauseTiming();
        w.undoImage().flush();
        state.ResumeTiming();
        w.SrcDc_MouseMove(1, 0, b.x(), b.y());
        w.SrcDc_MouseUp(1, 0, b.x(), b.y());
        QCoreApplication::processEvents();
    }
    w.undoImage().flush();
}

// The press alone, with the previous stroke's undo image already written.
void BM_LinePress(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    Window win(width, height);
    frmmain& w = *win.w;
    w.Command1_Click(nt::kLine);
    for (auto _ : state) {
        w.SrcDc_MouseDown(1, 0, width / 2.0, height / 2.0);
        state.PauseTiming();
        w.SrcDc_MouseUp(1, 0, width / 2.0, height / 2.0);
        w.undoImage().flush();
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({kSmallW, kSmallH})->Args({kLargeW, kLargeH})->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_RubberBandMove)->Apply(sizes);
BENCHMARK(BM_PencilMove)->Apply(sizes);
BENCHMARK(BM_PastePreviewMove)->Apply(sizes);
BENCHMARK(BM_CloneStampMove)->Apply(sizes);
BENCHMARK(BM_CopyWholeSelection)->Args({kLargeW, kLargeH})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyCanvas)->Args({kLargeW, kLargeH})->Unit(benchmark::kMillisecond);
// Each of these writes a whole undo image per iteration: a fixed, small count.
BENCHMARK(BM_LinePress)->Apply(sizes)->Iterations(20);
BENCHMARK(BM_LineStroke)->Apply(sizes)->Iterations(20);

// ---- start-up: whole processes from spawn to the first painted window ----

// Milliseconds from spawn to exit of a program that ends at its first paint; -1 on failure.
double firstPaintMs(const std::string& path) {
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The program's window and a bare Qt window start in turn, so both see the same moments of
// a noisy machine; the ratio is of the medians. Each iteration's time is the pair's.
void BM_StartupMainWindowOverBareQtWindow(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    const QString dir = QCoreApplication::applicationDirPath() + "/";
    const std::string bare = (dir + "mainwindow_startup_bare").toStdString();
    const std::string label = (dir + "mainwindow_startup_label").toStdString();
    const std::string app = (dir + "mainwindow_startup_app").toStdString();
    QTemporaryDir sessions;  // the started windows' working files, never the user's
    qputenv("NORVALYTINTORA_STATE_DIR", QFile::encodeName(sessions.path()));
    std::vector<double> bareMs, labelMs, appMs;
    for (auto _ : state) {
        bareMs.push_back(firstPaintMs(bare));
        labelMs.push_back(firstPaintMs(label));
        appMs.push_back(firstPaintMs(app));
        if (bareMs.back() < 0 || labelMs.back() < 0 || appMs.back() < 0) {
            state.SkipWithError("a program did not reach its first paint");
            return;
        }
    }
    state.counters["bare_ms"] = median(bareMs);
    state.counters["window_ms"] = median(appMs);
    state.counters["label_ms"] = median(labelMs);
    state.counters["ratio"] = median(appMs) / median(bareMs);
    // Against a bare window that shows one line of Chinese, the font set-up is on both sides.
    state.counters["ratio_label"] = median(appMs) / median(labelMs);
}
BENCHMARK(BM_StartupMainWindowOverBareQtWindow)
    ->Iterations(31)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

class MoveRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::string small = "/" + std::to_string(kSmallW) + "/" + std::to_string(kSmallH);
        const std::string large = "/" + std::to_string(kLargeW) + "/" + std::to_string(kLargeH);
        for (const char* name :
             {"BM_RubberBandMove", "BM_PencilMove", "BM_PastePreviewMove", "BM_CloneStampMove"})
            ratio(std::string(name) + large, std::string(name) + small, "6000x4000 / 800x500");
        for (const char* name : {"BM_LinePress", "BM_LineStroke"})
            ratio(std::string(name) + large + "/iterations:20",
                  std::string(name) + small + "/iterations:20", "6000x4000 / 800x500");
        ratio("BM_CopyWholeSelection" + large, "BM_MemcpyCanvas" + large, "copy / memcpy");
    }
};

}  // namespace

int main(int argc, char** argv) {
    // The pipeline needs no screen.
    return runBenchmarks<QApplication, MoveRatios>(argc, argv);
}
