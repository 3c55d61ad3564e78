#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

// Prints the table as usual and keeps each run's time, so Finalize can print the ratios
// between runs of the same process.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }

  protected:
    // Prints time(a) / time(b) when both ran.
    void ratio(const std::string& a, const std::string& b, const char* what) {
        if (!times_.count(a) || !times_.count(b) || times_[b] <= 0) return;
        std::printf("ratio %-44s %s: %.2f\n", a.c_str(), what, times_[a] / times_[b]);
    }

  private:
    std::map<std::string, double> times_;
};

// The main of a benchmark program that needs Qt: offscreen unless a display is asked for, the
// application object `App` (QApplication or QGuiApplication), then the runs with `Reporter`.
template <class App, class Reporter>
int runBenchmarks(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
