#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// An open chain of edges: the first press sets a dot, each later press joins the last vertex
// to the press point, each release adds the edge from the press point to the release point,
// which becomes the last vertex. A double click on the canvas ends the chain.
class PolygonTool : public Tool {
  public:
    void press(ToolContext& ctx, const PointerEvent& e) override;
    void move(ToolContext& ctx, const PointerEvent& e) override;
    void release(ToolContext& ctx, const PointerEvent& e) override;
};

}  // namespace nt::tools
