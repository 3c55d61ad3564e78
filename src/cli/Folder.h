#pragma once

#include <atomic>

#include "cli/CommandLine.h"
#include "cli/MemoryBudget.h"

namespace nt::cli {

// Runs a folder job: its steps on every input, a worker per processor core, one picture per
// worker within the memory budget. Failures are reported on standard error as they happen and
// the others go on; a progress line shows on a terminal; the summary goes to standard output.
// Returns the exit status (see usageText).
int runFolderJob(const FolderJob& job, const std::atomic<bool>& stop);
// The same within `budget`, on `workers` threads.
int runFolderJob(const FolderJob& job, const std::atomic<bool>& stop, MemoryBudget& budget,
                 int workers);

// What a picture may hold while it is made, as a folder run reserves it: exact for an
// uncompressed BMP (from its header), else the largest picture the reader accepts.
std::int64_t memoryNeed(const QString& input, const std::vector<Step>& steps);

// The file each input is written to: DIR/NAME.png for a PNG file NAME.EXT (by its content),
// DIR/NAME.bmp for any other.
QString outputPathFor(const QString& outDir, const QString& input);

}  // namespace nt::cli
