// The batch tool: converts picture files to BMP, applying whole-picture operations on the way,
// one file or a folder's worth, for scripts and benchmarks. No widgets.

#include <cstdio>
#include <memory>

#include <QFile>
#include <QGuiApplication>

#include "cli/CommandLine.h"
#include "cli/Convert.h"
#include "cli/Folder.h"
#include "cli/Interrupt.h"
#include "globals/Version.h"
#include "platform/metafile/Metafile.h"

namespace {

using namespace nt::cli;

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

int runJob(const Job& job, const std::atomic<bool>& stop) {
    if (job.metafileStats) printMetafileStats(job.input);
    ConvertOptions options;
    options.stop = &stop;
    const Outcome outcome = convertPicture(job.input, job.output, job.steps, options);
    if (!outcome.message.isEmpty()) printError(outcome.message);
    return outcome.code;
}

// Only metafile text needs the font system, hence a GUI application (on the offscreen
// platform: no display needed); the start-up it costs is left out for every other picture.
bool needsFonts(const QStringList& inputs, const std::vector<Step>& steps) {
    for (const QString& input : inputs)
        if (isMetafile(input)) return true;
    for (const Step& step : steps)
        if (step.operation->name == "mask" && isMetafile(step.arguments[0])) return true;
    return false;
}

// Qt's own warnings (a missing XDG_RUNTIME_DIR, font set-up) say nothing about the pictures;
// standard error carries the tool's messages alone.
void dropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) printError(message);
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(dropQtMessages);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const auto parsed = parseCommandLine(arguments);
    if (std::holds_alternative<HelpRequest>(parsed)) {
        std::fputs(qPrintable(usageText()), stdout);
        return kOk;
    }
    if (std::holds_alternative<VersionRequest>(parsed)) {
        std::printf("norvalytintora-cli %s\n", nt::kVersion);
        return kOk;
    }
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        printError(usage->message);
        std::fputs(qPrintable(usageText()), stderr);
        return kUsage;
    }
    const auto* job = std::get_if<Job>(&parsed);
    const auto* folder = std::get_if<FolderJob>(&parsed);
    std::unique_ptr<QGuiApplication> app;
    if (needsFonts(job ? QStringList{job->input} : folder->inputs,
                   job ? job->steps : folder->steps)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    const InterruptWatch interrupt;
    const int status =
        job ? runJob(*job, interrupt.flag()) : runFolderJob(*folder, interrupt.flag());
    return interrupt.flag() ? interrupt.exitStatus() : status;
}
