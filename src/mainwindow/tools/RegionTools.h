#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// The rectangular selection: each move spans the rectangle from the press point to the
// pointer and shows it. On an axis where the pointer is level with the press point the
// rectangle keeps its previous position and extent.
class SelectTool : public Tool {
  public:
    // The rectangle a move gives, from the one shown before.
    static QRectF follow(const QRectF& previous, double startX, double startY, double x, double y);

    void move(ToolContext& ctx, const PointerEvent& e) override;
};

// The clone stamp. An Alt press sets the source and centres the marker on it; so does a Ctrl
// press, for desktops whose window manager takes every Alt press to move windows. The first
// move after that fixes the offset from source to pointer and draws nothing; every further
// move copies a marker-sized block of the canvas from the source to the pointer, on the canvas
// itself, so what was stamped earlier can be copied again. The offset holds until the next
// source is set.
class CloneStampTool : public Tool {
  public:
    static constexpr int kAltAlone = 4;
    static constexpr int kCtrlAlone = 2;

    void press(ToolContext& ctx, const PointerEvent& e) override;
    void move(ToolContext& ctx, const PointerEvent& e) override;
};

}  // namespace nt::tools
