// Longest stall of the event loop on the real main window (offscreen): a 10 ms timer runs while
// a user draws strokes, and the largest gap between its ticks is the figure (10 ms when nothing
// stalls). Scenarios, each on a new window:
// - Snapshot: the one-minute snapshot is taken just before the user draws on;
// - Presses: strokes follow each other faster than the undo file of a press is written;
// - FirstPress: the first strokes on a new picture;
// - Zoom: Ctrl+wheel notches over the middle of the view, out to 12.5 %, in to 3200 % and back;
// - TimelineSnapshot: a snapshot after a change, so the one before it is kept in the timeline;
// - TimelineWindow: "快照历史" opened on three snapshots, shown 1.5 s while its thumbnails load.
// Sizes 10000 x 10000 against 800 x 500; the ratios follow the table. With NT_STALL_VERBOSE set,
// every step of the script that took more than 20 ms is printed with its time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWheelEvent>

#include "RatioReporter.h"
#include "StartedWindow.h"
#include "mainwindow/frmmain.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSmallW = 800, kSmallH = 500, kLargeW = 10000, kLargeH = 10000;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The largest gap between the ticks of a 10 ms timer.
class StallMeter {
  public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        last_ = Clock::now();
        timer_.start();
    }
    double longestMs() {
        tick();
        return longest_;
    }

  private:
    void tick() {
        longest_ = std::max(longest_, msSince(last_));
        last_ = Clock::now();
    }
    QTimer timer_;
    Clock::time_point last_;
    double longest_ = 0;
};

// Runs the steps at their times (ms from now) in the event loop, then `tailMs` more.
class Script {
  public:
    void at(int ms, const char* what, std::function<void()> step) {
        steps_.push_back({ms, what, std::move(step)});
        end_ = std::max(end_, ms);
    }
    void run(int tailMs) {
        const bool verbose = std::getenv("NT_STALL_VERBOSE") != nullptr;
        QEventLoop loop;
        const auto start = Clock::now();
        for (const Step& s : steps_)
            QTimer::singleShot(s.ms, Qt::PreciseTimer, &loop, [&s, verbose, start] {
                const auto t = Clock::now();
                s.step();
                if (verbose && msSince(t) > 20)
                    std::printf("  at %6.0f ms  %-10s took %6.1f ms\n", msSince(start) - msSince(t),
                                s.what, msSince(t));
            });
        QTimer::singleShot(end_ + tailMs, &loop, &QEventLoop::quit);
        loop.exec();
    }

  private:
    struct Step {
        int ms;
        const char* what;
        std::function<void()> step;
    };
    std::vector<Step> steps_;
    int end_ = 0;
};

// Pencil strokes near the middle, one every 300 ms from `from`: a press, ten moves 20 ms apart
// and the release.
void addStrokes(Script& s, frmmain& w, int from, int count) {
    const double cx = w.canvas().width() / 2.0, cy = w.canvas().height() / 2.0;
    for (int k = 0; k < count; ++k) {
        const int t = from + k * 300;
        const double x = cx + k * 7 % 200 - 100, y = cy + k * 13 % 200 - 100;
        s.at(t, "press", [&w, x, y] { w.SrcDc_MouseDown(1, 0, x, y); });
        for (int i = 1; i <= 10; ++i)
            s.at(t + 20 * i, "move", [&w, x, y, i] { w.SrcDc_MouseMove(1, 0, x + i * 3, y + i); });
        s.at(t + 220, "release", [&w, x, y] { w.SrcDc_MouseUp(1, 0, x + 30, y + 10); });
    }
}

// One Ctrl+wheel notch every 150 ms from `from`, as the window's workspace receives it.
void addZoomNotches(Script& s, frmmain& w, int from) {
    const int notches[] = {-1, -1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1};
    int t = from;
    for (int notch : notches) {
        s.at(t, "wheel", [&w, notch] {
            const QPointF at = w.viewCentre();
            QWheelEvent e(at, w.pHolder->mapToGlobal(at), QPoint(), QPoint(0, 120 * notch),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.pHolder, &e);
        });
        t += 150;
    }
}

enum class Scenario { Snapshot, Presses, FirstPress, Zoom, TimelineSnapshot, TimelineWindow };

// Snapshots of `count` different pictures, each written before the next.
void takeSnapshots(frmmain& w, int count) {
    for (int i = 0; i < count; ++i) {
        w.SrcDc_MouseDown(1, 0, 10, 20 + i);
        w.SrcDc_MouseUp(1, 0, 20, 20 + i);
        w.Timer10_Timer();
        w.backupImage().flush();
    }
}

// Opens the timeline window and closes it `ms` later.
void showTimeline(frmmain& w, int ms) {
    QTimer::singleShot(ms, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    w.mnuSnapshots_Click();
}

void runScenario(benchmark::State& state, Scenario scenario) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto win = std::make_unique<Window>(width, height);
        frmmain& w = *win->w;
        w.Command1_Click(nt::kPencil);
        if (scenario != Scenario::FirstPress) {
            // A stroke made and written before: the undo copy exists, nothing is being written.
            w.SrcDc_MouseDown(1, 0, 10, 10);
            w.SrcDc_MouseUp(1, 0, 20, 10);
            w.undoImage().flush();
        }
        if (scenario == Scenario::TimelineSnapshot) takeSnapshots(w, 1);
        if (scenario == Scenario::TimelineWindow) takeSnapshots(w, 3);
        if (scenario == Scenario::TimelineSnapshot) {
            // A change since that snapshot: the next one keeps it.
            w.SrcDc_MouseDown(1, 0, 30, 30);
            w.SrcDc_MouseUp(1, 0, 40, 30);
            w.undoImage().flush();
        }
        QCoreApplication::processEvents();
        state.ResumeTiming();
        Script script;
        if (scenario == Scenario::Snapshot || scenario == Scenario::TimelineSnapshot)
            script.at(0, "snapshot", [&w] { w.Timer10_Timer(); });
        if (scenario == Scenario::Zoom)
            addZoomNotches(script, w, 10);
        else if (scenario == Scenario::TimelineWindow)
            script.at(0, "timeline", [&w] { showTimeline(w, 1500); });
        else
            addStrokes(script, w, 10, scenario == Scenario::FirstPress ? 2 : 8);
        StallMeter meter;
        script.run(300);
        const double ms = meter.longestMs();
        state.SetIterationTime(ms / 1000);
        longest = std::max(longest, ms);
        state.PauseTiming();
        w.undoImage().flush();
        w.backupImage().flush();
        win.reset();
        state.ResumeTiming();
    }
    state.counters["longest_ms"] = longest;
}

void BM_StallSnapshot(benchmark::State& s) {
    runScenario(s, Scenario::Snapshot);
}
void BM_StallPresses(benchmark::State& s) {
    runScenario(s, Scenario::Presses);
}
void BM_StallFirstPress(benchmark::State& s) {
    runScenario(s, Scenario::FirstPress);
}

void BM_StallZoom(benchmark::State& s) {
    runScenario(s, Scenario::Zoom);
}
void BM_StallTimelineSnapshot(benchmark::State& s) {
    runScenario(s, Scenario::TimelineSnapshot);
}
void BM_StallTimelineWindow(benchmark::State& s) {
    runScenario(s, Scenario::TimelineWindow);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({kSmallW, kSmallH})
        ->Args({kLargeW, kLargeH})
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
}
BENCHMARK(BM_StallSnapshot)->Apply(sizes);
BENCHMARK(BM_StallPresses)->Apply(sizes);
BENCHMARK(BM_StallFirstPress)->Apply(sizes);
BENCHMARK(BM_StallZoom)->Apply(sizes);
BENCHMARK(BM_StallTimelineSnapshot)->Apply(sizes);
BENCHMARK(BM_StallTimelineWindow)->Apply(sizes);

class StallRatios : public RatioReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto name = [](const char* bm, int w, int h) {
            return std::string(bm) + "/" + std::to_string(w) + "/" + std::to_string(h) +
                   "/iterations:3/manual_time";
        };
        for (const char* bm :
             {"BM_StallSnapshot", "BM_StallPresses", "BM_StallFirstPress", "BM_StallZoom",
              "BM_StallTimelineSnapshot", "BM_StallTimelineWindow"})
            ratio(name(bm, kLargeW, kLargeH), name(bm, kSmallW, kSmallH), "10000² / 800x500");
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    StallRatios reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
