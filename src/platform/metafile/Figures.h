#pragma once

#include <span>
#include <vector>

#include <QPointF>

namespace nt::mf {

// Figures in picture pixels: runs of `counts` points, each open or closed.
struct Figures {
    std::vector<QPointF> points;
    std::vector<int> counts;
    std::vector<char> closed;
    void add(std::span<const QPointF> figure, bool isClosed);
    bool empty() const { return counts.empty(); }
};

}  // namespace nt::mf
