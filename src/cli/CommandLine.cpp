#include "cli/CommandLine.h"

namespace nt::cli {

namespace {

// The operations from arguments[from] on.
std::variant<std::vector<Step>, UsageError> parseSteps(const QStringList& arguments,
                                                       qsizetype from) {
    std::vector<Step> steps;
    for (qsizetype i = from; i < arguments.size();) {
        const QString& name = arguments[i];
        const Operation* op = findOperation(name);
        if (!op) return UsageError{QStringLiteral("unknown operation '%1'").arg(name)};
        if (i + op->argumentCount >= arguments.size())
            return UsageError{QStringLiteral("operation '%1' needs %2 argument(s)")
                                  .arg(name)
                                  .arg(op->argumentCount)};
        steps.push_back({op, arguments.mid(i + 1, op->argumentCount)});
        i += 1 + op->argumentCount;
    }
    return steps;
}

std::variant<Job, FolderJob, HelpRequest, VersionRequest, UsageError> parseFolderJob(
    QStringList arguments, qsizetype at, bool metafileStats) {
    if (at + 1 >= arguments.size()) return UsageError{QStringLiteral("--out-dir needs a folder")};
    if (metafileStats)
        return UsageError{QStringLiteral("--metafile-stats takes a single INPUT, not --out-dir")};
    FolderJob job;
    job.outDir = arguments[at + 1];
    arguments.remove(at, 2);
    qsizetype first = 0;
    while (first < arguments.size() && !findOperation(arguments[first])) ++first;
    job.inputs = arguments.mid(0, first);
    if (job.inputs.isEmpty()) return UsageError{QStringLiteral("--out-dir DIR needs FILEs")};
    auto steps = parseSteps(arguments, first);
    if (auto* error = std::get_if<UsageError>(&steps)) return *error;
    job.steps = std::get<std::vector<Step>>(std::move(steps));
    return job;
}

}  // namespace

std::variant<Job, FolderJob, HelpRequest, VersionRequest, UsageError> parseCommandLine(
    const QStringList& given) {
    if (given.contains(QStringLiteral("--help")) || given.contains(QStringLiteral("-h")))
        return HelpRequest{};
    if (given.contains(QStringLiteral("--version")) || given.contains(QStringLiteral("-v")))
        return VersionRequest{};
    QStringList arguments = given;
    const bool metafileStats = arguments.removeAll(QStringLiteral("--metafile-stats")) > 0;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--out-dir")); at >= 0)
        return parseFolderJob(arguments, at, metafileStats);
    if (arguments.size() < 2) return UsageError{QStringLiteral("INPUT and OUTPUT are required")};
    auto steps = parseSteps(arguments, 2);
    if (auto* error = std::get_if<UsageError>(&steps)) return *error;
    return Job{arguments[0], arguments[1], std::get<std::vector<Step>>(std::move(steps)),
               metafileStats};
}

QString usageText() {
    QString text = QStringLiteral(
        "Usage: norvalytintora-cli [--metafile-stats] INPUT OUTPUT [OPERATION [ARG...]]...\n"
        "       norvalytintora-cli --out-dir DIR FILE... [OPERATION [ARG...]]...\n"
        "Reads INPUT (BMP, DIB, RLE, JPEG, GIF, PNG, ICO, CUR, WMF or EMF, recognised by\n"
        "content), applies the operations in order and writes OUTPUT as a 24-bit PNG file when\n"
        "its name ends in .png, as a 24-bit BMP file otherwise.\n"
        "--out-dir does the same to every FILE (the list ends at the first operation's name),\n"
        "a picture per processor core, and writes DIR/NAME.png for a PNG FILE NAME.EXT,\n"
        "DIR/NAME.bmp for any other, replacing what is there (DIR is made when missing).\n"
        "A FILE that fails is reported with its reason and the others go on; a progress line\n"
        "shows on a terminal, a summary at the end.\n"
        "--metafile-stats lists on standard output the records of a WMF or EMF INPUT that\n"
        "were not drawn, with their counts.\n"
        "Every file is written under a temporary name and renamed into place when complete:\n"
        "Ctrl+C stops the run and leaves no partly written picture.\n"
        "\n"
        "Exit status: 0 success, 1 usage error, 2 INPUT cannot be read, 3 OUTPUT or DIR cannot "
        "be written,\n"
        "4 one or more FILEs failed (--out-dir), 130 interrupted by Ctrl+C (143 by SIGTERM).\n"
        "\n"
        "Operations:\n");
    const auto latin1 = [](std::string_view v) {
        return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
    };
    for (const Operation& op : operations()) {
        const QString call = (latin1(op.name) + u' ' + latin1(op.usage)).trimmed();
        text += QStringLiteral("  %1 %2\n").arg(call, -22).arg(latin1(op.description));
    }
    text += QStringLiteral(
        "\n  --out-dir DIR          write every FILE's result into folder DIR\n"
        "  -h, --help             show this help and exit\n"
        "  -v, --version          show the version and exit\n");
    return text;
}

}  // namespace nt::cli
