// Opening the text dialog against opening QFontDialog in the same run (install fonts-noto-cjk
// and fonts-dejavu to see it on a system with many fonts), and a 96-point line of 40 Chinese
// characters drawn on an 800 x 500 and a 6000 x 4000 canvas; a line of 100,000 underlined
// against the same plain.
#include <cstdlib>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>

#include "RatioReporter.h"
#include "surface/Gdi.h"
#include "surface/Surface.h"
#include "text/frmText.h"

namespace {

// Made, shown, painted and closed, as one opening of a modal dialog costs.
template <class Dialog>
void openAndClose(benchmark::State& state) {
    for (auto _ : state) {
        Dialog d;
        d.show();
        QCoreApplication::processEvents();
        d.close();
    }
}
void BM_OpenTextDialog(benchmark::State& state) {
    openAndClose<frmText>(state);
    state.counters["fonts"] = static_cast<double>(QFontDatabase::families().size());
}
void BM_OpenQFontDialog(benchmark::State& state) {
    openAndClose<QFontDialog>(state);
}
BENCHMARK(BM_OpenTextDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenQFontDialog)->Unit(benchmark::kMillisecond);

void BM_ChineseLine96pt(benchmark::State& state) {
    nt::Surface canvas(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    canvas.Font.size = 96;
    QString line;
    for (int i = 0; i < 40; ++i) line += QChar(0x4E00 + i * 37);
    for (auto _ : state) nt::TextOutA(nt::hDC(canvas), 20, 40, line);
}
// 800 x 500 shows 6 of the 40 characters; 5200 x 300 just holds the whole line, as 6000 x 4000.
BENCHMARK(BM_ChineseLine96pt)
    ->Args({800, 500})
    ->Args({5200, 300})
    ->Args({6000, 4000})
    ->Unit(benchmark::kMicrosecond);
// A line of 100,000 characters at 96 points on the small canvas: only what shows costs,
// underlined (argument 1) as plain.
void BM_LongLine96ptOnSmallCanvas(benchmark::State& state) {
    nt::Surface canvas(800, 500);
    canvas.Font.size = 96;
    canvas.Font.underline = state.range(0) != 0;
    const QString line(100000, QChar(0x6C38));
    for (auto _ : state) nt::TextOutA(nt::hDC(canvas), 20, 40, line);
}
BENCHMARK(BM_LongLine96ptOnSmallCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

class TextRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_OpenTextDialog", "BM_OpenQFontDialog", "frmText / QFontDialog");
        ratio("BM_ChineseLine96pt/6000/4000", "BM_ChineseLine96pt/800/500", "6000x4000 / 800x500");
        ratio("BM_ChineseLine96pt/6000/4000", "BM_ChineseLine96pt/5200/300",
              "6000x4000 / 5200x300");
        ratio("BM_LongLine96ptOnSmallCanvas/1", "BM_LongLine96ptOnSmallCanvas/0",
              "underlined / plain");
    }
};

}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QApplication, TextRatios>(argc, argv);
}
