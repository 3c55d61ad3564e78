#pragma once

#include <variant>
#include <vector>

#include <QString>
#include <QStringList>

#include "cli/Operations.h"

namespace nt::cli {

struct Step {
    const Operation* operation = nullptr;
    QStringList arguments;
};

struct Job {
    QString input;
    QString output;
    std::vector<Step> steps;
    bool metafileStats = false;  // list the metafile records that were not drawn
};

// The same steps for every input, each written into one folder.
struct FolderJob {
    QString outDir;
    QStringList inputs;
    std::vector<Step> steps;
};

struct HelpRequest {};
struct VersionRequest {};

struct UsageError {
    QString message;
};

// Reads the arguments after the program name:
// [--metafile-stats] INPUT OUTPUT [OPERATION [ARG...]]...,
// --out-dir DIR FILE... [OPERATION [ARG...]]... (the files end at the first operation's name),
// or --help / -h or --version / -v anywhere.
std::variant<Job, FolderJob, HelpRequest, VersionRequest, UsageError> parseCommandLine(
    const QStringList& arguments);

QString usageText();

}  // namespace nt::cli
