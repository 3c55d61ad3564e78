#pragma once

#include "mainwindow/tools/Tool.h"

namespace nt::tools {

// The text tool: the release asks for the text (the text dialog) and, when it is accepted,
// draws it with its top-left at the release point in the drawing colour, in the chosen font,
// size and style; with the shadow style a second copy follows at (+2, +2) in palette colour
// 2, over the first. Text with line breaks is drawn line under line.
class TextTool : public Tool {
  public:
    void release(ToolContext& ctx, const PointerEvent& e) override;
};

}  // namespace nt::tools
