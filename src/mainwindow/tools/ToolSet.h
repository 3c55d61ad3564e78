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

// A tool whose steps are not built yet: it keeps its family's place in the pipeline (the
// dab tools already get their move at the press) and draws nothing.
class PendingTool : public Tool {
  public:
    explicit PendingTool(bool movesOnPress) : movesOnPress_(movesOnPress) {}
    bool movesOnPress() const override { return movesOnPress_; }

  private:
    bool movesOnPress_;
};

// One tool object per tool index.
class ToolSet {
  public:
    ToolSet();
    // The tool of an index, or null for "no tool" (-1) and anything out of range.
    Tool* at(int index) const;
    static Family familyOf(int index);
    // Whether the tool's steps are built (false for the PendingTool slots).
    bool isBuilt(int index) const;

  private:
    std::array<std::unique_ptr<Tool>, kToolCount> tools_;
};

}  // namespace nt::tools
