#pragma once

#include <array>
#include <optional>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace nt {

// Geometry of the workspace around the canvas, all in pixels. Pure arithmetic: the main
// window applies it to its widgets.

inline constexpr int kScrollBarThickness = 18;
inline constexpr int kGripSize = 6;
inline constexpr QPoint kWorkspaceOrigin{96, 43};  // below the option strip, right of the tool box

struct WorkspaceLayout {
    QSize workspace;      // pHolder
    int toolBoxHeight;    // pTools
    QRect verticalBar;    // vBar
    QRect horizontalBar;  // hBar
    QRect cornerButton;   // pSpacer
};

// The layout for a client area; nothing when the window is too small to lay out (minimised).
std::optional<WorkspaceLayout> layoutWorkspace(QSize client, int statusBarHeight);

struct ScrollRanges {
    int horizontalMax;
    int verticalMax;
    bool horizontalEnabled() const { return horizontalMax > 0; }
    bool verticalEnabled() const { return verticalMax > 0; }
};
// Maxima = canvas side - workspace side + 18, kept inside 16 bits; `wide` keeps them inside
// the scroll bars' own range instead, for a zoomed canvas that may be larger on screen.
ScrollRanges scrollRanges(QSize canvas, QSize workspace, bool wide = false);

// Where the handles sit for a canvas of this size: pGrip 0..9 and itouch 3 (index 10 here).
// Handles that are never moved keep `previous` positions.
inline constexpr int kGripCount = 11;
inline constexpr int kTouchGrip = 10;
using GripPositions = std::array<QPoint, kGripCount>;
GripPositions layoutGrips(QSize canvas, const GripPositions& previous);
GripPositions initialGrips();

// One drag step of handle `index` (0 right edge, 1 corner, 2 bottom edge): the handle moves
// by the pointer's whole-pixel offset from its press point and the canvas edge follows,
// never below 1 pixel. Other handles change nothing.
QSize dragGrip(int index, QPoint handleTopLeft, double dx, double dy, QSize canvas);

}  // namespace nt
