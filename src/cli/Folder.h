#pragma once

#include <atomic>

#include "cli/CommandLine.h"

namespace nt::cli {

// Runs a folder job: its steps on every input, a worker per processor core, one picture per
// worker within the memory budget. Failures are reported on standard error as they happen and
// the others go on; a progress line shows on a terminal; the summary goes to standard output.
// Returns the exit status (see usageText).
int runFolderJob(const FolderJob& job, const std::atomic<bool>& stop);

// The file each input is written to: DIR/NAME.png for a PNG file NAME.EXT (by its content),
// DIR/NAME.bmp for any other.
QString outputPathFor(const QString& outDir, const QString& input);

}  // namespace nt::cli
