#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <QImage>
#include <QStringList>

namespace nt::cli {

// One whole-picture operation of the batch tool: its name on the command line, how many
// arguments follow it there, and what it does (the reason when the arguments are unusable).
struct Operation {
    std::string_view name;
    int argumentCount = 0;
    std::optional<std::string> (*apply)(QImage& picture, const QStringList& arguments) = nullptr;
};

// The table of operations, in the order --help lists them.
std::span<const Operation> operations();

const Operation* findOperation(const QString& name);

}  // namespace nt::cli
