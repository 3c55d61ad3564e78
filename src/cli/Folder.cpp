#include "cli/Folder.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sched.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include "cli/Convert.h"
#include "cli/MappedFile.h"
#include "cli/MemoryBudget.h"
#include "imageops/InputChecks.h"
#include "platform/Bmp.h"
#include "surface/Limits.h"

namespace nt::cli {

namespace {

using Clock = std::chrono::steady_clock;

// What a picture that goes through in bands holds: its bands and the buffers behind them.
constexpr std::int64_t kBandedBytes = std::int64_t{16} << 20;

int processorCount() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// The largest picture a stretch among the steps makes, in pixels.
std::int64_t largestStretch(const std::vector<Step>& steps) {
    std::int64_t largest = 0;
    for (const Step& step : steps) {
        if (step.operation->name != "stretch") continue;
        const auto size = checkStretchSize(step.arguments[0], step.arguments[1]);
        if (size.ok())
            largest = std::max(largest, std::int64_t{size.value.width} * size.value.height);
    }
    return largest;
}

// What a whole picture holds while its steps run: itself, a working copy an operation may make,
// and the largest picture a stretch makes, 4 bytes a pixel.
std::int64_t workingBytes(std::int64_t pixels, std::int64_t stretched) {
    return 4 * (2 * pixels + stretched);
}

// Before decoding: exact for a BMP, whose header says its size; for other files the largest
// picture the reader accepts, corrected once the picture is decoded.
std::int64_t needBeforeDecoding(const QString& input, const std::vector<Step>& steps,
                                std::int64_t stretched) {
    const MappedFile mapped(input, std::int64_t{1} << 30);
    if (const auto bmp = mapped.valid() ? uncompressedBmp(mapped.bytes()) : std::nullopt)
        return bandPlan(steps) ? kBandedBytes
                               : workingBytes(bmp->info.width * bmp->info.height, stretched);
    return workingBytes(kMaxPixels, stretched);
}

// A PNG file stays PNG, so a lossless picture stays lossless; the content decides, as it
// does for reading.
bool isPng(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArrayView("\x89PNG\r\n\x1a\n", 8);
}

void printError(const QString& message) {
    std::fprintf(stderr, "norvalytintora-cli: %s\n", qPrintable(message));
}

// Counts and tells: failures as they happen, a progress line on a terminal, the summary.
class Report {
  public:
    explicit Report(int total) : total_(total), terminal_(isatty(STDERR_FILENO) != 0) {}

    void failed(const QString& message) {
        const std::lock_guard lock(mutex_);
        ++failed_;
        clearLine();
        printError(message);
        draw(true);
    }
    void written() {
        const std::lock_guard lock(mutex_);
        ++written_;
        draw(written_ + failed_ == total_);
    }
    int failures() {
        const std::lock_guard lock(mutex_);
        return failed_;
    }
    void summary(bool interrupted) {
        const std::lock_guard lock(mutex_);
        clearLine();
        const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
        if (interrupted)
            printError(QStringLiteral("interrupted: %1 of %2 files not done")
                           .arg(total_ - written_ - failed_)
                           .arg(total_));
        std::printf("%d of %d written, %d failed, in %.2f s (%.1f files/s)\n", written_, total_,
                    failed_, seconds, (written_ + failed_) / std::max(seconds, 1e-3));
        std::fflush(stdout);
    }

  private:
    void clearLine() {
        if (terminal_) std::fputs("\r\033[K", stderr);
    }
    // "37 of 100, 41.3 files/s", at most ten times a second unless asked.
    void draw(bool now) {
        if (!terminal_) return;
        const auto t = Clock::now();
        if (!now && t - drawn_ < std::chrono::milliseconds(100)) return;
        drawn_ = t;
        const double seconds = std::chrono::duration<double>(t - start_).count();
        const int done = written_ + failed_;
        std::fprintf(stderr, "\r\033[K%d of %d, %.1f files/s", done, total_,
                     done / std::max(seconds, 1e-3));
        std::fflush(stderr);
    }

    std::mutex mutex_;
    const int total_;
    const bool terminal_;
    int written_ = 0, failed_ = 0;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point drawn_{};
};

}  // namespace

QString outputPathFor(const QString& outDir, const QString& input) {
    const QFileInfo info(input);
    const QString name =
        info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    return QDir(outDir).filePath(name + QLatin1StringView(isPng(input) ? ".png" : ".bmp"));
}

int runFolderJob(const FolderJob& job, const std::atomic<bool>& stop) {
    MemoryBudget budget(MemoryBudget::halfOfAvailable());
    return runFolderJob(job, stop, budget, processorCount());
}

std::int64_t memoryNeed(const QString& input, const std::vector<Step>& steps) {
    return needBeforeDecoding(input, steps, largestStretch(steps));
}

int runFolderJob(const FolderJob& job, const std::atomic<bool>& stop, MemoryBudget& budget,
                 int workers) {
    if (auto refused = checkSteps(job.steps)) {
        printError(*refused);
        return kUsage;
    }
    if (!QDir().mkpath(job.outDir)) {
        printError(
            QStringLiteral("cannot write %1: not a folder, or it cannot be made").arg(job.outDir));
        return kOutputUnwritable;
    }
    const int total = static_cast<int>(job.inputs.size());
    // A name taken by an earlier input fails the later ones rather than replace its picture.
    QStringList outputs;
    std::vector<QString> clashes(job.inputs.size());
    QHash<QString, QString> owners;
    for (qsizetype i = 0; i < total; ++i) {
        outputs << outputPathFor(job.outDir, job.inputs[i]);
        if (const auto owner = owners.constFind(outputs[i]); owner != owners.cend())
            clashes[i] = QStringLiteral("cannot write %1 for %2: the result of %3 goes there")
                             .arg(outputs[i], job.inputs[i], *owner);
        else
            owners.insert(outputs[i], job.inputs[i]);
    }

    Report report(total);
    const std::int64_t stretched = largestStretch(job.steps);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < total && !stop; i = next++) {
            if (!clashes[i].isEmpty()) {
                report.failed(clashes[i]);
                continue;
            }
            Reservation held(budget, needBeforeDecoding(job.inputs[i], job.steps, stretched));
            if (stop) return;
            ConvertOptions options;
            options.stop = &stop;
            // The cores are busy with other pictures: nothing to gain from a writing thread.
            options.writeBehind = false;
            options.decoded = [&](QSize size) {
                if (!bandPlan(job.steps))
                    held.change(
                        workingBytes(std::int64_t{size.width()} * size.height(), stretched));
            };
            const Outcome outcome = convertPicture(job.inputs[i], outputs[i], job.steps, options);
            if (outcome.interrupted) return;
            if (outcome.code == kOk)
                report.written();
            else
                report.failed(outcome.message);
        }
    };
    {
        std::vector<std::jthread> threads;
        for (int w = 1; w < std::min(workers, total); ++w) threads.emplace_back(work);
        work();
    }
    report.summary(stop);
    return report.failures() > 0 ? kSomeFailed : kOk;
}

}  // namespace nt::cli
