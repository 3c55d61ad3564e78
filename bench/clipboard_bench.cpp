// Copy of a whole 6000 x 4000 canvas: the command as it is, offering the block to the system
// clipboard, against the internal clipboard's steps alone (the command before the offer). The
// offer must cost next to nothing: the PNG is made only when a program asks, which is timed
// on its own.
#include <benchmark/benchmark.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "RatioReporter.h"
#include "StartedWindow.h"
#include "document/Clipboard.h"
#include "document/SystemClipboard.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

void selectAll(frmmain& w) {
    w.shpSelect->setArea(QRectF(0, 0, kWidth - 1, kHeight - 1));
    w.shpSelect->show();
}

void BM_CopyWithSystemClipboard(benchmark::State& state) {
    Window win(kWidth, kHeight);
    frmmain& w = *win.w;
    for (auto _ : state) {
        selectAll(w);
        w.mnuCopy_Click();
    }
    if (w.pSrc21->width() != kWidth) state.SkipWithError("the copy was refused");
}

// What Copy did before the system clipboard: the internal clipboard's steps only.
void BM_CopyInternalOnly(benchmark::State& state) {
    Window win(kWidth, kHeight);
    frmmain& w = *win.w;
    for (auto _ : state) {
        selectAll(w);
        w.state.IsPasting = false;
        const auto selection = nt::SelectionPixels::of(w.shpSelect->area());
        w.pSrc21->adopt(nt::copySelectionPicture(w.canvas(), selection));
        w.pSrc21->Refresh();
        w.shpSelect->hide();
    }
}

// The PNG another program gets, made when it asks.
void BM_OfferedPngOnRequest(benchmark::State& state) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFF);
    for (int y = 0; y < kHeight; y += 50)  // a screenshot-like picture: flat, with some detail
        for (int x = 0; x < kWidth; ++x) picture.setPixel(x, y, 0xFF000000u | (x * 2654435761u));
    for (auto _ : state) {
        nt::ClipboardPicture offered(picture);
        benchmark::DoNotOptimize(offered.data(QStringLiteral("image/png")).size());
    }
}

// Alternating repetitions of both, so load that comes and goes falls on each alike; the ratio
// is of the medians.
BENCHMARK(BM_CopyWithSystemClipboard)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CopyInternalOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OfferedPngOnRequest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

class CopyRatio : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_CopyWithSystemClipboard/repeats:7/real_time_median",
              "BM_CopyInternalOnly/repeats:7/real_time_median", "with the offer / without");
    }
};

}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication, CopyRatio>(argc, argv);
}
