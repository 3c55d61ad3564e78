#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// Flood fill at the press: every pixel 4-connected to the press point that has exactly its
// colour takes the drawing colour, or in pattern mode the chosen pattern tiled from the
// canvas's origin. Pattern mode without a pattern fills with the drawing colour.
class FillTool : public Tool {
  public:
    void press(ToolContext& ctx, const PointerEvent& e) override;
};

// Takes the colour under the pointer into palette colour 1 (left button) or 2 (right), at
// the press and on every move while exactly that button is held. Draws nothing; a point
// off the canvas leaves the palette as it is.
class PickerTool : public Tool {
  public:
    void press(ToolContext& ctx, const PointerEvent& e) override;
    void move(ToolContext& ctx, const PointerEvent& e) override;
};

}  // namespace nt::tools
