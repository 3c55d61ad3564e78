#include "cli/CommandLine.h"

namespace nt::cli {

std::variant<Job, HelpRequest, VersionRequest, UsageError> parseCommandLine(
    const QStringList& given) {
    if (given.contains(QStringLiteral("--help")) || given.contains(QStringLiteral("-h")))
        return HelpRequest{};
    if (given.contains(QStringLiteral("--version")) || given.contains(QStringLiteral("-v")))
        return VersionRequest{};
    QStringList arguments = given;
    const bool metafileStats = arguments.removeAll(QStringLiteral("--metafile-stats")) > 0;
    if (arguments.size() < 2) return UsageError{QStringLiteral("INPUT and OUTPUT are required")};
    Job job{arguments[0], arguments[1], {}, metafileStats};
    for (qsizetype i = 2; i < arguments.size();) {
        const QString& name = arguments[i];
        const Operation* op = findOperation(name);
        if (!op) return UsageError{QStringLiteral("unknown operation '%1'").arg(name)};
        if (i + op->argumentCount >= arguments.size())
            return UsageError{QStringLiteral("operation '%1' needs %2 argument(s)")
                                  .arg(name)
                                  .arg(op->argumentCount)};
        job.steps.push_back({op, arguments.mid(i + 1, op->argumentCount)});
        i += 1 + op->argumentCount;
    }
    return job;
}

QString usageText() {
    QString text = QStringLiteral(
        "Usage: norvalytintora-cli [--metafile-stats] INPUT OUTPUT [OPERATION [ARG...]]...\n"
        "Reads INPUT (BMP, DIB, RLE, JPEG, GIF, ICO, CUR, WMF or EMF, recognised by content),\n"
        "applies the operations in order and writes OUTPUT as a 24-bit BMP file.\n"
        "--metafile-stats lists on standard output the records of a WMF or EMF INPUT that\n"
        "were not drawn, with their counts.\n"
        "\n"
        "Exit status: 0 success, 1 usage error, 2 INPUT cannot be read, 3 OUTPUT cannot be "
        "written.\n"
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
        "\n  -h, --help             show this help and exit\n"
        "  -v, --version          show the version and exit\n");
    return text;
}

}  // namespace nt::cli
