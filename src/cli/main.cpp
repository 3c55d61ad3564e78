// The batch tool: converts one picture file to BMP, applying whole-picture operations on the
// way, for scripts and benchmarks. No widgets.

#include <cstdio>

#include <QCoreApplication>

#include "cli/CommandLine.h"
#include "globals/Version.h"
#include "platform/Picture.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kInputUnreadable = 2, kOutputUnwritable = 3 };

void printError(const QString& message) {
    std::fprintf(stderr, "norvalytintora-cli: %s\n", qPrintable(message));
}

int run(const nt::cli::Job& job) {
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
    QCoreApplication app(argc, argv);
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
