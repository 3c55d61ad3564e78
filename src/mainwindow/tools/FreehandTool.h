#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// Strokes that go into the picture at once, move by move: the pencil, the free curve (a
// pencil stroke closed by a straight line back to its start at the release) and the star
// lines (every move adds a ray from the press point).
class FreehandTool : public Tool {
  public:
    enum class Kind { Pencil, FreeCurve, StarLines };
    explicit FreehandTool(Kind kind) : kind_(kind) {}

    void press(ToolContext& ctx, const PointerEvent& e) override;
    void move(ToolContext& ctx, const PointerEvent& e) override;
    void release(ToolContext& ctx, const PointerEvent& e) override;
    bool movesOnPress() const override { return kind_ == Kind::Pencil; }

  private:
    Kind kind_;
};

}  // namespace nt::tools
