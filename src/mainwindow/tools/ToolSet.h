#pragma once

#include <array>
#include <memory>

#include "mainwindow/DrawingState.h"
#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// The families the 22 tools fall into.
enum class Family {
    Freehand,  // pencil, star lines, free curve
    TwoPoint,  // line, rectangles, circles, ellipses, rounded rectangles, gradient
    Polygon,
    Dab,          // airbrush, magic pen, eraser: one dab per move, the first at the press
    SingleClick,  // fill, colour picker
    Region,       // selection, clone stamp, text
};

// One tool object per tool index.
class ToolSet {
  public:
    ToolSet();
    // The tool of an index, or null for "no tool" (-1) and anything out of range.
    Tool* at(int index) const;
    static Family familyOf(int index);

  private:
    std::array<std::unique_ptr<Tool>, kToolCount> tools_;
};

}  // namespace nt::tools
