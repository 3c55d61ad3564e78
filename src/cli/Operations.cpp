#include "cli/Operations.h"

#include <array>

namespace nt::cli {

namespace {

// Operations plug in here as the image operations are built.
constexpr std::array<Operation, 0> kOperations{};

}  // namespace

std::span<const Operation> operations() {
    return kOperations;
}

const Operation* findOperation(const QString& name) {
    for (const Operation& op : kOperations)
        if (name == QLatin1StringView(op.name.data(), static_cast<qsizetype>(op.name.size())))
            return &op;
    return nullptr;
}

}  // namespace nt::cli
