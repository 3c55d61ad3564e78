#include "document/Workspace.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace nt {

std::optional<WorkspaceLayout> layoutWorkspace(QSize client, int statusBarHeight) {
    const int w = client.width() - kWorkspaceOrigin.x();
    const int h = client.height() - statusBarHeight - kWorkspaceOrigin.y();
    // A minimised or tiny window has nothing to lay out; the previous layout stays.
    if (w < kScrollBarThickness || h < kScrollBarThickness) return std::nullopt;
    WorkspaceLayout l;
    l.workspace = QSize(w, h);
    l.toolBoxHeight = h + 2;
    const int t = kScrollBarThickness;
    l.verticalBar = QRect(w - t, 0, t, h - t);
    l.horizontalBar = QRect(0, h - t, w - t, t);
    l.cornerButton = QRect(w - t, h - t, t, t);
    return l;
}

namespace {
int toInt16(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -32768, 32767));
}
}  // namespace

ScrollRanges scrollRanges(QSize canvas, QSize workspace, bool wide) {
    const auto maximum = [wide](int canvasSide, int workspaceSide) {
        const long long m =
            static_cast<long long>(canvasSide) - workspaceSide + kScrollBarThickness;
        return wide ? static_cast<int>(std::clamp<long long>(m, INT_MIN, INT_MAX)) : toInt16(m);
    };
    return {maximum(canvas.width(), workspace.width()),
            maximum(canvas.height(), workspace.height())};
}

GripPositions initialGrips() {
    GripPositions g{};
    g.fill(QPoint(0, 0));
    return g;
}

GripPositions layoutGrips(QSize canvas, const GripPositions& previous) {
    GripPositions g = previous;
    const int W = canvas.width(), H = canvas.height();
    g[0] = QPoint(W, (H - kGripSize) / 2);
    g[1] = QPoint(W, H);
    g[2] = QPoint((W - kGripSize) / 2, H);
    g[3] = QPoint(g[2].x(), previous[3].y());
    g[kTouchGrip] = QPoint(W, previous[kTouchGrip].y());
    g[6] = QPoint(previous[6].x(), H);
    g[8] = QPoint(previous[8].x(), (H - kGripSize) / 2);
    return g;
}

QSize dragGrip(int index, QPoint handle, double dx, double dy, QSize canvas) {
    const auto whole = [](double d) {
        if (!std::isfinite(d)) return 0LL;
        return static_cast<long long>(std::clamp(std::trunc(d), -1e9, 1e9));
    };
    const auto atLeastOne = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, 1, 1'000'000'000));
    };
    switch (index) {
        case 0:
            return QSize(atLeastOne(handle.x() + whole(dx)), canvas.height());
        case 1:
            return QSize(atLeastOne(handle.x() + whole(dx)), atLeastOne(handle.y() + whole(dy)));
        case 2:
            return QSize(canvas.width(), atLeastOne(handle.y() + whole(dy)));
        default:
            return canvas;
    }
}

}  // namespace nt
