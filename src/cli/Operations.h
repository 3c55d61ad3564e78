#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <QImage>
#include <QStringList>

#include "imageops/Random.h"

namespace nt::cli {

// What the operations of one run share: the random generator, from its fixed start state,
// so a command line gives the same picture every time.
struct RunState {
    UniformRandom random;
    // Only the arguments are checked (a folder run refuses bad ones before its first file);
    // the picture is a stand-in and may be left as it is.
    bool checkOnly = false;
};

inline constexpr int kWholePicture = -1;

// One whole-picture operation of the batch tool: its name on the command line, how many
// arguments follow it there, what they are, and what it does (the reason when the
// arguments are unusable), with a line of help.
struct Operation {
    std::string_view name;
    int argumentCount = 0;
    std::string_view usage;
    std::string_view description;  // one line, with the ranges of the arguments
    std::optional<std::string> (*apply)(QImage& picture, const QStringList& arguments,
                                        RunState& run) = nullptr;
    // How far up and down the rows a row of the result depends on lie: 0 for the row alone,
    // kWholePicture when any row may matter. Within reach the operation may run on a band of
    // rows, widened by that many on each side, with the same result for the band's rows.
    int reach = kWholePicture;
};

// The table of operations, in the order --help lists them.
std::span<const Operation> operations();

const Operation* findOperation(const QString& name);

}  // namespace nt::cli
