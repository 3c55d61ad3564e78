// The batch tool: converts one picture file to BMP, applying whole-picture operations on the
// way, for scripts and benchmarks. No widgets.

#include <cstdio>

#include <QFile>
#include <QGuiApplication>

#include "cli/CommandLine.h"
#include "globals/Version.h"
#include "platform/Picture.h"
#include "platform/metafile/Metafile.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kInputUnreadable = 2, kOutputUnwritable = 3 };

void printError(const QString& message) {
    std::fprintf(stderr, "norvalytintora-cli: %s\n", qPrintable(message));
}

// The records of a metafile that were not drawn, one "name count" line each.
void printMetafileStats(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    const nt::Bytes data(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    if (nt::mf::detect(data) == nt::mf::Kind::None) return;
    nt::mf::Stats stats;
    nt::mf::decode(data, &stats);
    std::printf("records %lld\n", static_cast<long long>(stats.records));
    for (const auto& [name, count] : stats.skipped)
        std::printf("skipped %s %lld\n", name.c_str(), static_cast<long long>(count));
    std::printf("work per pixel %.1f\n", stats.workPerPixel);
    if (stats.stoppedEarly) std::printf("stopped early\n");
}

int run(const nt::cli::Job& job) {
    if (job.metafileStats) printMetafileStats(job.input);
    auto loaded = nt::loadPicture(job.input);
    if (auto* error = std::get_if<nt::PictureError>(&loaded)) {
        printError(QStringLiteral("cannot read %1: %2")
                       .arg(job.input, QString::fromStdString(error->reason)));
        return kInputUnreadable;
    }
    QImage picture = std::get<QImage>(std::move(loaded));
    nt::cli::RunState state;
    for (const nt::cli::Step& step : job.steps) {
        if (auto refused = step.operation->apply(picture, step.arguments, state)) {
            const auto& name = step.operation->name;
            printError(QStringLiteral("%1: %2").arg(
                QLatin1StringView(name.data(), static_cast<qsizetype>(name.size())),
                QString::fromStdString(*refused)));
            return kUsage;
        }
    }
    if (auto error = nt::savePictureBmp(picture, job.output)) {
        printError(QStringLiteral("cannot write %1: %2")
                       .arg(job.output, QString::fromStdString(error->reason)));
        return kOutputUnwritable;
    }
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    // Metafile text needs the font system, hence a GUI application; the batch tool runs
    // without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto parsed = nt::cli::parseCommandLine(app.arguments().mid(1));
    if (std::holds_alternative<nt::cli::HelpRequest>(parsed)) {
        std::fputs(qPrintable(nt::cli::usageText()), stdout);
        return kOk;
    }
    if (std::holds_alternative<nt::cli::VersionRequest>(parsed)) {
        std::printf("norvalytintora-cli %s\n", nt::kVersion);
        return kOk;
    }
    if (const auto* usage = std::get_if<nt::cli::UsageError>(&parsed)) {
        printError(usage->message);
        std::fputs(qPrintable(nt::cli::usageText()), stderr);
        return kUsage;
    }
    return run(std::get<nt::cli::Job>(parsed));
}
