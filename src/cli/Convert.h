#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include <QSize>
#include <QString>

#include "cli/CommandLine.h"

namespace nt::cli {

enum ExitCode {
    kOk = 0,
    kUsage = 1,
    kInputUnreadable = 2,
    kOutputUnwritable = 3,
    kSomeFailed = 4,  // a folder run in which a file failed
};

// What converting one picture came to: the exit status it earns and, when it failed, the
// whole message ("cannot read IN: reason"). An interrupted conversion has neither.
struct Outcome {
    int code = kOk;
    QString message;
    bool interrupted = false;
};

struct ConvertOptions {
    const std::atomic<bool>* stop = nullptr;  // looked at between bands
    bool writeBehind = true;                  // write on a second thread (see BandSink)
    std::function<void(QSize)> decoded;       // told the picture's size once it is decoded
};

// Reads `input`, applies the steps with a fresh RunState, and writes `output` atomically as a
// 24-bit PNG file when its name ends in ".png", as a 24-bit BMP file otherwise. An uncompressed BMP
// under operations that keep to their rows or near them goes through a band at a time, never
// whole in memory.
Outcome convertPicture(const QString& input, const QString& output, const std::vector<Step>& steps,
                       const ConvertOptions& options);

// The steps as they run on bands of an uncompressed BMP: how many rows above and below a band
// they need together, and whether the rows go out in the opposite order (the mirrors top to
// bottom, which are then left out); nothing when a step needs the whole picture.
struct BandPlan {
    std::vector<Step> steps;
    int reach = 0;
    bool upsideDown = false;
};
std::optional<BandPlan> bandPlan(const std::vector<Step>& steps);

// Runs the steps' argument checks alone; the refusal as a whole message.
std::optional<QString> checkSteps(const std::vector<Step>& steps);

// Whether decoding `path` needs the font system: a WMF or EMF file (their text).
bool isMetafile(const QString& path);

}  // namespace nt::cli
