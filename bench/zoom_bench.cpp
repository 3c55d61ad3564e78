// The zoomed view on the real main window (offscreen): a repaint of everything visible, and a
// pencil move delivered as a mouse event through the view's mapping and painted. Each runs at
// 100 % on 800 x 500 and zoomed on 10000 x 10000 with the view on the middle of the picture;
// the ratios against the 100 % runs follow the table.
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include "RatioReporter.h"
#include "StartedWindow.h"
#include "mainwindow/ViewRendering.h"
#include "mainwindow/frmmain.h"

namespace {

constexpr int kSmall[] = {800, 500}, kLarge[] = {10000, 10000};
constexpr int k12_5 = 0, k100 = 3, k800 = 8, k3200 = 12;

// The window at `level` with the picture's middle in the middle of the view.
void zoomToMiddle(frmmain& w, int level) {
    w.setZoomLevel(level, w.viewCentre());
    w.hBar->setValue(w.hBar->maximum() / 2);
    w.vBar->setValue(w.vBar->maximum() / 2);
    QCoreApplication::processEvents();
}

// The canvas where it is visible: inside the workspace and clear of the scroll bars, which
// the 800 x 500 canvas does not reach and which would repaint with it otherwise.
void BM_Repaint(benchmark::State& state) {
    Window win(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    frmmain& w = *win.w;
    zoomToMiddle(w, static_cast<int>(state.range(0)));
    const QPointF free = w.viewCentre() * 2;
    const QRect visible =
        QRect(-w.SrcDc->pos(), QSize(int(free.x()), int(free.y()))) & w.SrcDc->rect();
    w.SrcDc->repaint(visible);  // reductions are made on the first paint; repaints find them
    for (auto _ : state) w.SrcDc->repaint(visible);
    state.counters["pixels"] = visible.width() * visible.height();
}

// The magnification alone, into the view's buffer, for the same visible part.
void BM_Magnify(benchmark::State& state) {
    QImage picture(10000, 10000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage out;
    const QRect visible(160000, 160000, 904, 526);
    for (auto _ : state) {
        nt::magnifyInto(picture, 32, visible, false, out);
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(BM_Magnify);

// The first reductions for a view at 12.5 % of 10000 x 10000: what a zoom step waits for.
void BM_FirstReductions(benchmark::State& state) {
    QImage picture(10000, 10000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (auto _ : state) {
        nt::ReductionCache cache;
        benchmark::DoNotOptimize(cache.reduced(picture, 3, QRect(300, 300, 886, 527)).constBits());
    }
}
BENCHMARK(BM_FirstReductions)->Unit(benchmark::kMillisecond);

// A pencil path over 40 x 40 picture pixels round the middle, all of it on screen at 800 %.
QPointF pathPoint(frmmain& w, int i) {
    const double cx = w.canvas().width() / 2.0, cy = w.canvas().height() / 2.0;
    return {cx + (i * 37 % 40) - 20, cy + (i * 53 % 40) - 20};
}

void BM_PencilMove(benchmark::State& state) {
    Window win(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    frmmain& w = *win.w;
    zoomToMiddle(w, static_cast<int>(state.range(0)));
    w.Command1_Click(nt::kPencil);
    const QPointF start = pathPoint(w, 0);
    w.SrcDc_MouseDown(1, 0, start.x(), start.y());
    w.SrcDc_MouseMove(1, 0, start.x() + 1, start.y());  // the canvas's own copy, untimed
    w.undoImage().flush();
    QCoreApplication::processEvents();
    const double scale = w.zoom().scale();
    int i = 1;
    for (auto _ : state) {
        const QPointF p = pathPoint(w, i++) * scale;
        QMouseEvent move(QEvent::MouseMove, p, w.SrcDc->mapToGlobal(p), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.SrcDc, &move);
        QCoreApplication::processEvents();
    }
    w.SrcDc_MouseUp(1, 0, start.x(), start.y());
    w.undoImage().flush();
}

void cases(benchmark::internal::Benchmark* b, int zoomed) {
    b->Args({k100, kSmall[0], kSmall[1]})->Args({zoomed, kLarge[0], kLarge[1]});
}
BENCHMARK(BM_Repaint)->Apply([](auto* b) {
    cases(b, k3200);
    b->Args({k12_5, kLarge[0], kLarge[1]});
});
BENCHMARK(BM_PencilMove)->Apply([](auto* b) { cases(b, k800); });

class ZoomRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto name = [](const char* bm, int level, const int* size) {
            return std::string(bm) + "/" + std::to_string(level) + "/" + std::to_string(size[0]) +
                   "/" + std::to_string(size[1]);
        };
        ratio(name("BM_Repaint", k3200, kLarge), name("BM_Repaint", k100, kSmall),
              "3200 % 10000² / 100 % 800x500");
        ratio(name("BM_Repaint", k12_5, kLarge), name("BM_Repaint", k100, kSmall),
              "12.5 % 10000² / 100 % 800x500");
        ratio(name("BM_PencilMove", k800, kLarge), name("BM_PencilMove", k100, kSmall),
              "800 % 10000² / 100 % 800x500");
    }
};

}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication, ZoomRatios>(argc, argv);
}
